#pragma once

#include <QString>

class DataModules;

// The printout of the whole garnishment table, "Pfaendungstabelle.rtf".
namespace GarnishPrintout {

inline const QString TemplateName = QStringLiteral("Pfaendungstabelle.rtf");

// "Der Betrag über 4866,30 € ist voll pfändbar." for the end of the table printed.
QString closingSentence(double nettobisende);

// Fills the template from the open table query and opens the result. Throws the data
// store's or the report engine's error; a closed table query fails before any file changes.
void print(DataModules &dm);

} // namespace GarnishPrintout
