#include "budget/BudgetModule.h"

#include "budget/BudgetPage.h"
#include "budget/rules/BudgetHandlers.h"
#include "data/DataModules.h"

BudgetModule::BudgetModule(DataModules &dm) : m_dm(dm)
{
    m_info = {QStringLiteral("tbsBudget"), QStringLiteral("Budget"), QStringLiteral("Budget"),
              QStringLiteral("Budgetplanung"), QStringLiteral("Budget"), 4, true};
    if (!dm.dmHh->findChild<BudgetHandlers *>())
        new BudgetHandlers(*dm.dmHh, *dm.dmMP);
}

QWidget *BudgetModule::createPage(QWidget *parent)
{
    return new BudgetPage(m_dm, parent);
}

void BudgetModule::activate()
{
    TdmHh *hh = m_dm.dmHh.get();
    for (DataSet *ds : {hh->qrBudget, hh->qrBudAllgemein, hh->qrBudVersicherungen, hh->qrBudEinkommen,
                        hh->qrBudVerkehrskosten, hh->qrBudSonstKredite, hh->qrBudHausKredite, hh->qrBudWohnkosten,
                        hh->qrBudLebenshaltung})
        ds->reopen();
}

QList<DataSet *> BudgetModule::pendingSets() const
{
    // Items first, so their rollups post into the plan before the plan itself.
    TdmHh *hh = m_dm.dmHh.get();
    return {hh->qrBudEinkommen, hh->qrBudWohnkosten, hh->qrBudVersicherungen, hh->qrBudVerkehrskosten,
            hh->qrBudAllgemein, hh->qrBudLebenshaltung, hh->qrBudSonstKredite, hh->qrBudHausKredite,
            hh->qrBudget};
}
