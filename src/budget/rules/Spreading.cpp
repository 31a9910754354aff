#include "budget/rules/Spreading.h"

namespace Spreading {

int rhythmPeriod(const QString &rhythm)
{
    static const int periods[] = {1, 2, 3, 6, 12};
    const qsizetype i = rhythms().indexOf(rhythm);
    return i < 0 ? 0 : periods[i];
}

Result spread(const QVariant &amount, const QString &dueMonth, const QString &rhythm)
{
    Result r;
    const int period = rhythmPeriod(rhythm);
    if (period == 0)
        return r;
    const double value = amount.isNull() ? 0.0 : amount.toDouble();
    r.monthly = value / period;
    if (period == 1) {
        r.months.fill(value);
        return r;
    }
    // Only the exact texts "01" … "12" name a month.
    static const QStringList months = {QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("03"),
                                       QStringLiteral("04"), QStringLiteral("05"), QStringLiteral("06"),
                                       QStringLiteral("07"), QStringLiteral("08"), QStringLiteral("09"),
                                       QStringLiteral("10"), QStringLiteral("11"), QStringLiteral("12")};
    const qsizetype due = months.indexOf(dueMonth);
    if (due < 0)
        return r;
    for (int m = 0; m < 12; ++m)
        r.months[m] = ((m - due) % period + period) % period == 0 ? value : 0.0;
    return r;
}

} // namespace Spreading
