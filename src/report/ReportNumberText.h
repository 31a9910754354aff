#pragma once

#include <QChar>
#include <QString>

// Number texts of templates: the general form variables and fields show, the scientific
// form, number pictures and the "12-50" / "12=" amount style of cheques and forms.
namespace ReportNumberText {

// Up to 15 significant digits, no grouping; scientific ("1,5E20") for very large or
// small values.
QString general(double value, QChar decimalSeparator);

// `precision` significant digits, at least `exponentDigits` exponent digits: "1,2345E+03".
QString scientific(double value, int precision, int exponentDigits, QChar decimalSeparator);

// FORMATFLOAT pictures: "0", "#", ".", ",", "E+"/"E-", quoted text, ";" sections.
QString picture(const QString &pattern, double value);

// "12,50" → "12-50", "12,00" → "12=", "12" → "12=".
QString withDashes(const QString &formatted);

// German fixed-point text, the same as GermanFormat::fixed/number/currency give, built
// without heap work per digit: the report writes it for every money column of every row.
QString german(double value, int decimals, bool grouped);
QString germanCurrency(double value, int decimals);

// True when every digit of the text is zero (or it has no digit).
bool allDigitsZero(const QString &formatted);

} // namespace ReportNumberText
