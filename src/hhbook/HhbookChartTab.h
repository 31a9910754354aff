#pragma once

#include <QWidget>

class ChartPanel;
class DataSet;
struct HhbookChartData;

// The "Grafik" tab of the household book: spending per kind of cost and month as stacked
// bars, and each month's balance. Both show the listed bookings, so they follow the filter.
class HhbookChartTab : public QWidget
{
    Q_OBJECT
public:
    explicit HhbookChartTab(DataSet *bookings, QWidget *parent = nullptr);

    // Rebuilds both charts from the listed bookings now.
    void refresh();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void bookingsChanged();
    void showSpending(const HhbookChartData &data);
    void showBalances(const HhbookChartData &data);

    DataSet *m_bookings;
    ChartPanel *m_spending;
    ChartPanel *m_balances;
    bool m_stale = true;
    bool m_queued = false;
};
