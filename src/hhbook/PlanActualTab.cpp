#include "hhbook/PlanActualTab.h"

#include "core/DateUtil.h"
#include "core/GermanFormat.h"
#include "data/DataModules.h"
#include "hhbook/PlanActualPrintout.h"
#include "ui/Dialogs.h"
#include "ui/Guard.h"
#include "ui/Printout.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QSqlQuery>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

namespace {

const QColor OverPlan(255, 0, 0);
const QStringList RowKinds = {QStringLiteral("Soll"), QStringLiteral("Ist"), QStringLiteral("Ist − Soll")};

QString money(Money m)
{
    return GermanFormat::currency(m);
}

} // namespace

PlanActualTab::PlanActualTab(DataModules &dm, QWidget *parent) : QWidget(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("tbsSollIst"));
    auto *layout = new QVBoxLayout(this);

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Haushaltsplan :"), this));
    m_plans = new QComboBox(this);
    m_plans->setObjectName(QStringLiteral("hhcbSollIstPlan"));
    m_plans->setMinimumWidth(260);
    top->addWidget(m_plans);
    top->addWidget(new QLabel(QStringLiteral("Jahr :"), this));
    m_year = new QSpinBox(this);
    m_year->setObjectName(QStringLiteral("hhspSollIstJahr"));
    m_year->setRange(1900, 2999);
    m_year->setValue(DateUtil::today().year());
    top->addWidget(m_year);
    auto *mapping = new QPushButton(QStringLiteral("Zuordnung…"), this);
    mapping->setObjectName(QStringLiteral("hhbutSollIstZuordnung"));
    top->addWidget(mapping);
    auto *printButton = new QPushButton(QStringLiteral("Drucken"), this);
    printButton->setObjectName(QStringLiteral("hhbutSollIstDrucken"));
    Printout::offerPdf(printButton);
    top->addWidget(printButton);
    top->addStretch(1);
    layout->addLayout(top);
    m_stand = new QLabel(this);
    m_stand->setObjectName(QStringLiteral("hhlbSollIstStand"));
    layout->addWidget(m_stand);

    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("twSollIst"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QStringList columns{QStringLiteral("Kategorie"), QString()};
    for (int m = 1; m <= 12; ++m)
        columns << GermanFormat::shortMonthName(m);
    columns << QStringLiteral("Jahr");
    m_table->setColumnCount(static_cast<int>(columns.size()));
    m_table->setHorizontalHeaderLabels(columns);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    layout->addWidget(m_table, 3);

    m_chart = new QChartView(this);
    m_chart->setObjectName(QStringLiteral("hhchartSollIst"));
    m_chart->setRenderHint(QPainter::Antialiasing);
    m_chart->setMinimumHeight(220);
    layout->addWidget(m_chart, 2);

    connect(m_plans, &QComboBox::currentIndexChanged, this, [this] { guarded([this] { refresh(); }); });
    connect(m_year, &QSpinBox::valueChanged, this, [this] { guarded([this] { refresh(); }); });
    connect(mapping, &QPushButton::clicked, this, [this] { guarded([this] { editMapping(); }); });
    connect(printButton, &QPushButton::clicked, this, [this] { guarded([this] { print(); }); });
    connect(m_dm.dmHh->qrHhplan, &DataSet::currentRowChanged, this, [this] {
        if (isVisible())
            guarded([this] { refresh(); });
    });
}

void PlanActualTab::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    guarded([this] {
        fillPlans();
        refresh();
    });
}

void PlanActualTab::fillPlans()
{
    const QVariant current = m_plans->currentData();
    const QSignalBlocker block(m_plans);
    m_plans->clear();
    QSqlQuery q = m_dm.db.exec(QStringLiteral("select Bud_id, BudTitel from budget where user_id = :ben_id order by Bud_id"),
                               {{QStringLiteral("ben_id"), m_dm.dmMP->qrAktUser->value(QStringLiteral("Ben_id"))}});
    while (q.next())
        m_plans->addItem(q.value(1).toString(), q.value(0));
    const int at = m_plans->findData(current);
    m_plans->setCurrentIndex(at >= 0 ? at : 0);
}

void PlanActualTab::refresh()
{
    const DataSet &books = *m_dm.dmHh->qrHhplan;
    const int book = books.isOpen() && !books.isEmpty() ? books.value(QStringLiteral("Hhplan_id")).toInt() : -1;
    const int plan = m_plans->currentIndex() >= 0 ? m_plans->currentData().toInt() : -1;
    m_comparison = PlanActual::compare(m_dm.db, book, plan, m_year->value(), PlanActual::Mapping::load(m_dm.db));
    m_stand->setText(m_comparison.actualText());
    fillTable();
    fillChart();
}

void PlanActualTab::fillTable()
{
    const auto &cats = PlanActual::planCategories();
    m_table->setRowCount(static_cast<int>(cats.size() * 3));
    for (const PlanActual::Line &line : std::as_const(m_comparison.lines)) {
        for (int kind = 0; kind < 3; ++kind) {
            const int row = line.category * 3 + kind;
            auto set = [&](int column, const QString &text, bool over) {
                auto *item = new QTableWidgetItem(text);
                if (column >= 2)
                    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                if (over) {
                    item->setBackground(OverPlan);
                    item->setForeground(Qt::white);
                }
                m_table->setItem(row, column, item);
            };
            set(0, kind == 0 ? cats.at(line.category).name : QString(), false);
            set(1, RowKinds.at(kind), false);
            for (int m = 0; m < 12; ++m) {
                const Money value = kind == 0   ? line.planned[m]
                                    : kind == 1 ? line.actual[m]
                                                : PlanActual::Line::difference(line.planned[m], line.actual[m]);
                set(2 + m, money(value), kind > 0 && line.exceeded(m));
            }
            const Money year = kind == 0   ? line.plannedYear()
                               : kind == 1 ? line.actualYear()
                                           : PlanActual::Line::difference(line.plannedYear(), line.actualYear());
            set(14, money(year), kind > 0 && line.exceededYear());
        }
    }
    m_table->resizeColumnsToContents();
}

void PlanActualTab::fillChart()
{
    auto *planned = new QBarSet(QStringLiteral("Soll"));
    auto *actual = new QBarSet(QStringLiteral("Ist"));
    planned->setColor(QColor(31, 56, 100));
    actual->setColor(QColor(120, 170, 220));
    QStringList names;
    double top = 0;
    for (const PlanActual::Line &line : std::as_const(m_comparison.lines)) {
        names << PlanActual::planCategories().at(line.category).name;
        *planned << line.plannedYear().toDouble();
        *actual << line.actualYear().toDouble();
        top = std::max({top, line.plannedYear().toDouble(), line.actualYear().toDouble()});
    }
    auto *series = new QBarSeries;
    series->append(planned);
    series->append(actual);
    auto *chart = new QChart;
    chart->addSeries(series);
    chart->setTitle(QStringLiteral("Soll und Ist %1 je Kategorie").arg(m_comparison.year));
    auto *x = new QBarCategoryAxis;
    x->append(names);
    chart->addAxis(x, Qt::AlignBottom);
    series->attachAxis(x);
    auto *y = new QValueAxis;
    y->setRange(0, top > 0 ? top * 1.1 : 1);
    y->applyNiceNumbers();
    y->setLabelFormat(QStringLiteral("%.0f"));
    y->setTitleText(QStringLiteral("Euro"));
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(y);
    chart->legend()->setAlignment(Qt::AlignBottom);
    QChart *old = m_chart->chart();
    m_chart->setChart(chart);
    delete old;
}

void PlanActualTab::editMapping()
{
    QStringList rubriks;
    const DataSet &books = *m_dm.dmHh->qrHhplan;
    if (books.isOpen() && !books.isEmpty()) {
        QSqlQuery q = m_dm.db.exec(QStringLiteral("select distinct Rubrik from hhbuch where hhplan_id = :hhplan_id"),
                                   {{QStringLiteral("hhplan_id"), books.value(QStringLiteral("Hhplan_id"))}});
        while (q.next())
            rubriks << q.value(0).toString();
    }
    PlanActualMappingDialog dialog(PlanActual::Mapping::load(m_dm.db), rubriks, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    dialog.mapping().save(m_dm.db);
    refresh();
}

void PlanActualTab::print()
{
    const DataSet &books = *m_dm.dmHh->qrHhplan;
    if (!books.isOpen() || books.isEmpty() || m_plans->currentIndex() < 0) {
        ShowMsg(QStringLiteral("Für Soll/Ist werden ein Haushaltsbuch und ein Haushaltsplan gebraucht."), mkWarning);
        return;
    }
    refresh();
    if (!PlanActualPrintout::print(m_dm, m_comparison, books.asString(QStringLiteral("Bezeichnung")), m_plans->currentText()))
        ShowMsg(QStringLiteral("Es sind keine Datensätze für den Ausdruck vorhanden."), mkWarning);
}

PlanActualMappingDialog::PlanActualMappingDialog(const PlanActual::Mapping &mapping, const QStringList &bookRubriks,
                                                 QWidget *parent)
    : QDialog(parent), m_mapping(mapping)
{
    setObjectName(QStringLiteral("TFormSollIstZuordnung"));
    setWindowTitle(QStringLiteral("Zuordnung der Kategorien"));
    QStringList rubriks = mapping.rubriks();
    for (const QString &r : bookRubriks)
        if (!r.isEmpty() && !rubriks.contains(r))
            rubriks << r;
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Kategorie im Haushaltsbuch und die Kategorie des Haushaltsplans, "
                                                "zu der ihre Buchungen zählen:"),
                                 this));
    m_table = new QTableWidget(static_cast<int>(rubriks.size()), 2, this);
    m_table->setObjectName(QStringLiteral("twZuordnung"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Haushaltsbuch"), QStringLiteral("Haushaltsplan")});
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    for (int r = 0; r < rubriks.size(); ++r) {
        auto *item = new QTableWidgetItem(rubriks.at(r));
        item->setFlags(Qt::ItemIsEnabled);
        m_table->setItem(r, 0, item);
        auto *box = new QComboBox(m_table);
        box->setObjectName(QStringLiteral("cbZuordnung%1").arg(r));
        box->addItem(QStringLiteral("<nicht zählen>"));
        for (const PlanActual::PlanCategory &c : PlanActual::planCategories())
            box->addItem(c.name);
        box->setCurrentIndex(mapping.planCategory(rubriks.at(r)) + 1);
        m_table->setCellWidget(r, 1, box);
    }
    layout->addWidget(m_table);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("butOk"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(520, 420);
}

PlanActual::Mapping PlanActualMappingDialog::mapping() const
{
    PlanActual::Mapping m = m_mapping;
    for (int r = 0; r < m_table->rowCount(); ++r)
        m.set(m_table->item(r, 0)->text(), static_cast<QComboBox *>(m_table->cellWidget(r, 1))->currentIndex() - 1);
    return m;
}
