#include "report/ReportDateTime.h"

#include "core/GermanFormat.h"

#include <QRegularExpression>

#include <cmath>

namespace ReportDateTime {

namespace {

const QDate kEpoch(1899, 12, 30);
constexpr double kMsPerDay = 86400000.0;

QString two(int v) { return QStringLiteral("%1").arg(v, 2, 10, QChar(u'0')); }

} // namespace

double fromDate(const QDate &date)
{
    return date.isValid() ? static_cast<double>(kEpoch.daysTo(date)) : 0.0;
}

double fromTime(const QTime &time)
{
    return time.isValid() ? time.msecsSinceStartOfDay() / kMsPerDay : 0.0;
}

double fromDateTime(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return 0.0;
    return fromDate(dateTime.date()) + fromTime(dateTime.time());
}

QDate toDate(double dayCount)
{
    if (!std::isfinite(dayCount) || std::fabs(dayCount) > 3.0e6)
        return {};
    return kEpoch.addDays(static_cast<qint64>(std::floor(dayCount)));
}

QTime toTime(double dayCount)
{
    if (!std::isfinite(dayCount))
        return QTime(0, 0);
    const double frac = dayCount - std::floor(dayCount);
    int ms = static_cast<int>(std::llround(frac * kMsPerDay));
    if (ms >= 86400000)
        ms = 86399999;
    return QTime::fromMSecsSinceStartOfDay(ms);
}

QDateTime toDateTime(double dayCount)
{
    return QDateTime(toDate(dayCount), toTime(dayCount));
}

bool hasTime(double dayCount)
{
    return toTime(dayCount).msecsSinceStartOfDay() != 0;
}

QString dateText(double dayCount)
{
    // Written for every date of every row: built by hand rather than through arg().
    const QDate d = toDate(dayCount);
    if (!d.isValid() || d.year() < 0 || d.year() > 9999)
        return GermanFormat::shortDate(d);
    int year = 0, month = 0, day = 0;
    d.getDate(&year, &month, &day);
    const char16_t text[10] = {char16_t(u'0' + day / 10), char16_t(u'0' + day % 10), u'.',
                               char16_t(u'0' + month / 10), char16_t(u'0' + month % 10), u'.',
                               char16_t(u'0' + year / 1000), char16_t(u'0' + year / 100 % 10),
                               char16_t(u'0' + year / 10 % 10), char16_t(u'0' + year % 10)};
    return QString(reinterpret_cast<const QChar *>(text), 10);
}

QString timeText(double dayCount)
{
    const QTime t = toTime(dayCount);
    return two(t.hour()) + u':' + two(t.minute()) + u':' + two(t.second());
}

QString dateTimeText(double dayCount)
{
    const bool withDate = std::floor(dayCount) != 0.0;
    const bool withTime = hasTime(dayCount);
    if (withDate && withTime)
        return dateText(dayCount) + u' ' + timeText(dayCount);
    if (withTime)
        return timeText(dayCount);
    return dateText(dayCount);
}

QString format(const QString &pattern, double dayCount)
{
    const QDate d = toDate(dayCount);
    const QTime t = toTime(dayCount);
    QString out;
    const qsizetype n = pattern.size();
    qsizetype i = 0;
    auto run = [&](QChar c) {
        qsizetype k = i;
        while (k < n && pattern[k].toLower() == c)
            ++k;
        return static_cast<int>(k - i);
    };
    while (i < n) {
        const QChar c = pattern[i];
        const QChar lc = c.toLower();
        if (c == u'"' || c == u'\'') {
            const qsizetype end = pattern.indexOf(c, i + 1);
            if (end < 0) {
                out += pattern.mid(i + 1);
                break;
            }
            out += pattern.mid(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        int count = 0;
        if (lc == u'd') {
            count = run(u'd');
            if (count == 1)
                out += QString::number(d.day());
            else if (count == 2)
                out += two(d.day());
            else if (count == 3)
                out += GermanFormat::shortDayName(d.dayOfWeek());
            else
                out += GermanFormat::longDayName(d.dayOfWeek());
            count = std::min(count, 4);
        } else if (lc == u'm') {
            count = run(u'm');
            if (count == 1)
                out += QString::number(d.month());
            else if (count == 2)
                out += two(d.month());
            else if (count == 3)
                out += GermanFormat::shortMonthName(d.month());
            else
                out += GermanFormat::longMonthName(d.month());
            count = std::min(count, 4);
        } else if (lc == u'y') {
            count = run(u'y');
            if (count <= 2) {
                out += two(d.year() % 100);
            } else {
                out += QStringLiteral("%1").arg(d.year(), 4, 10, QChar(u'0'));
                count = std::min(count, 4);
            }
        } else if (lc == u'h') {
            count = std::min(run(u'h'), 2);
            out += count == 1 ? QString::number(t.hour()) : two(t.hour());
        } else if (lc == u'n') {
            count = std::min(run(u'n'), 2);
            out += count == 1 ? QString::number(t.minute()) : two(t.minute());
        } else if (lc == u's') {
            count = std::min(run(u's'), 2);
            out += count == 1 ? QString::number(t.second()) : two(t.second());
        } else if (lc == u'z') {
            count = run(u'z');
            if (count >= 3) {
                out += QStringLiteral("%1").arg(t.msec(), 3, 10, QChar(u'0'));
                count = 3;
            } else {
                out += QString::number(t.msec());
                count = 1;
            }
        } else if (c == u'/') {
            out += u'.';
            count = 1;
        } else {
            out += c;
            count = 1;
        }
        i += count;
    }
    return out;
}

QString storedText(double dayCount)
{
    const QDate d = toDate(dayCount);
    QString out = u'{' + QStringLiteral("%1-%2-%3").arg(d.year(), 4, 10, QChar(u'0')).arg(two(d.month()), two(d.day()));
    if (hasTime(dayCount)) {
        const QTime t = toTime(dayCount);
        out += u',' + two(t.hour()) + u':' + two(t.minute()) + u':' + two(t.second()) + u':'
               + QStringLiteral("%1").arg(t.msec(), 3, 10, QChar(u'0'));
    }
    out += u'}';
    return out;
}

bool parseStored(const QString &text, double *dayCount)
{
    static const QRegularExpression re(
        QStringLiteral(R"(^\{(\d{4})-(\d{2})-(\d{2})(?:,(\d{2}):(\d{2}):(\d{2}):(\d{3}))?\}$)"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return false;
    const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!d.isValid())
        return false;
    double v = fromDate(d);
    if (m.hasCaptured(4)) {
        const QTime t(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt(), m.captured(7).toInt());
        if (!t.isValid())
            return false;
        v += fromTime(t);
    }
    *dayCount = v;
    return true;
}

double now()
{
    return fromDateTime(QDateTime::currentDateTime());
}

} // namespace ReportDateTime
