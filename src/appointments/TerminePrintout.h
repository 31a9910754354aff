#pragma once

#include <QString>

class DataModules;

// The printout of the current appointment selection, "Terminliste.rtf".
namespace TerminePrintout {

inline const QString TemplateName = QStringLiteral("Terminliste.rtf");

// Fills the template from the rows `qrTermine` holds now, with `longDate` as the heading of
// the list, and opens the result. Throws the data store's or the report engine's error.
void print(DataModules &dm, const QString &longDate);

} // namespace TerminePrintout
