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
    Money monthly;          // the creditor's part of one rate
    Money total;            // what the creditor receives over the whole term
    double sharePercent = 0; // claim / all claims
    double quotaPercent = 0; // total / claim
};

struct Result
{
    QVector<Line> lines;
    Money claims;       // all claims together
    Money rate;         // the monthly rate as split
    Money planTotal;    // what all creditors receive together
    bool capped = false; // rate × term would pay more than is owed
};

// Splits `amount` (whole cents) in proportion to `weights` by the largest remainder: every
// part is rounded down to the cent, the cents left over go to the largest remainders, ties
// to the larger weight, then to the earlier line. The parts add up to `amount` exactly.
QVector<Money> distribute(const QVector<Money> &weights, Money amount);

// The plan over `months` months with a monthly `rate`. When rate × term exceeds all claims
// together, each creditor receives its claim and no more, and a rate above all claims is
// lowered to them. Throws UserWarning for no claims, claims adding up to nothing, a
// negative claim or rate, and a term outside 1 … MaxMonths.
Result split(const QVector<Money> &claims, Money rate, int months);

// Rounded to whole cents, halves away from zero.
Money toCents(Money amount);

} // namespace SettlementSplit
