#pragma once

#include <QString>

class DataModules;

// The three printouts of the Budget page. Each fills its template and opens the result;
// errors of the data store and the report engine are thrown to the page.
namespace BudgetPrintouts {

inline const QString HouseholdPlanTemplate = QStringLiteral("Haushaltsplan.rtf");
inline const QString BudgetPlanTemplate = QStringLiteral("Budgetplan.rtf");
inline const QString BlankFormTemplate = QStringLiteral("HaushaltsplanBlanko.rtf");
inline const QString NoPlanWarning = QStringLiteral("Für den Ausdruck ist kein Haushaltsplan vorhanden!");

// "HH - Monat": the plan with monthly averages, shares and the items of each category.
void printHouseholdPlan(DataModules &dm);
// "&Budgetplan": the plan as a twelve-month table.
void printBudgetPlan(DataModules &dm);
// "Blankoformular": an empty form; needs no plan.
void printBlankForm(DataModules &dm);

} // namespace BudgetPrintouts
