#include "budget/BudgetPage.h"

#include "budget/BudgetChartTab.h"
#include "budget/BudgetItemTab.h"
#include "budget/BudgetPrintouts.h"
#include "budget/BudgetTabTexts.h"
#include "budget/PlanDisplay.h"
#include "budget/PlanTitleCheck.h"
#include "budget/TFormBudgetSuchen.h"
#include "budget/rules/BudgetCategory.h"
#include "core/GermanFormat.h"
#include "data/DataModules.h"
#include "garnish/rules/Garnishment.h"
#include "ui/DbEdit.h"
#include "ui/DbLabel.h"
#include "ui/DbNavigator.h"
#include "ui/Dialogs.h"
#include "ui/EditMask.h"
#include "ui/Guard.h"
#include "ui/Help.h"
#include "ui/Icons.h"
#include "ui/RecordToolBar.h"
#include "ui/Printout.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QTabBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

DbLabel *valueLabel(DataSet *ds, const QString &field, QWidget *parent, bool bold = false)
{
    auto *l = new DbLabel(ds, field, parent);
    l->setObjectName(QStringLiteral("lbl") + field);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setAutoFillBackground(true);
    l->setStyleSheet(bold ? QStringLiteral("background: white; padding: 1px 4px; font-weight: bold;")
                          : QStringLiteral("background: white; padding: 1px 4px;"));
    return l;
}

// Stores the plan, then looks up its garnishable amount. A plan without a title is not
// stored, so nothing is looked up; one without a net income is stored and the field asked for.
void saveAndUpdatePfand(DataModules &dm, QLineEdit *title, QWidget *page)
{
    guarded([&] {
        DataSet *plan = dm.dmHh->qrBudget;
        PlanTitleCheck::save(plan, title);
        if (plan->isPending())
            return;
        const QString warning = UpdateBudgetPfand(*plan, *dm.dmExtras->qrPfaendung);
        if (warning.isEmpty())
            return;
        ShowMsg(warning, mkWarning);
        if (auto *net = page->findChild<QWidget *>(QStringLiteral("dbeNetto")))
            net->setFocus();
    });
}

} // namespace

BudgetPage::BudgetPage(DataModules &dm, QWidget *parent) : QWidget(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("budgetPage"));
    DataSet *plan = dm.dmHh->qrBudget;

    auto *toolBar = new RecordToolBar(plan, this);
    toolBar->setObjectName(QStringLiteral("budToolBar"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar->setIconSize(QSize(16, 16));
    toolBar->addButton(QStringLiteral("budTbutNeu"), QStringLiteral("&Bearbeiten"),
                       Icons::standard(QStyle::SP_FileDialogDetailedView), [this] { openPlanList(); });
    toolBar->addSaveButton(QStringLiteral("budtbutSpeichern"), QStringLiteral("&Speichern"));
    toolBar->setSaveAction([this] { saveAndUpdatePfand(m_dm, m_title, this); });
    toolBar->addCancelButton(QStringLiteral("budTbutAbbruch"), QStringLiteral("&Abbruch"));
    const QIcon print = Icons::standard(QStyle::SP_FileDialogContentsView);
    struct PrintButton
    {
        const char *name, *caption;
        void (*print)(DataModules &);
    };
    for (const PrintButton &p : {PrintButton{"budTbutHhMonat", "HH - Monat", &BudgetPrintouts::printHouseholdPlan},
                              PrintButton{"budTbutBudgetplan", "B&udgetplan", &BudgetPrintouts::printBudgetPlan},
                              PrintButton{"budTbutBlanko", "Blankoformular", &BudgetPrintouts::printBlankForm}})
        Printout::offerPdf(toolBar->addButton(QLatin1String(p.name), QString::fromUtf8(p.caption), print,
                                              [this, run = p.print] { guarded([&] { run(m_dm); }); }));
    toolBar->addButton(QStringLiteral("budTbutHilfe"), QStringLiteral("Hilfe"),
                       Icons::standard(QStyle::SP_DialogHelpButton), [this] { Help::open(QStringLiteral("Budget"), this); });

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("pghhdet"));
    // Only the tab bar takes the focus, once, in the page's order.
    m_tabs->setFocusPolicy(Qt::NoFocus);
    m_tabs->tabBar()->setFocusPolicy(Qt::TabFocus);
    for (const BudgetCategory &c : BudgetCategories::all()) {
        auto *tab = new BudgetItemTab(*dm.dmHh, c, m_tabs);
        m_tabs->addTab(tab, BudgetTabTexts::forPrefix(c.prefix).tab);
    }
    m_tabs->addTab(new BudgetChartTab(plan, m_tabs), QStringLiteral("Grafik"));

    auto *middle = new QHBoxLayout;
    middle->addWidget(buildPlanData());
    middle->addWidget(buildTotals(), 1);

    // On a small screen the page scrolls instead of pushing the totals out of the window.
    auto *content = new QWidget;
    content->setObjectName(QStringLiteral("budContent"));
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildHeader());
    layout->addWidget(toolBar);
    layout->addLayout(middle);
    layout->addWidget(m_tabs, 1);
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("budScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    linkFocusChain(toolBar);

    for (auto signal : {&DataSet::currentRowChanged, &DataSet::rowsReset, &DataSet::stateChanged})
        connect(plan, signal, this, &BudgetPage::updateSurplus);
    connect(plan, &DataSet::rowChanged, this, &BudgetPage::updateSurplus);
    connect(plan, &DataSet::fieldChanged, this, &BudgetPage::updateSurplus);
    updateSurplus();
}

QWidget *BudgetPage::buildHeader()
{
    DataSet *plan = m_dm.dmHh->qrBudget;
    auto *header = new QWidget(this);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(4, 0, 4, 0);
    auto *caption = new QLabel(QStringLiteral("Bezeichnung :"), header);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    m_title = new DbEdit(plan, QStringLiteral("BudTitel"), header);
    m_title->setObjectName(QStringLiteral("dbeBudTitel"));
    m_title->setFont(bold);
    auto *navigator = new DbNavigator(plan, header);
    navigator->setObjectName(QStringLiteral("budNavigator"));
    row->addWidget(caption);
    row->addWidget(m_title, 1);
    row->addSpacing(12);
    row->addWidget(navigator);
    return header;
}

QWidget *BudgetPage::buildPlanData()
{
    DataSet *plan = m_dm.dmHh->qrBudget;
    auto *box = new QGroupBox(QStringLiteral("Plandaten"), this);
    auto *grid = new QGridLayout(box);
    auto *date = new DbEdit(plan, QStringLiteral("Bud_dat"), box, EditMask::Date);
    date->setObjectName(QStringLiteral("dbeBudDat"));
    auto *netto = new DbEdit(plan, QStringLiteral("PfandNetto"), box);
    netto->setObjectName(QStringLiteral("dbeNetto"));
    auto *persons = new DbEdit(plan, QStringLiteral("Bud_Personen"), box);
    persons->setObjectName(QStringLiteral("dbePerson"));
    persons->setDisplayFormatter(PlanDisplay::persons);
    auto *pfaendung = new QToolButton(box);
    pfaendung->setObjectName(QStringLiteral("budsbutPfaendung"));
    pfaendung->setText(QStringLiteral("Pfändung"));
    connect(pfaendung, &QToolButton::clicked, this, [this] { saveAndUpdatePfand(m_dm, m_title, this); });
    auto *pfand = valueLabel(plan, QStringLiteral("Pfand"), box);
    // Wide enough for a date and a five-digit amount when the page is squeezed.
    const int inputWidth = date->fontMetrics().horizontalAdvance(QStringLiteral("99.999,99 €")) + 16;
    for (QWidget *w : {static_cast<QWidget *>(date), static_cast<QWidget *>(netto), static_cast<QWidget *>(persons)}) {
        w->setMinimumWidth(inputWidth);
        w->setMaximumWidth(std::max(130, inputWidth));
    }
    grid->addWidget(new QLabel(QStringLiteral("Erf.-Datum :"), box), 0, 0, Qt::AlignRight);
    grid->addWidget(date, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Nettoeinkommen :"), box), 1, 0, Qt::AlignRight);
    grid->addWidget(netto, 1, 1);
    auto *personsCaption = new QLabel(PlanDisplay::DependantsCaption, box);
    personsCaption->setObjectName(QStringLiteral("budlbPerson"));
    for (QWidget *w : {static_cast<QWidget *>(personsCaption), static_cast<QWidget *>(persons)}) {
        w->setToolTip(PlanDisplay::DependantsHelp);
        w->setWhatsThis(PlanDisplay::DependantsHelp);
    }
    grid->addWidget(personsCaption, 2, 0, Qt::AlignRight);
    grid->addWidget(persons, 2, 1);
    grid->addWidget(pfaendung, 3, 0, Qt::AlignRight);
    grid->addWidget(pfand, 3, 1);
    grid->setRowStretch(4, 1);
    return box;
}

QWidget *BudgetPage::buildTotals()
{
    DataSet *plan = m_dm.dmHh->qrBudget;
    auto *box = new QGroupBox(QStringLiteral("Summen je Monat"), this);
    auto *grid = new QGridLayout(box);
    grid->setHorizontalSpacing(6);
    struct Cell { const char *caption; const char *field; const char *shareField; bool bold; };
    const Cell cells[4][3] = {
        {{"Einkommen :", "Sum_Ek", "Pro_EK", true}, {"./. Allgemein :", "Sum_Ak", "Pro_Ak", false}, {"./. Sonst K :", "Sum_Sk", "Pro_Sk", false}},
        {{"./. Wohnung :", "Sum_Wk", "Pro_WK", false}, {"= ZwiSu :", "Zwisu", nullptr, true}, {"= Max Haus :", "MaxHaus", nullptr, true}},
        {{"./. Versich. :", "Sum_Vs", "Pro_Vs", false}, {"./. LUH :", "Sum_Lk", "Pro_Lk", false}, {"./. Hauskredite :", "Sum_Hk", "Pro_Hk", false}},
        {{"./. Verkehr  :", "Sum_Vk", "Pro_VK", false}, {"= Max - K :", "MaxKredit", nullptr, true}, {"= Überschuss :", "Defizit", nullptr, true}},
    };
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            const Cell &cell = cells[r][c];
            auto *caption = new QLabel(QString::fromUtf8(cell.caption), box);
            if (cell.bold) {
                QFont f = caption->font();
                f.setBold(true);
                caption->setFont(f);
            }
            DbLabel *value = valueLabel(plan, QLatin1String(cell.field), box, cell.bold);
            grid->addWidget(caption, r, c * 4, Qt::AlignRight);
            grid->addWidget(value, r, c * 4 + 1);
            if (cell.shareField) {
                DbLabel *pct = valueLabel(plan, QLatin1String(cell.shareField), box);
                pct->setFormatter(PlanDisplay::share);
                grid->addWidget(pct, r, c * 4 + 2);
            }
            if (QLatin1String(cell.field) == QLatin1String("Defizit")) {
                m_lblDefizit = caption;
                m_lblDefizit->setObjectName(QStringLiteral("lblDefizit"));
                m_defizit = value;
                m_defizit->setObjectName(QStringLiteral("dbeDefizit"));
            }
        }
        grid->setColumnMinimumWidth(3, 18);
        grid->setColumnMinimumWidth(7, 18);
    }
    // Room for five-digit amounts and full shares, so the columns do not jump as values
    // come and go; a longer value widens its label (the label's own minimum) instead of
    // being cut.
    QFont boldFont = box->font();
    boldFont.setBold(true);
    const int amountWidth = QFontMetrics(boldFont).horizontalAdvance(QStringLiteral("-99.999,99 €")) + 12;
    const int shareWidth = box->fontMetrics().horizontalAdvance(QStringLiteral("100,00 %")) + 12;
    for (int c = 0; c < 3; ++c) {
        grid->setColumnMinimumWidth(c * 4 + 1, amountWidth);
        grid->setColumnMinimumWidth(c * 4 + 2, shareWidth);
    }
    return box;
}

void BudgetPage::linkFocusChain(RecordToolBar *toolBar)
{
    // Tab walks the page as it is read: the plan's title and data, then the item area of
    // the category shown, and last the plan navigator and the plan's buttons, which also
    // answer to their access keys. Inputs of hidden tabs are skipped by Qt.
    QList<QWidget *> chain{m_title};
    for (const char *name : {"dbeBudDat", "dbeNetto", "dbePerson", "budsbutPfaendung"})
        chain << findChild<QWidget *>(QLatin1String(name));
    chain << m_tabs->tabBar();
    for (int i = 0; i < m_tabs->count(); ++i)
        if (auto *tab = qobject_cast<BudgetItemTab *>(m_tabs->widget(i)))
            chain << tab->focusChain();
    auto *navigator = findChild<DbNavigator *>(QStringLiteral("budNavigator"));
    chain << navigator->firstButton() << navigator->priorButton() << navigator->nextButton() << navigator->lastButton();
    for (QToolButton *b : toolBar->buttons())
        chain << b;
    for (int i = 0; i + 1 < chain.size(); ++i)
        QWidget::setTabOrder(chain.at(i), chain.at(i + 1));
}

QToolButton *BudgetPage::button(const QString &objectName) const
{
    return findChild<QToolButton *>(objectName);
}

void BudgetPage::updateSurplus()
{
    DataSet *plan = m_dm.dmHh->qrBudget;
    if (!plan->isOpen() || plan->isEmpty()) {
        m_lblDefizit->setText(QStringLiteral("= Überschuss :"));
        m_defizit->setStyleSheet(QStringLiteral("background: white; padding: 1px 4px; font-weight: bold;"));
        return;
    }
    const bool surplus = plan->asMoney(QStringLiteral("Defizit")) > Money();
    m_lblDefizit->setText(surplus ? QStringLiteral("= Überschuss") : QStringLiteral("= Defizit"));
    m_defizit->setStyleSheet(surplus ? QStringLiteral("background: #00ff00; padding: 1px 4px; font-weight: bold;")
                                     : QStringLiteral("background: #ff0000; padding: 1px 4px; font-weight: bold;"));
}


void BudgetPage::openPlanList()
{
    TFormBudgetSuchen list(m_dm, this);
    list.exec();
}
