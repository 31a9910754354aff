#include "budget/BudgetChartTab.h"

#include "budget/rules/BudgetChartData.h"
#include "core/GermanFormat.h"
#include "data/DataSet.h"
#include "ui/charts/ChartPanel.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QHBoxLayout>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QStackedBarSeries>

namespace {

const QColor NetColour(0x1f, 0x3a, 0x68);

// The kind of cost's place among the seven, so it has the colour of its bars.
int costIndex(const BudgetChartData &data, const QString &name)
{
    for (qsizetype i = 0; i < data.spending.size(); ++i)
        if (data.spending.at(i).name == name)
            return static_cast<int>(i);
    return 0;
}

QString percent(double value)
{
    return GermanFormat::number(value, 1) + QStringLiteral(" %");
}

} // namespace

BudgetChartTab::BudgetChartTab(DataSet *plan, QWidget *parent) : ChartTab(parent), m_plan(plan)
{
    setObjectName(QStringLiteral("budGrafik"));
    m_months = new ChartPanel(QStringLiteral("budGrafikMonate"), QStringLiteral("Budget-Monate"), this);
    m_shares = new ChartPanel(QStringLiteral("budGrafikAnteile"), QStringLiteral("Budget-Anteile"), this);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_months, 3);
    layout->addWidget(m_shares, 2);

    // The rollup of a saved item posts the plan row; moving to another plan changes it too.
    for (auto signal : {&DataSet::currentRowChanged, &DataSet::rowsReset, &DataSet::opened, &DataSet::closed})
        connect(plan, signal, this, &BudgetChartTab::changed);
    connect(plan, &DataSet::rowChanged, this, &BudgetChartTab::changed);
}

void BudgetChartTab::rebuild()
{
    const BudgetChartData data = BudgetChartData::fromPlan(*m_plan);
    showMonths(data);
    showShares(data);
}

void BudgetChartTab::showMonths(const BudgetChartData &data)
{
    auto *chart = new QChart;
    ChartPanel::applyStyle(chart);
    chart->setTitle(QStringLiteral("Monatsübersicht: Einkommen, Ausgaben und Saldo"));

    auto *bars = new QStackedBarSeries;
    auto *income = new QBarSet(QStringLiteral("Einkommen"));
    income->setColor(ChartPanel::incomeColour());
    for (Money m : data.income)
        *income << m.toDouble();
    bars->append(income);
    // Costs stand below the zero line, so a month's bar shows what is left at a glance.
    for (const BudgetChartData::Series &s : data.spending) {
        auto *set = new QBarSet(s.name);
        set->setColor(ChartPanel::costColour(static_cast<int>(bars->count()) - 1));
        for (Money m : s.months)
            *set << -m.toDouble();
        bars->append(set);
    }
    bars->setBarWidth(0.7);
    chart->addSeries(bars);

    auto *net = new QLineSeries;
    net->setName(QStringLiteral("Saldo"));
    QPen pen(NetColour);
    pen.setWidth(3);
    net->setPen(pen);
    net->setPointsVisible(true);
    for (int m = 0; m < 12; ++m)
        net->append(m, data.net[m].toDouble());
    chart->addSeries(net);

    auto *months = new QBarCategoryAxis;
    for (int m = 1; m <= 12; ++m)
        months->append(GermanFormat::shortMonthName(m));
    chart->addAxis(months, Qt::AlignBottom);
    const auto [low, high] = data.range();
    QAbstractAxis *amounts = ChartPanel::moneyAxis(low.toDouble(), high.toDouble());
    chart->addAxis(amounts, Qt::AlignLeft);
    for (QAbstractSeries *series : {static_cast<QAbstractSeries *>(bars), static_cast<QAbstractSeries *>(net)}) {
        series->attachAxis(months);
        series->attachAxis(amounts);
    }
    m_months->setChart(chart);
    m_months->setNote(data.isEmpty() ? QStringLiteral("Der Plan hat noch keine Beträge.") : QString());
}

void BudgetChartTab::showShares(const BudgetChartData &data)
{
    auto *chart = new QChart;
    ChartPanel::applyStyle(chart);
    chart->setTitle(QStringLiteral("Anteile am Einkommen (%1 im Monat)").arg(GermanFormat::currency(data.monthlyIncome)));

    auto *donut = new QPieSeries;
    donut->setHoleSize(0.45);
    donut->setPieSize(0.8);
    for (const BudgetChartData::Slice &s : data.shares) {
        QPieSlice *slice = donut->append(percent(s.percent), s.amount.toDouble());
        // Small slices keep their share in the legend only; on the ring it would not fit.
        slice->setLabelVisible(s.percent >= 6.0);
        slice->setLabelPosition(QPieSlice::LabelInsideNormal);
        slice->setLabelColor(Qt::white);
        QFont bold = slice->labelFont();
        bold.setPointSizeF(8);
        bold.setBold(true);
        slice->setLabelFont(bold);
        slice->setColor(s.name == BudgetChartFreeSlice ? ChartPanel::incomeColour()
                                                       : ChartPanel::costColour(costIndex(data, s.name)));
    }
    chart->addSeries(donut);
    // The legend names each slice with its share; the ring shows the share alone.
    const QList<QPieSlice *> slices = donut->slices();
    for (int i = 0; i < slices.size(); ++i)
        if (QLegendMarker *marker = chart->legend()->markers(donut).value(i))
            marker->setLabel(data.shares.at(i).name + QStringLiteral(" ") + percent(data.shares.at(i).percent));
    m_shares->setChart(chart);

    QString note;
    if (data.monthlyIncome <= Money())
        note = QStringLiteral("Ohne Einkommen gibt es keine Anteile am Einkommen.");
    else if (data.monthlySpending > data.monthlyIncome)
        note = QStringLiteral("Die Ausgaben übersteigen das Einkommen um %1 im Monat.")
                   .arg(GermanFormat::currency(data.monthlySpending - data.monthlyIncome));
    m_shares->setNote(note);
}
