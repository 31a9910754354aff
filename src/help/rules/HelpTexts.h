#pragma once

#include <QString>

class DataSet;

// Which help texts the help list shows.
namespace HelpTexts {

inline const QString AllSql = QStringLiteral("Select * from Programminfo order by rubrik");

// Every text whose heading contains `search`, whatever its case; quotes stay part of the text.
QString filterSql(const QString &search);

// Shows the texts of `sql` (a copy: it may be the set's own text), read-only (opened by a "Hilfe" button or the menu) or editable
// (opened by "Bearbeiten").
void show(DataSet &texts, QString sql, bool readOnly);

} // namespace HelpTexts
