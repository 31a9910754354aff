#pragma once

#include "hhbook/import/CsvStatement.h"

// Helpers shared by the CSV reader and the column mapping.
namespace CsvStatement {

// A column name without what stands in brackets ("Betrag (EUR)" → "Betrag ").
QString withoutBrackets(const QString &name);
// The roles the header's words name, by column; a column whose name is known to no role
// gets none.
QVector<QList<int ColumnMapping::*>> rolesOf(const QStringList &header);
// How well a line serves as the header: the number of known column names, if it names a
// date and an amount (or debit and credit); 0 otherwise.
int headerScore(const QStringList &fields);
// -1 for S, Soll, D, DBIT, "-"; 1 for H, Haben, C, CRDT, "+"; 0 for anything else.
int indicatorSign(const QString &text);

} // namespace CsvStatement
