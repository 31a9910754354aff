#pragma once

#include <QWidget>

class ChartPanel;
class DataSet;
struct BudgetChartData;

// The "Grafik" tab of the budget page: the twelve month nets as bars (income above, the
// kinds of cost stacked below, the net as a line) and the shares of the income as a donut.
// Both follow the plan row, which every saved item updates.
class BudgetChartTab : public QWidget
{
    Q_OBJECT
public:
    explicit BudgetChartTab(DataSet *plan, QWidget *parent = nullptr);

    // Rebuilds both charts from the current plan row now.
    void refresh();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void planChanged();
    void showMonths(const BudgetChartData &data);
    void showShares(const BudgetChartData &data);

    DataSet *m_plan;
    ChartPanel *m_months;
    ChartPanel *m_shares;
    bool m_stale = true;
    bool m_queued = false;
};
