#pragma once

#include "core/Money.h"

#include <QString>
#include <QVariant>
#include <QVector>

#include <array>
#include <functional>

class DataSet;

// What the budget page's charts show of a plan, computed from the plan row alone so the
// charts follow every saved item (the rollup writes the month totals into the row).
struct BudgetChartData
{
    struct Series
    {
        QString name;                  // "Wohnkosten"
        std::array<Money, 12> months{}; // January first
    };
    struct Slice
    {
        QString name;
        Money amount;        // a month's amount
        double percent = 0;  // of the month's income
    };

    std::array<Money, 12> income{};
    // The seven kinds of cost in the order of the page's tabs, each with its month totals.
    QVector<Series> spending;
    // Income less every cost, month by month.
    std::array<Money, 12> net{};

    // The donut: each kind of cost with an amount as a share of the monthly income, then
    // what is left ("Frei verfügbar") when the income covers all costs. Empty without income.
    QVector<Slice> shares;
    Money monthlyIncome;
    Money monthlySpending;

    bool isEmpty() const;
    // The lowest and highest value the bar chart needs: spending stacked below zero,
    // income and net above.
    std::pair<Money, Money> range() const;

    // `field` reads a column of the plan row by name (case ignored, as in data sets).
    static BudgetChartData fromValues(const std::function<QVariant(const QString &)> &field);
    static BudgetChartData fromPlan(const DataSet &plan);
};

inline const QString BudgetChartFreeSlice = QStringLiteral("Frei verfügbar");
