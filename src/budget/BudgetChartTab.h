#pragma once

#include "ui/charts/ChartTab.h"

class ChartPanel;
class DataSet;
struct BudgetChartData;

// The "Grafik" tab of the budget page: the twelve month nets as bars (income above, the
// kinds of cost stacked below, the net as a line) and the shares of the income as a donut.
// Both follow the plan row, which every saved item updates.
class BudgetChartTab : public ChartTab
{
    Q_OBJECT
public:
    explicit BudgetChartTab(DataSet *plan, QWidget *parent = nullptr);

protected:
    void rebuild() override;

private:
    void showMonths(const BudgetChartData &data);
    void showShares(const BudgetChartData &data);

    DataSet *m_plan;
    ChartPanel *m_months;
    ChartPanel *m_shares;
};
