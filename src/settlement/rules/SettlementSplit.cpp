#include "settlement/rules/SettlementSplit.h"

#include "core/AppError.h"
#include "core/GermanFormat.h"

#include <algorithm>
#include <numeric>

namespace SettlementSplit {

namespace {

constexpr qint64 RawPerCent = Money::Scale / 100;

// A claim times a rate in raw units exceeds 64 bits for large amounts; the compiler's
// 128-bit integer keeps the split exact.
__extension__ typedef __int128 Wide;

qint64 cents(Money m) { return toCents(m).raw() / RawPerCent; }

double percent(Money part, Money whole)
{
    if (whole.raw() == 0)
        return 0;
    return static_cast<double>(part.raw()) * 100.0 / static_cast<double>(whole.raw());
}

} // namespace

Money toCents(Money amount)
{
    const qint64 raw = amount.raw();
    const qint64 half = RawPerCent / 2;
    const qint64 c = raw >= 0 ? (raw + half) / RawPerCent : -((-raw + half) / RawPerCent);
    return Money::fromCents(c);
}

QVector<Money> distribute(const QVector<Money> &weights, Money amount)
{
    const qsizetype n = weights.size();
    QVector<Money> parts(n);
    Wide total = 0;
    for (Money w : weights)
        total += w.raw();
    if (n == 0 || total <= 0)
        return parts;
    const qint64 amountCents = cents(amount);
    QVector<qint64> base(n);
    QVector<Wide> remainder(n);
    qint64 given = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const Wide share = static_cast<Wide>(amountCents) * weights.at(i).raw();
        base[i] = static_cast<qint64>(share / total);
        remainder[i] = share % total;
        given += base[i];
    }
    QVector<qsizetype> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        if (remainder[a] != remainder[b])
            return remainder[a] > remainder[b];
        return weights.at(a) > weights.at(b);
    });
    for (qint64 left = amountCents - given, k = 0; left > 0; --left, ++k)
        ++base[order.at(k % n)];
    for (qsizetype i = 0; i < n; ++i)
        parts[i] = Money::fromCents(base[i]);
    return parts;
}

namespace {

// One month: the rate shared among the claims still open, each part at most what is still
// owed; what a creditor does not need goes to the others by the same rule.
QVector<Money> month(const QVector<Money> &claims, const QVector<Money> &open, Money rate)
{
    const qsizetype n = claims.size();
    QVector<Money> pay(n);
    QVector<bool> active(n);
    for (qsizetype i = 0; i < n; ++i)
        active[i] = open.at(i) > Money();
    Money left = rate;
    for (;;) {
        QVector<Money> weights(n);
        bool any = false;
        for (qsizetype i = 0; i < n; ++i)
            if (active.at(i)) {
                weights[i] = claims.at(i);
                any = any || claims.at(i) > Money();
            }
        if (!any || left <= Money())
            return pay;
        const QVector<Money> parts = distribute(weights, left);
        bool settled = false;
        for (qsizetype i = 0; i < n; ++i) {
            if (active.at(i) && parts.at(i) >= open.at(i)) {
                pay[i] = open.at(i);
                left -= open.at(i);
                active[i] = false;
                settled = true;
            }
        }
        if (!settled) {
            for (qsizetype i = 0; i < n; ++i)
                if (active.at(i))
                    pay[i] = parts.at(i);
            return pay;
        }
    }
}

} // namespace

Result split(const QVector<Money> &claims, Money rate, int months)
{
    if (claims.isEmpty())
        throw UserWarning(QStringLiteral("Für diesen Klienten sind keine Forderungen erfasst.\r"
                                         "Ein Plan braucht mindestens eine Forderung."));
    if (months < 1 || months > MaxMonths)
        throw UserWarning(QStringLiteral("Die Laufzeit muss zwischen 1 und %1 Monaten liegen.").arg(MaxMonths));
    if (rate < Money())
        throw UserWarning(QStringLiteral("Die Rate darf nicht negativ sein."));
    Result r;
    QVector<Money> owed;
    for (Money c : claims) {
        if (c < Money())
            throw UserWarning(QStringLiteral("Eine Forderung ist negativ (%1); bitte prüfen Sie die Forderungen.")
                                  .arg(GermanFormat::currency(c)));
        owed << toCents(c);
        r.claims += owed.last();
    }
    if (r.claims.isZero())
        throw UserWarning(QStringLiteral("Die Forderungen ergeben zusammen 0,00 €; es gibt nichts aufzuteilen."));

    r.requestedRate = toCents(rate);
    r.rateLowered = r.requestedRate > r.claims;
    r.rate = std::min(r.requestedRate, r.claims);
    r.capped = r.rate * months > r.claims;

    const qsizetype n = owed.size();
    QVector<Money> open = owed, paid(n);
    QVector<int> settledIn(n, 0);
    for (int m = 1; m <= months; ++m) {
        const QVector<Money> pay = month(owed, open, r.rate);
        Money sum;
        for (qsizetype i = 0; i < n; ++i) {
            sum += pay.at(i);
            if (pay.at(i) > Money()) {
                open[i] -= pay.at(i);
                paid[i] += pay.at(i);
                if (open.at(i).isZero())
                    settledIn[i] = m;
            }
        }
        // A plan of nothing still runs its term; one that has paid everything ends.
        if (sum.isZero() && !r.rate.isZero())
            break;
        if (!sum.isZero())
            r.lastMonth = m;
        if (!r.phases.isEmpty() && r.phases.last().payments == pay)
            r.phases.last().lastMonth = m;
        else
            r.phases.append({m, m, pay});
    }
    for (qsizetype i = 0; i < n; ++i) {
        Line line;
        line.claim = owed.at(i);
        line.monthly = r.phases.isEmpty() ? Money() : r.phases.first().payments.at(i);
        line.total = paid.at(i);
        line.sharePercent = percent(line.claim, r.claims);
        line.quotaPercent = percent(line.total, line.claim);
        line.paidInFull = settledIn.at(i);
        r.planTotal += line.total;
        r.lines << line;
    }
    return r;
}

} // namespace SettlementSplit
