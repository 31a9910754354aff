#pragma once

#include "core/Money.h"

#include <QString>
#include <QVector>

// How a monthly rate is shared among a client's creditors: each in proportion to its claim,
// in whole cents that add up exactly to the rate.
namespace SettlementSplit {

// Longer plans are not offered out of court; a typing slip must not make a plan of decades.
inline constexpr int MaxMonths = 120;

struct Line
{
    Money claim;
    Money monthly;          // the creditor's part of the first rate
    Money total;            // what the creditor really receives over the whole term
    double sharePercent = 0; // claim / all claims
    double quotaPercent = 0; // total / claim
    int paidInFull = 0;     // the month of the last payment that settles the claim; 0 if none does
};

// Months in which every creditor receives the same amount each month.
struct Phase
{
    int firstMonth = 0, lastMonth = 0;
    QVector<Money> payments;   // per line, in each month of the phase
};

struct Result
{
    QVector<Line> lines;
    QVector<Phase> phases;      // the term from month 1 on; after the last payment no phase
    Money claims;               // all claims together
    Money requestedRate;        // the rate as asked for, in whole cents
    Money rate;                 // the monthly rate as split
    Money planTotal;            // what all creditors really receive together
    bool rateLowered = false;   // the rate asked for was above all claims and became them
    bool capped = false;        // rate × term would pay more than is owed
    int lastMonth = 0;          // the last month with a payment
};

// Splits `amount` (whole cents) in proportion to `weights` by the largest remainder: every
// part is rounded down to the cent, the cents left over go to the largest remainders, ties
// to the larger weight, then to the earlier line. The parts add up to `amount` exactly.
QVector<Money> distribute(const QVector<Money> &weights, Money amount);

// The plan over `months` months with a monthly `rate`. Each creditor receives its claim and
// no more: once it is paid in full it drops out, and from then on its part of the rate is
// shared among the others by the same rule. A rate above all claims is lowered to them. Throws UserWarning for no claims, claims adding up to nothing, a
// negative claim or rate, and a term outside 1 … MaxMonths.
Result split(const QVector<Money> &claims, Money rate, int months);

// Rounded to whole cents, halves away from zero.
Money toCents(Money amount);

} // namespace SettlementSplit
