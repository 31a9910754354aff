#pragma once

#include <QString>

class DataModules;

// The help text that is current in the list, printed on its own.
namespace HelpPrintout {

inline const QString TemplateName = QStringLiteral("Programminfo.rtf");

void print(DataModules &dm);

} // namespace HelpPrintout
