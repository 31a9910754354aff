#pragma once

#include "core/Money.h"

#include <QDate>
#include <QString>

class Database;

// The monthly allowance of a protected account ("P-Konto") certified for a client.
namespace PKontoAllowance {

// The law counts the supported persons up to five.
inline constexpr int MaxPersons = 5;

struct Base
{
    QDate garnishmentStand;   // the garnishment table the basic amount comes from
    Money freeAmount;         // the free amount without a dependant, as the table was made from
    QDate stand;              // from when the increases apply
    Money increaseFirst;      // for the first supported person
    Money increaseFurther;    // for each further one
};

struct Amounts
{
    Money basic;              // the free amount rounded up to the next full 10 euro (§ 899 Abs. 1 ZPO)
    int persons = 0;          // counted, at most MaxPersons
    Money increaseFirst;
    Money increaseFurther;    // all further persons together
    int furtherPersons = 0;
    Money childBenefit;
    Money otherPayments;
    Money monthly;            // everything above together
    Money oneOff;             // protected once, on top of the month's allowance
};

// The base values in force on `day`: the latest garnishment base values and increases that
// apply by then (the earliest when none does yet). Throws UserWarning when either is missing.
Base baseInForce(const Database &db, const QDate &day);
// Stores the increases from 1 July 2026 when the file holds none yet.
void ensureSeeded(const Database &db);
inline const QDate Stand2026{2026, 7, 1};

Money roundUpToTen(Money amount);
// The free amount a garnishment table was made from: from the end of its first row, its
// step, and the first amount and step of the column without dependants.
Money freeAmountOf(Money firstRowEnd, Money step, Money firstAmount, Money amountStep);
// Throws UserWarning for a negative number of persons or negative payments.
Amounts allowance(const Base &base, int persons, Money childBenefit, Money otherPayments, Money oneOff);

} // namespace PKontoAllowance
