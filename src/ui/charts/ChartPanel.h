#pragma once

#include <QWidget>

class QAbstractAxis;
class QChart;
class QChartView;
class QLabel;
class QToolButton;

// One chart with its title line and "Als Bild speichern". The owner builds a new chart
// whenever its data change and hands it over; the panel keeps its size and place.
class ChartPanel : public QWidget
{
    Q_OBJECT
public:
    // `name` prefixes the object names ("<name>View", "<name>Speichern"); `imageName` is
    // the proposed file name of the saved picture, without ".png".
    ChartPanel(const QString &name, const QString &imageName, QWidget *parent = nullptr);

    // Takes the chart over; the previous one is deleted.
    void setChart(QChart *chart);
    QChart *chart() const;
    QChartView *view() const { return m_view; }
    // A line below the chart for what it leaves out or why it is empty; empty hides it.
    void setNote(const QString &text);
    QString note() const;

    // Writes the chart as PNG; false when the file cannot be written.
    bool saveImage(const QString &path) const;
    // Asks for the file and saves, with a German message when that fails.
    void saveImageAs();

    // A value axis in euros with German labels ("1.500 €") at round steps.
    static QAbstractAxis *moneyAxis(double low, double high);
    // The program's look for every chart: German locale for numbers, no animation, the
    // legend beside the chart in a small font so the names stay whole.
    static void applyStyle(QChart *chart);
    // The colour of the n-th kind of cost (0 = Wohnkosten … 6 = Hauskredite), the same on
    // every page; and the colour of income.
    static QColor costColour(int index);
    static QColor incomeColour();

private:
    QString m_imageName;
    QChartView *m_view;
    QLabel *m_note;
};
