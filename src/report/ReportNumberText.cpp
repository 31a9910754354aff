#include "report/ReportNumberText.h"

#include "core/DecimalText.h"
#include "core/GermanFormat.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace ReportNumberText {

namespace {

bool nonFinite(double value, QString *out)
{
    if (std::isnan(value)) {
        *out = QStringLiteral("NAN");
        return true;
    }
    if (std::isinf(value)) {
        *out = value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
        return true;
    }
    return false;
}

// Significant digits (rounded to `precision`) and the decimal exponent of the first digit.
void digitsOf(double value, int precision, std::string &digits, int &exponent)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific,
                                   std::max(0, precision - 1));
    const std::string s(buf, res.ptr);
    const auto e = s.find('e');
    digits.clear();
    for (char c : s.substr(0, e))
        if (c >= '0' && c <= '9')
            digits.push_back(c);
    exponent = std::stoi(s.substr(e + 1));
}

QString groupDigits(const QString &digits)
{
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += GermanFormat::ThousandsSeparator;
        out += digits[i];
    }
    return out;
}

struct PictureSection
{
    QString prefix, suffix;
    int intZeros = 0;       // '0' before the decimal point
    int fracZeros = 0;      // '0' after it
    int fracHashes = 0;     // '#' after it
    bool hasPoint = false, thousands = false;
    bool exponent = false, exponentPlus = false;
    int exponentDigits = 0;
    bool hasDigits = false;
};

PictureSection parseSection(const QString &s)
{
    PictureSection p;
    bool inNumber = false, afterNumber = false;
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n) {
        const QChar c = s[i];
        if (c == u'"' || c == u'\'') {
            const qsizetype end = s.indexOf(c, i + 1);
            const QString lit = end < 0 ? s.mid(i + 1) : s.mid(i + 1, end - i - 1);
            (inNumber || afterNumber ? p.suffix : p.prefix) += lit;
            if (inNumber) {
                inNumber = false;
                afterNumber = true;
            }
            i = end < 0 ? n : end + 1;
            continue;
        }
        if (!afterNumber && (c == u'0' || c == u'#' || c == u'.' || c == u',')) {
            inNumber = true;
            p.hasDigits = p.hasDigits || c == u'0' || c == u'#';
            if (c == u'.')
                p.hasPoint = true;
            else if (c == u',')
                p.thousands = true;
            else if (p.hasPoint)
                (c == u'0' ? p.fracZeros : p.fracHashes) += 1;
            else if (c == u'0')
                ++p.intZeros;
            ++i;
            continue;
        }
        if (inNumber && (c == u'E' || c == u'e') && i + 1 < n && (s[i + 1] == u'+' || s[i + 1] == u'-')) {
            p.exponent = true;
            p.exponentPlus = s[i + 1] == u'+';
            i += 2;
            while (i < n && s[i] == u'0') {
                ++p.exponentDigits;
                ++i;
            }
            inNumber = false;
            afterNumber = true;
            continue;
        }
        if (inNumber) {
            inNumber = false;
            afterNumber = true;
        }
        (afterNumber ? p.suffix : p.prefix) += c;
        ++i;
    }
    return p;
}

QString applySection(const PictureSection &p, double magnitude)
{
    if (!p.hasDigits)
        return p.prefix + p.suffix;
    const int maxDecimals = std::min(p.fracZeros + p.fracHashes, 40);
    QString body;
    if (p.exponent) {
        int exp = 0;
        double m = magnitude;
        if (m != 0.0) {
            exp = static_cast<int>(std::floor(std::log10(m)));
            const int lead = std::max(1, p.intZeros);
            exp -= lead - 1;
            m = magnitude / std::pow(10.0, exp);
        }
        const DecimalText d = DecimalText::fromDouble(m, maxDecimals);
        body = d.integerDigits;
        QString frac = d.fractionDigits;
        while (frac.size() > p.fracZeros && frac.endsWith(u'0'))
            frac.chop(1);
        if (!frac.isEmpty())
            body += GermanFormat::DecimalSeparator + frac;
        QString e = QString::number(std::abs(exp)).rightJustified(std::max(1, p.exponentDigits), u'0');
        body += u'E' + QString(exp < 0 ? QStringLiteral("-") : (p.exponentPlus ? QStringLiteral("+") : QString())) + e;
        return p.prefix + body + p.suffix;
    }
    const DecimalText d = DecimalText::fromDouble(magnitude, maxDecimals);
    QString intDigits = d.integerDigits;
    if (intDigits == u"0" && p.intZeros == 0)
        intDigits.clear();
    if (intDigits.size() < p.intZeros)
        intDigits = intDigits.rightJustified(p.intZeros, u'0');
    if (p.thousands)
        intDigits = groupDigits(intDigits);
    QString frac = d.fractionDigits;
    while (frac.size() > p.fracZeros && frac.endsWith(u'0'))
        frac.chop(1);
    body = intDigits;
    if (!frac.isEmpty())
        body += GermanFormat::DecimalSeparator + frac;
    if (body.isEmpty())
        body = QStringLiteral("0");
    return p.prefix + body + p.suffix;
}

// Splits at ";" outside quotes.
QStringList sections(const QString &pattern)
{
    QStringList out;
    QString cur;
    QChar quote;
    for (QChar c : pattern) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u';') {
            out << cur;
            cur.clear();
            continue;
        }
        cur += c;
    }
    out << cur;
    return out;
}

} // namespace

QString general(double value, QChar decimalSeparator)
{
    QString special;
    if (nonFinite(value, &special))
        return special;
    if (value == 0.0)
        return QStringLiteral("0");
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    std::string s(buf);
    const auto e = s.find('e');
    std::string mantissa = e == std::string::npos ? s : s.substr(0, e);
    QString out = QString::fromStdString(mantissa);
    out.replace(u'.', decimalSeparator);
    if (e != std::string::npos) {
        const int exp = std::stoi(s.substr(e + 1));
        out += u'E' + QString::number(exp);
    }
    return out;
}

QString scientific(double value, int precision, int exponentDigits, QChar decimalSeparator)
{
    QString special;
    if (nonFinite(value, &special))
        return special;
    precision = std::clamp(precision, 1, 40);
    exponentDigits = std::clamp(exponentDigits, 0, 10);
    std::string digits;
    int exponent = 0;
    if (value == 0.0) {
        digits = "0";
    } else {
        digitsOf(value, std::min(precision, 17), digits, exponent);
    }
    digits.resize(static_cast<size_t>(precision), '0');
    QString out;
    if (std::signbit(value) && value != 0.0)
        out += u'-';
    out += QChar(digits[0]);
    if (precision > 1)
        out += decimalSeparator + QString::fromLatin1(digits.data() + 1, precision - 1);
    out += u'E';
    out += exponent < 0 ? u'-' : u'+';
    out += QString::number(std::abs(exponent)).rightJustified(exponentDigits, u'0');
    return out;
}

QString picture(const QString &pattern, double value)
{
    QString special;
    if (nonFinite(value, &special))
        return special;
    const QStringList parts = sections(pattern);
    if (value == 0.0 && parts.size() >= 3 && !parts[2].isEmpty())
        return applySection(parseSection(parts[2]), 0.0);
    if (value < 0 && parts.size() >= 2 && !parts[1].isEmpty())
        return applySection(parseSection(parts[1]), -value);
    const QString text = applySection(parseSection(parts[0]), std::fabs(value));
    if (value < 0 && !allDigitsZero(text))
        return u'-' + text;
    return text;
}

QString withDashes(const QString &formatted)
{
    const qsizetype sep = formatted.lastIndexOf(GermanFormat::DecimalSeparator);
    if (sep < 0)
        return formatted + u'=';
    const QString decimals = formatted.mid(sep + 1);
    bool zero = true;
    for (QChar c : decimals)
        if (c.isDigit() && c != u'0')
            zero = false;
    if (zero)
        return formatted.left(sep) + u'=';
    return formatted.left(sep) + u'-' + decimals;
}

QString german(double value, int decimals, bool grouped)
{
    if (!std::isfinite(value) || decimals < 0 || decimals > 30 || std::fabs(value) >= 1e17)
        return grouped ? GermanFormat::number(value, decimals) : GermanFormat::fixed(value, decimals);
    // Shortest round-trip digits, rounded half away from zero at `decimals`, exactly as
    // DecimalText does it.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
    char digits[40];
    int count = 0;
    const char *p = buf;
    for (; p < res.ptr && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            digits[count++] = *p;
    int exp10 = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, exp10);
    const int pointAt = exp10 + 1;   // digits before the decimal point

    // All digits laid out: integer part then `decimals` fraction digits, plus one guard.
    char laid[128];
    const int intLen = std::max(pointAt, 1);
    const int total = intLen + decimals;
    auto digitAt = [&](int pos) -> char {   // pos relative to the first integer digit
        const int index = pos - (intLen - pointAt);
        return index >= 0 && index < count ? digits[index] : '0';
    };
    for (int i = 0; i < total; ++i)
        laid[i] = digitAt(i);
    bool roundUp = false;
    {
        const int next = total - (intLen - pointAt);   // index into digits of the first dropped digit
        if (next >= 0 && next < count)
            roundUp = digits[next] >= '5';
    }
    int start = 0;
    char carried[130];
    if (roundUp) {
        int i = total - 1;
        while (i >= 0 && laid[i] == '9') {
            laid[i] = '0';
            --i;
        }
        if (i >= 0) {
            ++laid[i];
        } else {
            carried[0] = '1';
            std::copy(laid, laid + total, carried + 1);
            std::copy(carried, carried + total + 1, laid);
            start = -1;
        }
    }
    const int intDigits = intLen + (start < 0 ? 1 : 0);
    int first = 0;
    while (first < intDigits - 1 && laid[first] == '0')
        ++first;
    bool zero = true;
    for (int i = 0; i < intDigits + decimals; ++i)
        zero = zero && laid[i] == '0';

    char16_t out[200];
    int n = 0;
    if (value < 0 && !zero)
        out[n++] = u'-';
    const int shown = intDigits - first;
    for (int i = 0; i < shown; ++i) {
        if (grouped && i > 0 && (shown - i) % 3 == 0)
            out[n++] = u'.';
        out[n++] = static_cast<char16_t>(laid[first + i]);
    }
    if (decimals > 0) {
        out[n++] = u',';
        for (int i = 0; i < decimals; ++i)
            out[n++] = static_cast<char16_t>(laid[intDigits + i]);
    }
    return QString(reinterpret_cast<const QChar *>(out), n);
}

QString germanCurrency(double value, int decimals)
{
    QString text = german(value, decimals, true);
    text += GermanFormat::NoBreakSpace;
    text += GermanFormat::CurrencySymbol;
    return text;
}

bool allDigitsZero(const QString &formatted)
{
    for (QChar c : formatted)
        if (c.isDigit() && c != u'0')
            return false;
    return true;
}

} // namespace ReportNumberText
