#pragma once

#include "ui/charts/ChartTab.h"

#include <functional>

class ChartPanel;
class DataSet;
struct HhbookChartData;

// The "Grafik" tab of the household book: spending per kind of cost and month as stacked
// bars, and each month's balance. Both show the listed bookings, so they follow the filter.
class HhbookChartTab : public ChartTab
{
    Q_OBJECT
public:
    // `describeSelection` names the period and filter of the listed bookings.
    explicit HhbookChartTab(DataSet *bookings, QWidget *parent = nullptr,
                            std::function<QString()> describeSelection = {});

protected:
    void rebuild() override;

private:
    void showSpending(const HhbookChartData &data);
    void showBalances(const HhbookChartData &data);

    DataSet *m_bookings;
    std::function<QString()> m_describe;
    ChartPanel *m_spending;
    ChartPanel *m_balances;
};
