#pragma once

#include <QString>
#include <QVariant>

// How the plan windows show a plan's values where the usual display form will not do.
namespace PlanDisplay {

// A category's share of the income: "5000,00 %", without thousands separators.
QString share(const QVariant &value);
// The number of dependants: "2 Pers."; empty when none is entered.
QString persons(const QVariant &value);

// `Bud_Personen` is what the garnishment lookup takes as the number of dependants, so every
// plan window names it so: a household's size typed there (the debtor counted too) would
// garnish too little.
inline const QString DependantsCaption = QStringLiteral("Unterhaltspfl. Pers. :");
inline const QString DependantsHelp =
    QStringLiteral("Zahl der Personen, denen der Schuldner Unterhalt leistet, ohne ihn selbst. Nach ihr richtet sich "
                   "der pfändbare Betrag; wer allein lebt und niemandem Unterhalt leistet, hat 0.");

} // namespace PlanDisplay
