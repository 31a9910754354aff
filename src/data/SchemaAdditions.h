#pragma once

#include "data/Schema.h"

// Tables that came after the first layout, each group in a file of its own. A group may also
// add columns to a table defined before it (find it in `tables` by name). Files older than
// the group get its tables and columns through the migration step that brought them.
namespace SchemaAdditions {

// Clients, their creditors' claims, settlement plans and account certificates (step 3).
void appendDebtCounselling(QVector<TableDef> &tables);

// Bank statement import and plan against actual (step 4).
void appendStatementImport(QVector<TableDef> &tables);

// The definition named `name` inside `tables` (case ignored), or nullptr.
TableDef *find(QVector<TableDef> &tables, const QString &name);

} // namespace SchemaAdditions
