#pragma once

#include "core/Money.h"

#include <QDate>
#include <QString>
#include <QTime>

// German display and input formats in one place, independent of the machine's locale, so
// users and tests see the same text everywhere.
namespace GermanFormat {

inline constexpr QChar DecimalSeparator = u',';
inline constexpr QChar ThousandsSeparator = u'.';
inline constexpr QChar NoBreakSpace = QChar(0x00A0);
inline const QString CurrencySymbol = QStringLiteral("€");

// "1.234,56 €" with a no-break space before the symbol; negative "-1.234,56 €".
QString currency(Money amount, int decimals = 2);
QString currency(double amount, int decimals = 2);

// Thousands separators and a decimal comma ("%n"): 1234.5 → "1.234,50".
QString number(double value, int decimals = 2);
// "%W.Dn": like number(), padded with leading blanks to at least `width` characters.
QString number(double value, int width, int decimals);
// No thousands separators ("%f"): 1234.5 → "1234,50".
QString fixed(double value, int decimals = 2);

QString shortDate(const QDate &date);   // dd.MM.yyyy, empty for an invalid date
QString longDate(const QDate &date);    // "Mittwoch, 9. Dezember 2026"
QString shortTime(const QTime &time);   // HH:mm

QString longDayName(int dayOfWeek);     // 1 = Montag … 7 = Sonntag
QString shortDayName(int dayOfWeek);    // "Mo" …
QString longMonthName(int month);       // 1 = Januar …
QString shortMonthName(int month);      // "Jan" …

// Readers for typed values. Surrounding blanks are ignored. Each throws ConversionError
// with its German message ("'%s' ist kein gültiges Datum" and so on) quoting the input.
// d.M.yyyy, d.M.yy, also with '/' or '-', and yyyy-MM-dd. A two-digit year falls into
// 1950–2049 ("31.12.49" is 2049, "1.1.50" is 1950), wherever a date is read.
QDate parseDate(const QString &text);
QTime parseTime(const QString &text);           // H:mm or H:mm:ss
int parseInteger(const QString &text);
double parseFloat(const QString &text);         // decimal comma, optional thousands points
// Amounts as people type them and banks write them, exact to the ten-thousandth:
// "1.200", "1.200,00", "1200,5", "-12,34", "12,34-", "+5", "1.234,56 €", "12,00 EUR". A
// point followed by other than groups of three digits is a decimal point ("12.50").
Money parseMoney(const QString &text);

// Whether amounts use the decimal comma (German) or the decimal point ("1234.56",
// "1,234.56", "-42.0"), as some exports written abroad do.
enum class DecimalMark { Comma, Point };
bool tryParseMoney(const QString &text, Money *amount, DecimalMark mark = DecimalMark::Comma);
// The two-digit year of a date as a full year: 00–49 is 20yy, 50–99 is 19yy.
int fullYear(int twoDigitYear);

bool tryParseFloat(const QString &text, double *value);
bool tryParseDate(const QString &text, QDate *date);

QString invalidDateMessage(const QString &text);
QString invalidIntegerMessage(const QString &text);
QString invalidFloatMessage(const QString &text);

} // namespace GermanFormat
