#pragma once

#include <QString>
#include <QVariant>

#include <array>
#include <optional>

// Spreads one budget item over the calendar months: the monthly amount and the months in
// which the full amount falls due.
namespace Spreading {

// Months covered by one payment: 1, 2, 3, 6 or 12; 0 for anything that is no rhythm word
// (the comparison is exact and case-sensitive).
int rhythmPeriod(const QString &rhythm);

inline const QStringList &rhythms()
{
    static const QStringList words = {QStringLiteral("monatlich"), QStringLiteral("zweimonatlich"),
                                      QStringLiteral("vierteljährlich"), QStringLiteral("halbjährlich"),
                                      QStringLiteral("jährlich")};
    return words;
}

struct Result
{
    std::optional<double> monthly;                 // unset: no rhythm
    std::array<std::optional<double>, 12> months;  // unset: not scheduled
};

// `amount` may be null (counts as 0); `dueMonth` is "01" … "12" exactly.
Result spread(const QVariant &amount, const QString &dueMonth, const QString &rhythm);

} // namespace Spreading
