#include "hhbook/HhbookChartTab.h"

#include "core/GermanFormat.h"
#include "data/DataSet.h"
#include "hhbook/rules/HhbookChartData.h"
#include "ui/charts/ChartPanel.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QHBoxLayout>
#include <QStackedBarSeries>

namespace {

const QColor DeficitColour(0xc0, 0x39, 0x2b);

// "Jan 26": short enough for three years of months under one another's bars.
QStringList monthLabels(const HhbookChartData &data)
{
    QStringList labels;
    for (const HhbookChartData::Month &m : data.months)
        labels << GermanFormat::shortMonthName(m.first.month()) + QStringLiteral(" ")
                      + QString::number(m.first.year() % 100).rightJustified(2, u'0');
    return labels;
}

// Says what the bars cover: the listed bookings up to today, and what was left out.
QString noteFor(const HhbookChartData &data, const QString &selection)
{
    QStringList notes;
    if (data.months.isEmpty())
        notes << QStringLiteral("Keine Buchungen in der Auswahl.");
    else if (selection.isEmpty())
        notes << QStringLiteral("Gezählt sind die Buchungen bis %1.").arg(GermanFormat::shortDate(data.bookedUpTo));
    else
        notes << QStringLiteral("%1. Gezählt sind die Buchungen bis %2.")
                     .arg(selection, GermanFormat::shortDate(data.bookedUpTo));
    if (data.monthsLeftOut > 0)
        notes << QStringLiteral("Gezeigt werden die letzten %1 Monate; %2 frühere Monate sind ausgelassen.")
                     .arg(HhbookChartData::MaxMonths)
                     .arg(data.monthsLeftOut);
    if (data.laterLeftOut == 1)
        notes << QStringLiteral("1 spätere Buchung ist nicht gezählt.");
    else if (data.laterLeftOut > 1)
        notes << QStringLiteral("%1 spätere Buchungen sind nicht gezählt.").arg(data.laterLeftOut);
    return notes.join(u' ');
}

} // namespace

HhbookChartTab::HhbookChartTab(DataSet *bookings, QWidget *parent, std::function<QString()> describeSelection)
    : ChartTab(parent), m_bookings(bookings), m_describe(std::move(describeSelection))
{
    setObjectName(QStringLiteral("tbsGrafik"));
    m_spending = new ChartPanel(QStringLiteral("hhGrafikAusgaben"), QStringLiteral("Haushaltsbuch-Ausgaben"), this);
    m_balances = new ChartPanel(QStringLiteral("hhGrafikSalden"), QStringLiteral("Haushaltsbuch-Salden"), this);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_spending, 3);
    layout->addWidget(m_balances, 2);

    // A filter or another book resets the rows; a saved or deleted booking changes one.
    for (auto signal : {&DataSet::rowsReset, &DataSet::opened, &DataSet::closed, &DataSet::rowsFetched})
        connect(bookings, signal, this, &HhbookChartTab::changed);
    for (auto signal : {&DataSet::rowChanged, &DataSet::rowInserted, &DataSet::rowRemoved})
        connect(bookings, signal, this, &HhbookChartTab::changed);
}

void HhbookChartTab::rebuild()
{
    const HhbookChartData data = HhbookChartData::fromDataSet(*m_bookings);
    showSpending(data);
    showBalances(data);
}

void HhbookChartTab::showSpending(const HhbookChartData &data)
{
    auto *chart = new QChart;
    ChartPanel::applyStyle(chart);
    chart->setTitle(QStringLiteral("Ausgaben je Monat und Rubrik"));
    auto *bars = new QStackedBarSeries;
    const QStringList names = HhbookChartData::costNames();
    Money highest;
    for (int c = 0; c < names.size(); ++c) {
        auto *set = new QBarSet(names.at(c));
        set->setColor(ChartPanel::costColour(c));
        for (const HhbookChartData::Month &m : data.months)
            *set << m.costs[static_cast<size_t>(c)].toDouble();
        bars->append(set);
    }
    Money low, high;
    for (const HhbookChartData::Month &m : data.months) {
        Money up, down;
        for (Money c : m.costs)
            (c < Money() ? down : up) += c;
        high = std::max(high, up);
        low = std::min(low, down);
    }
    bars->setBarWidth(0.75);
    chart->addSeries(bars);
    auto *months = new QBarCategoryAxis;
    months->append(monthLabels(data));
    chart->addAxis(months, Qt::AlignBottom);
    QAbstractAxis *amounts = ChartPanel::moneyAxis(low.toDouble(), high.toDouble());
    chart->addAxis(amounts, Qt::AlignLeft);
    bars->attachAxis(months);
    bars->attachAxis(amounts);
    m_spending->setChart(chart);
    m_spending->setNote(noteFor(data, m_describe ? m_describe() : QString()));
}

void HhbookChartTab::showBalances(const HhbookChartData &data)
{
    auto *chart = new QChart;
    ChartPanel::applyStyle(chart);
    chart->setTitle(QStringLiteral("Saldo je Monat (Einkommen abzüglich Ausgaben)"));
    // Two sets, so surplus and deficit keep their colours; each month has a value in one.
    auto *surplus = new QBarSet(QStringLiteral("Überschuss"));
    auto *deficit = new QBarSet(QStringLiteral("Defizit"));
    surplus->setColor(ChartPanel::incomeColour());
    deficit->setColor(DeficitColour);
    Money low, high;
    for (const HhbookChartData::Month &m : data.months) {
        const bool plus = m.balance >= Money();
        *surplus << (plus ? m.balance.toDouble() : 0.0);
        *deficit << (plus ? 0.0 : m.balance.toDouble());
        low = std::min(low, m.balance);
        high = std::max(high, m.balance);
    }
    auto *bars = new QStackedBarSeries;
    bars->append(surplus);
    bars->append(deficit);
    bars->setBarWidth(0.75);
    chart->addSeries(bars);
    auto *months = new QBarCategoryAxis;
    months->append(monthLabels(data));
    chart->addAxis(months, Qt::AlignBottom);
    QAbstractAxis *amounts = ChartPanel::moneyAxis(low.toDouble(), high.toDouble());
    chart->addAxis(amounts, Qt::AlignLeft);
    bars->attachAxis(months);
    bars->attachAxis(amounts);
    m_balances->setChart(chart);
}
