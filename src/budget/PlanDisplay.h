#pragma once

#include <QString>
#include <QVariant>

// How the plan windows show a plan's values where the usual display form will not do.
namespace PlanDisplay {

// A category's share of the income: "5000,00 %", without thousands separators.
QString share(const QVariant &value);
// The household's size: "4 Pers."; empty when none is entered.
QString persons(const QVariant &value);

} // namespace PlanDisplay
