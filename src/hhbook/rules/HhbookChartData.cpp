#include "hhbook/rules/HhbookChartData.h"

#include "data/DataSet.h"
#include "hhbook/rules/HhbookVocabulary.h"

#include <QMap>

#include <algorithm>

QStringList HhbookChartData::costNames()
{
    return HhbookVocabulary::categoryWords().mid(1, 7);
}

std::pair<Money, Money> HhbookChartData::range() const
{
    Money low, high;
    for (const Month &m : months) {
        Money stacked;
        for (Money c : m.costs)
            stacked += c;
        high = std::max({high, stacked, m.income, m.balance});
        low = std::min(low, m.balance);
    }
    return {low, high};
}

HhbookChartData HhbookChartData::fromBookings(const QVector<Booking> &bookings, const QDate &bookedUpTo)
{
    HhbookChartData d;
    d.bookedUpTo = bookedUpTo;
    // Keyed by year * 12 + month - 1, so the months come out in order.
    QMap<int, Month> byMonth;
    for (const Booking &b : bookings) {
        const int category = HhbookVocabulary::categoryIndex(b.rubrik);
        if (!b.date.isValid() || category < 0)
            continue;
        if (b.date > bookedUpTo) {
            ++d.laterLeftOut;
            continue;
        }
        Month &m = byMonth[b.date.year() * 12 + b.date.month() - 1];
        if (category == 0)
            m.income += b.amount;
        else
            m.costs[category - 1] += b.amount;
    }
    if (byMonth.isEmpty())
        return d;
    const int last = byMonth.lastKey();
    int first = byMonth.firstKey();
    if (last - first + 1 > MaxMonths) {
        d.monthsLeftOut = last - MaxMonths + 1 - first;
        first = last - MaxMonths + 1;
    }
    for (int key = first; key <= last; ++key) {
        Month m = byMonth.value(key);
        m.first = QDate(key / 12, key % 12 + 1, 1);
        m.balance = m.income;
        for (Money c : m.costs)
            m.balance -= c;
        d.months.append(m);
    }
    return d;
}

HhbookChartData HhbookChartData::fromDataSet(const DataSet &bookings, const QDate &bookedUpTo)
{
    if (!bookings.isOpen())
        return fromBookings({}, bookedUpTo);
    const int date = bookings.fieldIndex(QStringLiteral("Buchdat"));
    const int rubrik = bookings.fieldIndex(QStringLiteral("Rubrik"));
    const int betrag = bookings.fieldIndex(QStringLiteral("Betrag"));
    QVector<Booking> rows;
    // Read without moving: every step of the cursor would redraw the bound list and controls.
    const int count = bookings.recordCount();
    rows.reserve(count);
    for (int r = 0; r < count; ++r) {
        const QVariant amount = bookings.valueAt(r, betrag);
        if (amount.isNull())
            continue;
        rows.append({bookings.valueAt(r, date).toDate(), bookings.valueAt(r, rubrik).toString(),
                     Money::fromDouble(amount.toDouble())});
    }
    return fromBookings(rows, bookedUpTo);
}
