#include "core/GermanFormat.h"

#include "core/AppError.h"
#include "core/DecimalText.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <limits>

namespace GermanFormat {

namespace {

const std::array<const char16_t *, 7> kLongDays = {u"Montag", u"Dienstag", u"Mittwoch", u"Donnerstag",
                                                   u"Freitag", u"Samstag", u"Sonntag"};
const std::array<const char16_t *, 7> kShortDays = {u"Mo", u"Di", u"Mi", u"Do", u"Fr", u"Sa", u"So"};
const std::array<const char16_t *, 12> kLongMonths = {u"Januar", u"Februar", u"März", u"April",
                                                      u"Mai", u"Juni", u"Juli", u"August",
                                                      u"September", u"Oktober", u"November",
                                                      u"Dezember"};
const std::array<const char16_t *, 12> kShortMonths = {u"Jan", u"Feb", u"Mrz", u"Apr", u"Mai", u"Jun",
                                                       u"Jul", u"Aug", u"Sep", u"Okt", u"Nov", u"Dez"};

QString grouped(const QString &digits)
{
    QString out;
    out.reserve(digits.size() + digits.size() / 3);
    const int n = static_cast<int>(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out.append(ThousandsSeparator);
        out.append(digits.at(i));
    }
    return out;
}

QString compose(const DecimalText &d, bool group)
{
    QString out;
    if (d.negative)
        out.append(u'-');
    out.append(group ? grouped(d.integerDigits) : d.integerDigits);
    if (!d.fractionDigits.isEmpty()) {
        out.append(DecimalSeparator);
        out.append(d.fractionDigits);
    }
    return out;
}

QString name(int index, int count, const char16_t *const *names)
{
    if (index < 1 || index > count)
        return {};
    return QString::fromUtf16(names[index - 1]);
}

// The digits of a German number: optional sign, then either plain digits or digits grouped
// by thousands points, then an optional decimal comma. A lone point followed by other than
// three digits is read as a decimal point, as people type "12.50" too.
bool readNumber(const QString &input, QString *normalized)
{
    static const QRegularExpression german(
        QStringLiteral(R"(^([+-]?)(\d+|\d{1,3}(?:\.\d{3})+)?(?:,(\d*))?$)"));
    static const QRegularExpression pointDecimal(QStringLiteral(R"(^([+-]?)(\d*)\.(\d+)$)"));

    const QString text = input.trimmed();
    if (text.isEmpty())
        return false;

    auto m = german.match(text);
    if (m.hasMatch()) {
        QString intDigits = m.captured(2).remove(ThousandsSeparator);
        const QString frac = m.captured(3);
        if (intDigits.isEmpty() && frac.isEmpty())
            return false;
        *normalized = m.captured(1) + (intDigits.isEmpty() ? QStringLiteral("0") : intDigits)
                      + (frac.isEmpty() ? QString() : QStringLiteral(".") + frac);
        return true;
    }
    m = pointDecimal.match(text);
    if (m.hasMatch()) {
        const QString intDigits = m.captured(2);
        *normalized = m.captured(1) + (intDigits.isEmpty() ? QStringLiteral("0") : intDigits)
                      + QStringLiteral(".") + m.captured(3);
        return true;
    }
    return false;
}

} // namespace

QString currency(Money amount, int decimals)
{
    return currency(amount.toDouble(), decimals);
}

QString currency(double amount, int decimals)
{
    return compose(DecimalText::fromDouble(amount, decimals), true) + NoBreakSpace + CurrencySymbol;
}

QString number(double value, int decimals)
{
    return compose(DecimalText::fromDouble(value, decimals), true);
}

QString number(double value, int width, int decimals)
{
    return number(value, decimals).rightJustified(width, u' ');
}

QString fixed(double value, int decimals)
{
    return compose(DecimalText::fromDouble(value, decimals), false);
}

QString shortDate(const QDate &date)
{
    if (!date.isValid())
        return {};
    return QStringLiteral("%1.%2.%3")
        .arg(date.day(), 2, 10, QChar(u'0'))
        .arg(date.month(), 2, 10, QChar(u'0'))
        .arg(date.year(), 4, 10, QChar(u'0'));
}

QString longDate(const QDate &date)
{
    if (!date.isValid())
        return {};
    return QStringLiteral("%1, %2. %3 %4")
        .arg(longDayName(date.dayOfWeek()))
        .arg(date.day())
        .arg(longMonthName(date.month()))
        .arg(date.year());
}

QString shortTime(const QTime &time)
{
    if (!time.isValid())
        return {};
    return QStringLiteral("%1:%2").arg(time.hour(), 2, 10, QChar(u'0')).arg(time.minute(), 2, 10, QChar(u'0'));
}

QString longDayName(int dayOfWeek) { return name(dayOfWeek, 7, kLongDays.data()); }
QString shortDayName(int dayOfWeek) { return name(dayOfWeek, 7, kShortDays.data()); }
QString longMonthName(int month) { return name(month, 12, kLongMonths.data()); }
QString shortMonthName(int month) { return name(month, 12, kShortMonths.data()); }

QString invalidDateMessage(const QString &text)
{
    return QStringLiteral("'%1' ist kein gültiges Datum").arg(text);
}

QString invalidIntegerMessage(const QString &text)
{
    return QStringLiteral("'%1' ist kein gültiger Integerwert").arg(text);
}

QString invalidFloatMessage(const QString &text)
{
    return QStringLiteral("'%1' ist kein gültiger Gleitkommawert").arg(text);
}

bool tryParseDate(const QString &text, QDate *date)
{
    static const QRegularExpression german(QStringLiteral(R"(^(\d{1,2})([./-])(\d{1,2})\2(\d{4}|\d{2})$)"));
    static const QRegularExpression iso(QStringLiteral(R"(^(\d{4})-(\d{1,2})-(\d{1,2})$)"));
    const QString t = text.trimmed();
    int y = 0, m = 0, d = 0;
    if (auto g = german.match(t); g.hasMatch()) {
        d = g.captured(1).toInt();
        m = g.captured(3).toInt();
        y = g.captured(4).toInt();
        if (g.captured(4).size() == 2)
            y = fullYear(y);
    } else if (auto i = iso.match(t); i.hasMatch()) {
        y = i.captured(1).toInt();
        m = i.captured(2).toInt();
        d = i.captured(3).toInt();
    } else {
        return false;
    }
    const QDate result(y, m, d);
    if (!result.isValid() || y < 1)
        return false;
    *date = result;
    return true;
}

QDate parseDate(const QString &text)
{
    QDate date;
    if (!tryParseDate(text, &date))
        throw ConversionError(invalidDateMessage(text));
    return date;
}

QTime parseTime(const QString &text)
{
    static const QRegularExpression re(QStringLiteral(R"(^(\d{1,2}):(\d{2})(?::(\d{2}))?$)"));
    const auto m = re.match(text.trimmed());
    if (m.hasMatch()) {
        const QTime t(m.captured(1).toInt(), m.captured(2).toInt(),
                      m.captured(3).isEmpty() ? 0 : m.captured(3).toInt());
        if (t.isValid())
            return t;
    }
    throw ConversionError(QStringLiteral("'%1' ist keine gültige Zeit").arg(text));
}

int parseInteger(const QString &text)
{
    static const QRegularExpression re(QStringLiteral(R"(^[+-]?\d+$)"));
    const QString t = text.trimmed();
    if (re.match(t).hasMatch()) {
        bool ok = false;
        const qlonglong v = t.toLongLong(&ok);
        if (ok && v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max())
            return static_cast<int>(v);
    }
    throw ConversionError(invalidIntegerMessage(text));
}

bool tryParseFloat(const QString &text, double *value)
{
    QString normalized;
    if (!readNumber(text, &normalized))
        return false;
    bool ok = false;
    const double v = normalized.toDouble(&ok);
    if (!ok || !qIsFinite(v))
        return false;
    *value = v;
    return true;
}

double parseFloat(const QString &text)
{
    double v = 0;
    if (!tryParseFloat(text, &v))
        throw ConversionError(invalidFloatMessage(text));
    return v;
}

int fullYear(int twoDigitYear)
{
    return twoDigitYear + (twoDigitYear < 50 ? 2000 : 1900);
}

bool tryParseMoney(const QString &input, Money *amount, DecimalMark mark)
{
    QString t;
    t.reserve(input.size());
    for (QChar c : input)
        if (!c.isSpace() && c != NoBreakSpace && c != QChar(0x202F))
            t.append(c == QChar(0x2212) ? QChar(u'-') : c);
    if (t.endsWith(QLatin1String("EUR"), Qt::CaseInsensitive))
        t.chop(3);
    else if (t.endsWith(CurrencySymbol))
        t.chop(1);
    bool negative = false;
    if (t.startsWith(u'-') || t.startsWith(u'+')) {
        negative = t.startsWith(u'-');
        t.remove(0, 1);
    } else if (t.endsWith(u'-') || t.endsWith(u'+')) {   // some banks put the sign behind
        negative = t.endsWith(u'-');
        t.chop(1);
    }
    if (t.isEmpty())
        return false;

    const QChar decimal = mark == DecimalMark::Comma ? DecimalSeparator : QChar(u'.');
    const QChar group = mark == DecimalMark::Comma ? ThousandsSeparator : QChar(u',');
    QString whole = t, fraction;
    if (const qsizetype at = t.indexOf(decimal); at >= 0) {
        whole = t.left(at);
        fraction = t.mid(at + 1);
    } else if (mark == DecimalMark::Comma && t.count(group) == 1) {
        // "12.50" is a decimal point as typed by many; "1.200" stays twelve hundred
        const qsizetype at = t.indexOf(group);
        if (t.size() - at - 1 != 3 || at == 0 || at > 3) {
            whole = t.left(at);
            fraction = t.mid(at + 1);
        }
    }
    if (whole.contains(group)) {
        const QStringList groups = whole.split(group);
        if (groups.first().isEmpty() || groups.first().size() > 3)
            return false;
        for (qsizetype i = 1; i < groups.size(); ++i)
            if (groups.at(i).size() != 3)
                return false;
        whole.remove(group);
    }
    if (whole.isEmpty() && fraction.isEmpty())
        return false;
    auto digitsOnly = [](const QString &s) {
        return std::all_of(s.cbegin(), s.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    };
    if (!digitsOnly(whole) || !digitsOnly(fraction) || whole.size() > 14)
        return false;
    qint64 raw = 0;
    for (QChar c : std::as_const(whole))
        raw = raw * 10 + (c.unicode() - u'0');
    raw *= Money::Scale;
    qint64 scale = Money::Scale / 10;
    for (qsizetype i = 0; i < fraction.size() && i < 4; ++i, scale /= 10)
        raw += (fraction.at(i).unicode() - u'0') * scale;
    // more than four decimals: half to even, as Money rounds
    if (fraction.size() > 4) {
        const int next = fraction.at(4).unicode() - u'0';
        const bool rest = std::any_of(fraction.cbegin() + 5, fraction.cend(), [](QChar c) { return c != u'0'; });
        if (next > 5 || (next == 5 && (rest || raw % 2 != 0)))
            ++raw;
    }
    *amount = Money::fromRaw(negative ? -raw : raw);
    return true;
}

Money parseMoney(const QString &text)
{
    Money m;
    if (tryParseMoney(text, &m))
        return m;
    // a number beyond the range of amounts is refused with the range named
    if (double d = 0; tryParseFloat(text, &d))
        return Money::fromDouble(d);
    throw ConversionError(invalidFloatMessage(text));
}

} // namespace GermanFormat
