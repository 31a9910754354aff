#pragma once

#include <QString>

// A double written as the decimal number a person reads, rounded to a fixed number of
// decimals. Rounding works on the shortest decimal form of the double (1.005 is "1.005",
// not 1.00499999…), so what looks like a half is treated as a half.
struct DecimalText
{
    bool negative = false;
    QString integerDigits;   // at least "0", no sign, no grouping
    QString fractionDigits;  // exactly the requested number of decimals

    enum class Rounding { HalfAwayFromZero, HalfToEven };

    static DecimalText fromDouble(double value, int decimals,
                                  Rounding rounding = Rounding::HalfAwayFromZero);

    bool isZero() const;
};
