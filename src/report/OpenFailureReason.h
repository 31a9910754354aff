#pragma once

#include <QString>

namespace OpenFailureReason {

// The reason for a desktop error number, in words a user can act on ("Der Grund ist
// unbekannt." for numbers not listed). With the file's path, "no program for this type"
// names the type and what to install.
QString text(int errorNumber, const QString &path = QString());

// "Der Ausdruck wurde gespeichert, ließ sich aber nicht öffnen: …" with the file and the reason.
QString openFailedMessage(const QString &path, int errorNumber);

} // namespace OpenFailureReason
