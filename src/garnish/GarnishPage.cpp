#include "garnish/GarnishPage.h"

#include "core/GermanFormat.h"
#include "data/DataError.h"
#include "data/DataModules.h"
#include "garnish/GarnishPrintout.h"
#include "garnish/rules/Garnishment.h"
#include "ui/DbGrid.h"
#include "ui/Guard.h"
#include "ui/Help.h"
#include "ui/Icons.h"
#include "ui/Printout.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QLabel *resultLabel(const QString &name, QWidget *parent)
{
    auto *l = new QLabel(parent);
    l->setObjectName(name);
    l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QStringLiteral("99.999,99 € Personen")) + 12);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

} // namespace

GarnishPage::GarnishPage(DataModules &dm, QWidget *parent) : QWidget(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("pfaendungPage"));
    DataSet *table = dm.dmExtras->qrPfaendung;

    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("pfToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->setIconSize(QSize(16, 16));
    auto add = [bar](const char *name, const QString &caption, QStyle::StandardPixmap icon, auto action) {
        QAction *a = bar->addAction(Icons::standard(icon), caption);
        a->setObjectName(QLatin1String(name));
        QObject::connect(a, &QAction::triggered, bar, action);
        bar->widgetForAction(a)->setObjectName(QLatin1String(name));
        return a;
    };
    add("pftbutSchliessen", QStringLiteral("S&chließen"), QStyle::SP_DialogCloseButton,
        [table] { guarded([table] { table->close(); }); });
    add("pftbutAktivieren", QStringLiteral("&Aktivieren"), QStyle::SP_BrowserReload, [this] { activateTable(); });
    Printout::offerPdf(qobject_cast<QToolButton *>(bar->widgetForAction(
        add("pftbutDrucken", QStringLiteral("D&rucken"), QStyle::SP_FileDialogContentsView, [this] { print(); }))));
    add("pftbutHilfe", QStringLiteral("Hilfe"), QStyle::SP_DialogHelpButton,
        [this] { Help::open(QStringLiteral("Pfändung"), this); });

    m_grid = new DbGrid(table,
                        {{QStringLiteral("NettoVon"), QStringLiteral("Netto von"), 110},
                         {QStringLiteral("NettoBis"), QStringLiteral("Netto bis"), 110},
                         {QStringLiteral("Pfand0"), QStringLiteral("0"), 100},
                         {QStringLiteral("Pfand1"), QStringLiteral("1"), 100},
                         {QStringLiteral("Pfand2"), QStringLiteral("2"), 100},
                         {QStringLiteral("Pfand3"), QStringLiteral("3"), 100},
                         {QStringLiteral("Pfand4"), QStringLiteral("4"), 100},
                         {QStringLiteral("Pfand5"), QStringLiteral("5 und mehr"), 100}},
                        this);
    m_grid->setObjectName(QStringLiteral("dbgPfand"));
    m_grid->setReadOnly(true);

    // Base values saved without building the table anew would otherwise go unnoticed: the
    // lookup keeps reading the old rows.
    m_stale = new QLabel(TableNotRebuiltMessage, this);
    m_stale->setObjectName(QStringLiteral("lblPfTabelleVeraltet"));
    m_stale->setWordWrap(true);
    m_stale->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold; padding: 2px 6px;"));
    m_stale->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar);
    layout->addWidget(buildInput());
    layout->addWidget(m_stale);
    layout->addWidget(m_grid, 1);
}

void GarnishPage::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    checkTable();
}

void GarnishPage::checkTable()
{
    guarded([this] { m_stale->setVisible(!garnishmentTableMatchesBase(m_dm.db)); });
}

GarnishPage::~GarnishPage() = default;

QWidget *GarnishPage::buildInput()
{
    auto *row = new QWidget(this);
    auto *h = new QHBoxLayout(row);
    h->setContentsMargins(6, 4, 6, 4);

    auto *input = new QGroupBox(row);
    input->setObjectName(QStringLiteral("gbPfSuchen"));
    auto *g = new QGridLayout(input);
    m_net = new QLineEdit(input);
    m_net->setObjectName(QStringLiteral("pfEsuchen"));
    m_net->setMaximumWidth(120);
    m_dependants = new QLineEdit(input);
    m_dependants->setObjectName(QStringLiteral("eUh"));
    m_dependants->setToolTip(QStringLiteral("Zahl der Personen, denen der Schuldner Unterhalt leistet, ohne ihn selbst."));
    m_dependants->setMaximumWidth(60);
    auto *find = new QPushButton(QStringLiteral("&Suchen"), input);
    find->setObjectName(QStringLiteral("pfbutSuchen"));
    find->setDefault(true);
    g->addWidget(new QLabel(QStringLiteral("Nettogehalt"), input), 0, 0);
    g->addWidget(new QLabel(QStringLiteral("Uhpfl. P."), input), 0, 1);
    g->addWidget(m_net, 1, 0);
    g->addWidget(m_dependants, 1, 1);
    g->addWidget(find, 1, 2);
    connect(find, &QPushButton::clicked, this, &GarnishPage::search);
    // A page has no default button of its own: Enter in either field searches.
    connect(m_net, &QLineEdit::returnPressed, this, &GarnishPage::search);
    connect(m_dependants, &QLineEdit::returnPressed, this, &GarnishPage::search);
    setTabOrder(m_net, m_dependants);
    setTabOrder(m_dependants, find);

    auto *result = new QGroupBox(QStringLiteral("Ergebnis"), row);
    result->setObjectName(QStringLiteral("gbPfErgebnis"));
    auto *r = new QGridLayout(result);
    m_lbNetto = resultLabel(QStringLiteral("lbnetto"), result);
    m_lbUnter = resultLabel(QStringLiteral("lbUnter"), result);
    m_lbPfand = resultLabel(QStringLiteral("lbPfand"), result);
    const QList<QPair<QString, QLabel *>> lines = {{QStringLiteral("Nettogehalt :"), m_lbNetto},
                                                   {QStringLiteral("Unterhaltspflichten :"), m_lbUnter},
                                                   {QStringLiteral("Pfändungsbetrag :"), m_lbPfand}};
    for (int i = 0; i < lines.size(); ++i) {
        r->addWidget(new QLabel(lines.at(i).first, result), i, 0);
        r->addWidget(lines.at(i).second, i, 1);
    }

    h->addWidget(input);
    h->addWidget(result);
    h->addStretch(1);
    return row;
}

void GarnishPage::activateTable()
{
    guarded([this] {
        m_grid->setReadOnly(true);
        m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
        m_dm.dmExtras->qrPfaendung->reopen();
    });
    checkTable();
}

void GarnishPage::search()
{
    if (m_net->text().trimmed().isEmpty()) {
        ShowMsg(NoNetIncomeMessage, mkWarning);
        m_net->setFocus();
        return;
    }
    if (m_dependants->text().trimmed().isEmpty()) {
        ShowMsg(QStringLiteral("Keine unterhaltspflichtige Person eingegeben!"), mkWarning);
        m_dependants->setFocus();
        return;
    }
    checkTable();
    guarded([this] {
        DataSet &table = *m_dm.dmExtras->qrPfaendung;
        const Money net = GermanFormat::parseMoney(m_net->text());
        if (!table.isOpen())
            throw UserWarning(TableNotActiveMessage);
        const QString typed = m_dependants->text();
        // Converted only where a column must be chosen; a negative count chooses none,
        // and an amount left over from the last search must not stand beside it.
        auto dependants = [this, &typed] {
            const int d = GermanFormat::parseInteger(typed);
            if (d < 0) {
                m_lbPfand->clear();
                throw UserWarning(QStringLiteral("Die Zahl der unterhaltspflichtigen Personen darf nicht negativ sein."));
            }
            return d;
        };
        auto showInputs = [&] {
            m_lbNetto->setText(GermanFormat::currency(net));
            m_lbUnter->setText(typed + (typed.trimmed() == QLatin1String("1") ? QStringLiteral(" Person") : QStringLiteral(" Personen")));
        };
        const int row = findGarnishmentRow(table, net);
        if (row >= 0) {
            table.moveTo(row);
            showInputs();
            m_lbPfand->setText(
                GermanFormat::currency(Money::fromDouble(table.value(garnishmentColumn(dependants())).toDouble())));
            return;
        }
        const Money amount = amountOutsideTable(table, net, dependants);
        showInputs();
        m_lbPfand->setText(GermanFormat::currency(amount));
    });
}

void GarnishPage::print()
{
    guarded([this] { GarnishPrintout::print(m_dm); });
}
