#include "budget/TFormBudgetSuchen.h"

#include "budget/PlanDisplay.h"
#include "budget/PlanTitleCheck.h"
#include "budget/rules/BudgetRules.h"
#include "data/DataModules.h"
#include "ui/DbEdit.h"
#include "ui/DbGrid.h"
#include "ui/Dialogs.h"
#include "ui/EditMask.h"
#include "ui/Guard.h"
#include "ui/Icons.h"
#include "ui/RecordToolBar.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QStyle>
#include <QVBoxLayout>

TFormBudgetSuchen::TFormBudgetSuchen(DataModules &dm, QWidget *parent) : RecordDialog(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("TFormBudgetSuchen"));
    setWindowTitle(QStringLiteral("Liste der Haushaltspläne / Budgetpläne"));
    DataSet *plan = dm.dmHh->qrBudget;

    auto *bar = new RecordToolBar(plan, this);
    bar->addCloseButton(QStringLiteral("tbutSchliessen"), QStringLiteral("&Schließen"));
    bar->addNewButton(QStringLiteral("tbutNeu"), QStringLiteral("Neu"));
    bar->addSaveButton(QStringLiteral("tbutSpeichern"), QStringLiteral("Speichern"));
    bar->setSaveAction([this] { PlanTitleCheck::save(m_dm.dmHh->qrBudget, m_title); });
    bar->addCancelButton(QStringLiteral("tbutAbbruch"), QStringLiteral("Abbruch"));
    bar->addButton(QStringLiteral("tbutLoeschen"), QStringLiteral("Löschen"), Icons::standard(QStyle::SP_TrashIcon),
                   [this] { deletePlan(); });
    connect(bar, &RecordToolBar::closeRequested, this, &QDialog::close);

    auto *fields = new QGroupBox(QStringLiteral("Haushaltsplan"), this);
    auto *form = new QFormLayout(fields);
    form->setLabelAlignment(Qt::AlignRight);
    auto *date = new DbEdit(plan, QStringLiteral("Bud_dat"), fields, EditMask::Date);
    date->setObjectName(QStringLiteral("dbeBudDat"));
    date->setMaximumWidth(110);
    m_title = new DbEdit(plan, QStringLiteral("BudTitel"), fields);
    m_title->setObjectName(QStringLiteral("dbeBudTitel"));
    auto *netto = new DbEdit(plan, QStringLiteral("PfandNetto"), fields);
    netto->setObjectName(QStringLiteral("dbeNetto"));
    netto->setMaximumWidth(140);
    auto *persons = new DbEdit(plan, QStringLiteral("Bud_Personen"), fields);
    persons->setObjectName(QStringLiteral("dbePerson"));
    persons->setMaximumWidth(80);
    persons->setDisplayFormatter(PlanDisplay::persons);
    form->addRow(QStringLiteral("Datum :"), date);
    form->addRow(QStringLiteral("Bezeichnung :"), m_title);
    form->addRow(QStringLiteral("Nettoeinkommen :"), netto);
    persons->setToolTip(PlanDisplay::DependantsHelp);
    persons->setWhatsThis(PlanDisplay::DependantsHelp);
    form->addRow(PlanDisplay::DependantsCaption, persons);
    if (QWidget *caption = form->labelForField(persons))
        caption->setToolTip(PlanDisplay::DependantsHelp);
    bar->setFirstInput(date);

    auto *grid = new DbGrid(plan, {{QStringLiteral("Bud_dat"), QStringLiteral("Datum"), 100},
                                   {QStringLiteral("BudTitel"), QStringLiteral("Bezeichnung"), 300}},
                            this);
    grid->setObjectName(QStringLiteral("dbgPlaene"));
    grid->setReadOnly(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(bar);
    layout->addWidget(fields);
    layout->addWidget(grid, 1);
    resize(560, 480);
}


void TFormBudgetSuchen::deletePlan()
{
    const QString refusal = BudgetRules::deleteRefusal(*m_dm.dmHh);
    if (!refusal.isEmpty()) {
        ShowMsg(refusal, mkWarning);
        return;
    }
    if (AskYesNo(QStringLiteral("Möchten Sie den aktuellen Haushaltsplan löschen?"), mkWarning))
        m_dm.dmHh->qrBudget->remove();
}

bool TFormBudgetSuchen::canClose()
{
    DataSet *plan = m_dm.dmHh->qrBudget;
    if (!plan->isPending())
        return true;
    if (m_title->text().isEmpty()) {
        ShowMsg(QStringLiteral("Bezeichnung des Haushaltsplanes wurde nicht festgelegt!\rÄnderungen wurden nicht abgespeichert."),
                mkWarning);
        plan->cancel();
        return true;
    }
    guarded([plan] { plan->post(); });
    return true;   // the list closes in any case
}
