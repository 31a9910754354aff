#pragma once

#include <QString>

// The format function around a value field: FFIX(ekBetrag, 2) and its kin.
struct FormatFunction
{
    enum class Kind { None, NoFormat, Exp, Fix, Num, Cur, FixR, NumR, Img, Lnk, Dtm, Bool, Rtf };

    Kind kind = Kind::None;
    QString name;          // as written, upper-cased
    QString valueText;     // the value expression
    QString parameter;     // the optional last argument, as written
    int precision = -1;    // w of "w:d", -1 when not given
    int digits = -1;       // p, or d of "w:d", -1 when not given

    // Splits a field's cleaned content; Kind::None when it is no format function call.
    // Throws the format function messages for wrong argument counts, brackets and parameters.
    static FormatFunction parse(const QString &content);

    bool isNumberFormat() const;
};
