#pragma once

#include <QString>

// Where an office's shared database server is. The password is never stored with these
// settings: it comes from the user's ~/.pgpass (or PGPASSFILE) or is asked at start.
struct ServerSettings
{
    QString host = QStringLiteral("localhost");
    int port = 5432;
    QString database = QStringLiteral("finorra");
    QString user;
    QString password;

    // How the status bar names the database.
    QString label() const { return QStringLiteral("PostgreSQL: %1/%2").arg(host, database); }
};
