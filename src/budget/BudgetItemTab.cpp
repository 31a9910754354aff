#include "budget/BudgetItemTab.h"

#include "budget/BudgetTabTexts.h"
#include "budget/rules/BudgetCategory.h"
#include "budget/rules/BudgetRules.h"
#include "budget/rules/Spreading.h"
#include "data/TdmHh.h"
#include "ui/DbComboBox.h"
#include "ui/DbEdit.h"
#include "ui/DbGrid.h"
#include "ui/DbLabel.h"
#include "ui/Dialogs.h"
#include "ui/RecordToolBar.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

BudgetItemTab::BudgetItemTab(TdmHh &hh, const BudgetCategory &category, QWidget *parent)
    : QWidget(parent), m_hh(hh), m_category(category)
{
    const BudgetTabTexts &texts = BudgetTabTexts::forPrefix(category.prefix);
    const QString p = category.prefix.toLower();
    DataSet *items = category.query(hh);
    setObjectName(QStringLiteral("tab") + category.prefix);

    m_toolBar = new RecordToolBar(items, this);
    m_toolBar->setObjectName(p + QStringLiteral("ToolBar"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->addNewButton(p + QStringLiteral("TbutNeu"), texts.buttonPrefix + QStringLiteral("-Neu"));
    m_toolBar->addSaveButton(p + QStringLiteral("TbutSpeichern"), texts.buttonPrefix + QStringLiteral("-Speichern"));
    m_toolBar->addCancelButton(p + QStringLiteral("TbutAbbruch"), texts.buttonPrefix + QStringLiteral("-Abbruch"));
    m_toolBar->addDeleteButton(p + QStringLiteral("TbutLoeschen"), texts.buttonPrefix + QStringLiteral("-Löschen"), QString());
    m_toolBar->setDeleteQuestion([items, &category] {
        return QStringLiteral("Soll diese Position gelöscht werden?\r\r<") + items->asString(category.descriptionField)
               + u'>';
    });
    // A plan still being typed is stored before its first item refers to it.
    m_toolBar->setBeforeNew([&hh] {
        if (hh.qrBudget->isPending())
            hh.qrBudget->post();
    });
    m_toolBar->setSaveAction([this] { save(); });

    // Entry panel.
    auto *panel = new QGroupBox(texts.panel, this);
    panel->setObjectName(p + QStringLiteral("gbEingabe"));
    auto *form = new QFormLayout(panel);
    form->setLabelAlignment(Qt::AlignRight);
    QWidget *description = nullptr;
    if (texts.suggestions.isEmpty())
        description = new DbEdit(items, category.descriptionField, panel);
    else
        description = new DbComboBox(items, category.descriptionField, DbComboBox::Mode::FreeText, texts.suggestions, panel);
    description->setObjectName(p + QStringLiteral("dbeBez"));
    m_toolBar->setFirstInput(description);
    QStringList months;
    for (int m = 1; m <= 12; ++m)
        months << QStringLiteral("%1").arg(m, 2, 10, QChar(u'0'));
    auto *month = new DbComboBox(items, category.monthField, DbComboBox::Mode::ListOnly, months, panel);
    month->setObjectName(p + QStringLiteral("cbMonat"));
    auto *rhythm = new DbComboBox(items, category.rhythmField, DbComboBox::Mode::ListOnly, Spreading::rhythms(), panel);
    rhythm->setObjectName(p + QStringLiteral("cbZahlung"));
    auto *amount = new DbEdit(items, category.amountField, panel);
    amount->setObjectName(p + QStringLiteral("dbeBetrag"));
    auto *monthly = new DbLabel(items, QStringLiteral("Monat"), panel);
    monthly->setObjectName(p + QStringLiteral("lblMonat"));
    monthly->setFrameShape(QFrame::Panel);
    monthly->setFrameShadow(QFrame::Sunken);
    monthly->setAutoFillBackground(true);
    monthly->setStyleSheet(QStringLiteral("background: #fff8d6; font-weight: bold; padding: 2px 6px;"));
    form->addRow(QStringLiteral("Bezeichnung :"), description);
    form->addRow(QStringLiteral("Fälligkeit :"), month);
    form->addRow(QStringLiteral("Zahl.-Rhythmus :"), rhythm);
    form->addRow(QStringLiteral("Zahl-Betrag :"), amount);
    if (!category.remainingDebtField.isEmpty()) {
        auto *debt = new DbEdit(items, category.remainingDebtField, panel);
        debt->setObjectName(p + QStringLiteral("dbeValuta"));
        form->addRow(QStringLiteral("Restschulden :"), debt);
    }
    form->addRow(QStringLiteral("Monatsbetrag :"), monthly);
    panel->setMinimumWidth(330);
    panel->setMaximumWidth(380);

    // Item list with its heading bar.
    auto *listBox = new QGroupBox(texts.list, this);
    listBox->setObjectName(p + QStringLiteral("gbListe"));
    auto *heading = new QLabel(texts.heading, listBox);
    heading->setObjectName(p + QStringLiteral("lblKopf"));
    heading->setAlignment(Qt::AlignCenter);
    heading->setStyleSheet(QStringLiteral("background: #2f4f6f; color: white; font-weight: bold; padding: 3px;"));
    m_grid = new DbGrid(items,
                        {{category.descriptionField, QStringLiteral("Bezeichnung"), 220},
                         {category.monthField, QStringLiteral("Fäll.-Monat"), 80},
                         {QStringLiteral("Monat"), QStringLiteral("Monat"), 110},
                         {category.rhythmField, QStringLiteral("Zahlweise"), 120},
                         {category.amountField, QStringLiteral("Zahlbetrag"), 110}},
                        listBox);
    m_grid->setObjectName(p + QStringLiteral("dbgListe"));
    m_grid->setReadOnly(true);
    // The description takes the room that is left; the number columns keep their width.
    m_grid->horizontalHeader()->setStretchLastSection(false);
    m_grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_grid->horizontalHeader()->setMinimumSectionSize(60);
    auto *listLayout = new QVBoxLayout(listBox);
    listLayout->addWidget(heading);
    listLayout->addWidget(m_grid);

    // Keyboard order as the user fills in an item: the entry panel, then the buttons that
    // store it, then the list.
    m_focusChain << description << month << rhythm << amount;
    if (QWidget *debt = panel->findChild<QWidget *>(p + QStringLiteral("dbeValuta")))
        m_focusChain << debt;
    for (QToolButton *b : m_toolBar->buttons())
        m_focusChain << b;
    m_focusChain << m_grid;

    auto *body = new QHBoxLayout;
    body->addWidget(panel, 0, Qt::AlignTop);
    body->addWidget(listBox, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->addWidget(m_toolBar);
    layout->addLayout(body, 1);
}

void BudgetItemTab::save()
{
    DataSet *items = m_category.query(m_hh);
    if (!items->isPending())
        return;
    // Income is the first thing people enter, so it says plainly that a plan comes first.
    if (m_category.prefix == QLatin1String("Ek") && (!m_hh.qrBudget->isOpen() || m_hh.qrBudget->isEmpty())) {
        ShowMsg(BudgetRules::NoPlanWarning, mkWarning);
        items->cancel();
        return;
    }
    items->post();
}
