#pragma once

#include "ui/charts/ChartTab.h"

class ChartPanel;
class DataSet;
struct HhbookChartData;

// The "Grafik" tab of the household book: spending per kind of cost and month as stacked
// bars, and each month's balance. Both show the listed bookings, so they follow the filter.
class HhbookChartTab : public ChartTab
{
    Q_OBJECT
public:
    explicit HhbookChartTab(DataSet *bookings, QWidget *parent = nullptr);

protected:
    void rebuild() override;

private:
    void showSpending(const HhbookChartData &data);
    void showBalances(const HhbookChartData &data);

    DataSet *m_bookings;
    ChartPanel *m_spending;
    ChartPanel *m_balances;
};
