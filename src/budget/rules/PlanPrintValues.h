#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

class DataSet;

// The values a plan hands to its printouts, as the texts the templates show. In the order of
// the printouts' variable lists, so a template author finds them as they are declared.
namespace PlanPrintValues {

using Values = QList<QPair<QString, QString>>;

// "1.234,56 €"; an empty value is 0.
QString money(const QVariant &value);
// " 30,00 %": two decimals, padded to six characters, then the sign.
QString share(const QVariant &value);
// "3 Person(en)"; an empty value leaves only " Person(en)".
QString persons(const QVariant &value);
// A category's month total: the amount, or "---" where nothing falls due.
QString monthTotal(const QVariant &value);

// The 26 variables of "Haushaltsplan.rtf": heading, totals, shares and the surplus word.
Values householdPlan(const DataSet &plan, const QString &creditLine);
// The 125 variables of "Budgetplan.rtf": heading, totals and the twelve months per category.
Values budgetPlan(const DataSet &plan, const QString &creditLine);

} // namespace PlanPrintValues
