#include "budget/rules/BudgetHandlers.h"

#include "data/TdmHh.h"
#include "data/TdmMP.h"

BudgetHandlers::BudgetHandlers(TdmHh &hh, TdmMP &mp) : QObject(&hh), m_hh(hh), m_mp(mp)
{
    setObjectName(QStringLiteral("budgetHandlers"));
    BudgetRules::declareCalculatedFields(hh);

    DataSet *plan = hh.qrBudget;
    plan->afterInsert = [this](DataSet &ds) { qrBudgetAfterInsert(ds); };
    plan->afterEdit = [this](DataSet &ds) { qrBudgetAfterEdit(ds); };
    plan->onCalcFields = [this](DataSet &ds) { qrBudgetCalcFields(ds); };

    auto wire = [this](DataSet *q, void (BudgetHandlers::*afterInsert)(DataSet &),
                       void (BudgetHandlers::*afterPost)(DataSet &), void (BudgetHandlers::*afterDelete)(DataSet &),
                       void (BudgetHandlers::*calc)(DataSet &)) {
        q->afterInsert = [this, afterInsert](DataSet &ds) { (this->*afterInsert)(ds); };
        q->afterPost = [this, afterPost](DataSet &ds) { (this->*afterPost)(ds); };
        q->afterDelete = [this, afterDelete](DataSet &ds) { (this->*afterDelete)(ds); };
        q->onCalcFields = [this, calc](DataSet &ds) { (this->*calc)(ds); };
    };
#define FINORRA_WIRE(query)                                                                                    \
    wire(hh.query, &BudgetHandlers::query##AfterInsert, &BudgetHandlers::query##AfterPost,                     \
         &BudgetHandlers::query##AfterDelete, &BudgetHandlers::query##CalcFields)
    FINORRA_WIRE(qrBudEinkommen);
    FINORRA_WIRE(qrBudWohnkosten);
    FINORRA_WIRE(qrBudVersicherungen);
    FINORRA_WIRE(qrBudVerkehrskosten);
    FINORRA_WIRE(qrBudAllgemein);
    FINORRA_WIRE(qrBudLebenshaltung);
    FINORRA_WIRE(qrBudSonstKredite);
    FINORRA_WIRE(qrBudHausKredite);
#undef FINORRA_WIRE
}

void BudgetHandlers::qrBudgetAfterInsert(DataSet &ds)
{
    BudgetRules::newPlan(ds, *m_mp.qrAktUser);
}
