#pragma once

#include <QString>

// Settings of one user that belong to the workstation rather than to the office's database:
// kept in the user's settings file of this program (QSettings, INI format), under the
// user's short name, so colleagues sharing a login of the computer keep their own choice.
namespace PrintoutSettings {

// "Ausdrucke als PDF": the user's printouts come out as PDF instead of RTF.
bool pdf(const QString &shortName);
void setPdf(const QString &shortName, bool on);

} // namespace PrintoutSettings
