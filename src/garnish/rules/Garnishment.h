#pragma once

#include "core/GarnishmentGrid.h"

#include <QString>

#include <functional>
#include <optional>

class Database;
class DataSet;

// The garnishment table: generating it from the base values and finding the garnishable
// part of a net income in it, for the Pfändung page and for a budget plan alike.

inline const QString MissingGarnishmentTableMessage =
    QStringLiteral("Pfändungstabelle nicht vorhanden!\rInitialisieren Sie die Pfändungstabelle über <Globale Einstellungen>.");
inline const QString NoNetIncomeMessage = QStringLiteral("Kein Nettogehalt eingegeben!");
// Searching or printing before the page's table was loaded.
inline const QString TableNotActiveMessage =
    QStringLiteral("Die Pfändungstabelle ist noch nicht geladen.\rKlicken Sie bitte zuerst auf \"Aktivieren\".");

// Reopens the table query and answers whether it holds a row; the query is closed after.
// The caller shows MissingGarnishmentTableMessage when it answers false.
bool GarnishmentTableExists(DataSet &qrPfaendung);

// The base values of the current row of `qrPfand` with the values typed but not yet
// stored; an empty value counts as 0, and so does every value when there is no row.
GarnishmentBase garnishmentBaseOf(DataSet &qrPfand);

// Replaces the whole table by the rows generated from the base values, through the
// table query. Base values that cannot be generated from are refused with a UserWarning
// before anything changes; emptying and generating are one transaction, so a failure
// leaves the old table whole. `progress` hears (rows written, rows in all).
void BuildGarnishmentTable(DataSet &qrPfand, DataSet &qrPfaendung, DataSet &tbPfaendung,
                           const std::function<void(int, int)> &progress = {});

// Where the table ends, read from the table itself (its first and last rows): the lookup
// and its limits must come from the same rows, also when base values were changed and
// saved without building the table anew. Beyond the last row every euro is garnishable;
// below the end of the first range nothing is.
struct GarnishmentLimits
{
    bool known = false;   // false for an empty or closed table: no amount beyond it
    Money lower;          // one cent above the end of the first row
    Money upper;          // end of the last row; the excess counts from one cent above it
};
GarnishmentLimits garnishmentLimits(const DataSet &qrPfaendung);

// Whether the stored table is the one the stored base values generate. Without base values
// or without a table there is nothing to compare, and the answer is yes.
bool garnishmentTableMatchesBase(const Database &db);
inline const QString TableNotRebuiltMessage =
    QStringLiteral("Die gespeicherten Grundwerte passen nicht zur Pfändungstabelle: Die Tabelle wurde noch nicht neu "
                   "erstellt. Gerechnet wird mit der Tabelle, wie sie gespeichert ist.");

// The column of a number of dependants ("Pfand0" … "Pfand5"); empty for a negative number.
QString garnishmentColumn(int dependants);

// The last row (in the query's order) whose range holds `net`, or -1.
int findGarnishmentRow(DataSet &qrPfaendung, Money net);

// The amount when no row holds `net`: 0.00, or above the table the last row's amount plus
// the excess. Moves the query to the row where the search ended. `dependants` is asked
// only when a column has to be chosen (it may throw a conversion message).
Money amountOutsideTable(DataSet &qrPfaendung, Money net, const std::function<int()> &dependants);

struct GarnishmentResult
{
    bool found = false;
    std::optional<Money> amount;   // none for a row found with a negative number of dependants
};

// The garnishable part of `net` with `dependants` persons, from the open table query;
// the row found (or where the search ended) becomes current.
GarnishmentResult GarnishableAmount(DataSet &qrPfaendung, Money net, int dependants);

// Looks up the current budget plan's `PfandNetto` with its `Bud_Personen` and stores the
// result in its `Pfand`. Answers the warning to show when the plan has no net income
// (nothing changes then), or an empty string.
QString UpdateBudgetPfand(DataSet &qrBudget, DataSet &qrPfaendung);
