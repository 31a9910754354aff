#include "hhbook/rules/RecurringBookings.h"

#include "core/AppError.h"
#include "core/DateUtil.h"
#include "core/GermanFormat.h"
#include "data/DataSet.h"
#include "data/WriteTransaction.h"

#include <QRegularExpression>

#include <algorithm>

namespace RecurringBookings {

const QVector<Rhythm> &rhythms()
{
    static const QVector<Rhythm> all = {{QStringLiteral("monatlich"), 1},
                                        {QStringLiteral("zweimonatlich"), 2},
                                        {QStringLiteral("vierteljährlich"), 3},
                                        {QStringLiteral("halbjährlich"), 6},
                                        {QStringLiteral("jährlich"), 12}};
    return all;
}

QDate dueDate(const QDate &start, int index, int months)
{
    return DateUtil::addMonthsClamped(start, index * months);
}

bool isBlankDate(const QString &text)
{
    return std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); });
}

QDate readStart(const QString &text)
{
    QString compact = text;
    compact.remove(u' ');
    QDate d;
    if (!GermanFormat::tryParseDate(compact, &d))
        throw ConversionError(GermanFormat::invalidDateMessage(text));
    return d;
}

int readCount(const QString &text)
{
    return GermanFormat::parseInteger(text);
}

Money readAmount(const QString &text)
{
    return GermanFormat::parseMoney(text);
}

void append(DataSet &bookings, const Series &s)
{
    // Lists and fields show the series once it is complete, not each booking on its way.
    struct Detached
    {
        DataSet &ds;
        explicit Detached(DataSet &d) : ds(d) { ds.disableControls(); }
        ~Detached() { ds.enableControls(); }
    } detached(bookings);
    WriteTransaction tx(*bookings.database());
    for (int i = 0; i < s.count; ++i) {
        bookings.append();   // stores the booking appended before
        bookings.setValue(QStringLiteral("Buchdat"), dueDate(s.start, i, s.months));
        bookings.setValue(QStringLiteral("Rubrik"), s.rubrik);
        bookings.setValue(QStringLiteral("Rubdet"), s.rubdet);
        bookings.setMoney(QStringLiteral("Betrag"), s.amount);
        bookings.setValue(QStringLiteral("RubText"), s.text);
    }
    bookings.post();
    tx.commit();
}

} // namespace RecurringBookings
