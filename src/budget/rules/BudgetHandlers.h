#pragma once

#include "budget/rules/BudgetCategory.h"
#include "budget/rules/BudgetRules.h"

#include "data/TdmHh.h"

#include <QObject>

class TdmMP;

// The event handlers of the budget queries under their own names; each is one call into
// the shared rule for its category. Installed once, when the data modules exist.
class BudgetHandlers : public QObject
{
    Q_OBJECT
public:
    BudgetHandlers(TdmHh &hh, TdmMP &mp);

    void qrBudgetAfterInsert(DataSet &ds);
    void qrBudgetAfterEdit(DataSet &ds) { BudgetRules::planEdited(ds); }
    void qrBudgetCalcFields(DataSet &ds) { BudgetRules::planTotals(ds); }

#define FINORRA_BUDGET_ITEM_HANDLERS(query, prefix)                                                        \
    void query##AfterInsert(DataSet &ds) { BudgetRules::newItem(ds, *m_hh.qrBudget); }                     \
    void query##AfterPost(DataSet &ds) { rollup(ds, QStringLiteral(prefix)); }                             \
    void query##AfterDelete(DataSet &ds) { rollup(ds, QStringLiteral(prefix)); }                           \
    void query##CalcFields(DataSet &ds) { BudgetRules::spreadItem(ds, BudgetCategories::byPrefix(QStringLiteral(prefix))); }

    FINORRA_BUDGET_ITEM_HANDLERS(qrBudEinkommen, "Ek")
    FINORRA_BUDGET_ITEM_HANDLERS(qrBudWohnkosten, "Wk")
    FINORRA_BUDGET_ITEM_HANDLERS(qrBudVersicherungen, "Vs")
    FINORRA_BUDGET_ITEM_HANDLERS(qrBudVerkehrskosten, "Vk")
    FINORRA_BUDGET_ITEM_HANDLERS(qrBudAllgemein, "Ak")
    FINORRA_BUDGET_ITEM_HANDLERS(qrBudLebenshaltung, "Lk")
    FINORRA_BUDGET_ITEM_HANDLERS(qrBudSonstKredite, "Sk")
    FINORRA_BUDGET_ITEM_HANDLERS(qrBudHausKredite, "Hk")
#undef FINORRA_BUDGET_ITEM_HANDLERS

private:
    void rollup(DataSet &items, const QString &prefix)
    {
        BudgetRules::rollup(items, *m_hh.qrBudget, BudgetCategories::byPrefix(prefix));
    }

    TdmHh &m_hh;
    TdmMP &m_mp;
};
