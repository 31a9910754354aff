#include "budget/rules/BudgetChartData.h"

#include "budget/rules/BudgetCategory.h"
#include "data/DataSet.h"

#include <algorithm>

namespace {

Money money(const QVariant &v)
{
    return v.isNull() ? Money() : Money::fromDouble(v.toDouble());
}

} // namespace

bool BudgetChartData::isEmpty() const
{
    auto zero = [](const std::array<Money, 12> &months) {
        return std::all_of(months.begin(), months.end(), [](Money m) { return m == Money(); });
    };
    if (!zero(income))
        return false;
    return std::all_of(spending.begin(), spending.end(), [&](const Series &s) { return zero(s.months); });
}

std::pair<Money, Money> BudgetChartData::range() const
{
    Money low, high;
    for (int m = 0; m < 12; ++m) {
        Money below;
        for (const Series &s : spending)
            below -= s.months[m];
        low = std::min({low, below, net[m]});
        high = std::max({high, income[m], net[m]});
    }
    return {low, high};
}

BudgetChartData BudgetChartData::fromValues(const std::function<QVariant(const QString &)> &field)
{
    BudgetChartData d;
    const QVector<BudgetCategory> &cats = BudgetCategories::all();
    const BudgetCategory &ek = cats.first();
    for (int m = 0; m < 12; ++m)
        d.income[m] = money(field(ek.monthTotalField(m + 1)));
    d.net = d.income;
    d.monthlyIncome = money(field(ek.totalField));
    for (qsizetype i = 1; i < cats.size(); ++i) {
        const BudgetCategory &c = cats.at(i);
        Series s{c.name, {}};
        for (int m = 0; m < 12; ++m) {
            s.months[m] = money(field(c.monthTotalField(m + 1)));
            d.net[m] -= s.months[m];
        }
        d.spending.append(s);
        const Money monthly = money(field(c.totalField));
        d.monthlySpending += monthly;
        if (monthly != Money())
            d.shares.append({c.name, monthly, 0});
    }
    // Shares of nothing say nothing; the page shows a note instead.
    if (d.monthlyIncome <= Money()) {
        d.shares.clear();
        return d;
    }
    const Money free = d.monthlyIncome - d.monthlySpending;
    if (free > Money())
        d.shares.append({BudgetChartFreeSlice, free, 0});
    for (Slice &s : d.shares)
        s.percent = s.amount.toDouble() * 100.0 / d.monthlyIncome.toDouble();
    return d;
}

BudgetChartData BudgetChartData::fromPlan(const DataSet &plan)
{
    if (!plan.isOpen() || plan.isEmpty())
        return fromValues([](const QString &) { return QVariant(); });
    return fromValues([&plan](const QString &name) { return plan.value(name); });
}
