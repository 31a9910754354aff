#pragma once

#include "core/DateUtil.h"
#include "core/Money.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

class DataSet;

// What the household book's charts show of the listed bookings (so they follow the filter):
// spending per kind of cost and month, and each month's balance.
struct HhbookChartData
{
    struct Booking
    {
        QDate date;
        QString rubrik;
        Money amount;
    };
    struct Month
    {
        QDate first;                 // the first day of the month
        Money income;
        std::array<Money, 7> costs{}; // the seven kinds of cost, in the order of the lists
        Money balance;               // income less every cost
    };

    // Every month from the first to the last booked one, months without bookings included,
    // at most MaxMonths (the latest) so the bars stay readable.
    QVector<Month> months;
    // The months before the first one shown, left out for MaxMonths.
    int monthsLeftOut = 0;
    // Bookings dated after the day the charts count up to (recurring ones made in advance):
    // what is not booked yet is no spending yet.
    int laterLeftOut = 0;
    QDate bookedUpTo;

    static constexpr int MaxMonths = 36;
    // "Wohnkosten" … "Hauskredite".
    static QStringList costNames();

    // The lowest and highest value the bars need (costs stacked, balances).
    std::pair<Money, Money> range() const;

    // Bookings without a date or with a word that is none of the eight count nowhere,
    // as in the book's evaluation; bookings dated after `bookedUpTo` neither.
    static HhbookChartData fromBookings(const QVector<Booking> &bookings, const QDate &bookedUpTo = DateUtil::today());
    // The rows of the data set's selection, without moving its cursor.
    static HhbookChartData fromDataSet(const DataSet &bookings, const QDate &bookedUpTo = DateUtil::today());
};
