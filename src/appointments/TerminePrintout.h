#pragma once

#include <QString>

class DataModules;

// The printout of the current appointment selection, "Terminliste.rtf".
namespace TerminePrintout {

inline const QString TemplateName = QStringLiteral("Terminliste.rtf");

// The heading of the list, naming what the selection `sql` holds: all dates or the day
// `longDate` (the calendar's, in the long pattern), open, done or both.
QString heading(const QString &sql, const QString &longDate);

// Fills the template from the rows `qrTermine` holds now, headed by what they are, and opens
// the result. Throws the data store's or the report engine's error.
void print(DataModules &dm, const QString &longDate);

} // namespace TerminePrintout
