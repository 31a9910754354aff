#pragma once

#include "hhbook/rules/HhbookRules.h"

#include <QList>
#include <QPair>
#include <QString>

class DataModules;

// The printout of the current book, "Haushaltsbuch.rtf": the listed bookings with the
// summary of the evaluation just made.
namespace HhbookPrintout {

inline const QString TemplateName = QStringLiteral("Haushaltsbuch.rtf");

// The report variables with their values, in the order of the variable list. The period
// (`ekvon`, `ekbis`) and `ekfilter` say what the list covers: the filter in force, or
// without one all bookings from the first to the last.
QList<QPair<QString, QString>> variables(DataModules &dm, const HhbookRules::Summary &summary,
                                         const HhbookRules::ActiveFilter &filter = std::nullopt);

// Fills the template from the listed bookings and opens the result. Throws the data store's
// or the report engine's error.
void print(DataModules &dm, const HhbookRules::Summary &summary, const HhbookRules::ActiveFilter &filter = std::nullopt);

} // namespace HhbookPrintout
