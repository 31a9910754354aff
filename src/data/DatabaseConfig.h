#pragma once

#include "data/ServerSettings.h"

#include <QString>

// The database choice of an installation, in "Finorra.ini" beside the program:
//   [Datenbank]
//   Typ=SQLite            (the default; no file needed)
//   Typ=PostgreSQL with Host, Port, Datenbank, Benutzer
// A password is never written there.
namespace DatabaseConfig {

inline const QString FileName = QStringLiteral("Finorra.ini");

struct Choice
{
    bool server = false;
    ServerSettings settings;
};

Choice load(const QString &iniPath);
// Throws DataError when the file cannot be written.
void save(const QString &iniPath, const Choice &choice);

} // namespace DatabaseConfig
