#pragma once

#include <QString>

class DataSet;
struct BudgetCategory;
class TdmHh;
class TdmMP;

// The rules of budget plans and their items, whatever window edits them.
namespace BudgetRules {

// Declares the calculated fields of the plan and item queries.
void declareCalculatedFields(TdmHh &hh);

// A new plan belongs to the logged-in user.
void newPlan(DataSet &plan, const DataSet &aktUser);
// A plan that enters edit state carries today's date of change.
void planEdited(DataSet &plan);
// A new item belongs to the current plan; without any plan the insert is refused.
void newItem(DataSet &item, const DataSet &plan);
// The item's monthly amount and month schedule.
void spreadItem(DataSet &item, const BudgetCategory &category);
// Adds up the whole category into the plan's sums and posts the plan; the item cursor is
// left on the last row.
void rollup(DataSet &items, DataSet &plan, const BudgetCategory &category);
// Subtotal, credit room, surplus, shares and month nets of the plan row.
void planTotals(DataSet &plan);
// The warning that forbids deleting the current plan, or an empty string when it may go.
QString deleteRefusal(const TdmHh &hh);

inline const QString NoPlanWarning =
    QStringLiteral("Ein Datensatz kann nicht eingefügt werden!\rLegen Sie vorher einen Haushaltsplan an.");

} // namespace BudgetRules
