#include "core/Money.h"

#include "core/AppError.h"
#include "core/DecimalText.h"

#include <QLocale>

Money Money::fromDouble(double value)
{
    const DecimalText text = DecimalText::fromDouble(value, 4, DecimalText::Rounding::HalfToEven);
    if (!qIsFinite(value))
        throw ConversionError(QStringLiteral("Der Betrag ist keine gültige Zahl"));
    if (text.integerDigits.size() > 14)
        throw ConversionError(QStringLiteral("Der Betrag %1 liegt außerhalb des gültigen Bereichs")
                                  .arg(QLocale(QLocale::German, QLocale::Germany).toString(value, 'f', 2)));
    const qint64 raw = (text.integerDigits + text.fractionDigits).toLongLong();
    return Money(text.negative ? -raw : raw);
}

double Money::toDouble() const
{
    // One correctly rounded division gives the double nearest to the decimal amount.
    return static_cast<double>(m_raw) / static_cast<double>(Scale);
}
