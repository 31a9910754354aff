#include "data/DatabaseConfig.h"

#include "data/DataError.h"

#include <QDir>
#include <QSettings>

namespace DatabaseConfig {

Choice load(const QString &iniPath)
{
    Choice c;
    QSettings ini(iniPath, QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("Datenbank"));
    c.server = ini.value(QStringLiteral("Typ")).toString().compare(QLatin1String("PostgreSQL"), Qt::CaseInsensitive) == 0;
    c.settings.host = ini.value(QStringLiteral("Host"), c.settings.host).toString();
    c.settings.port = ini.value(QStringLiteral("Port"), c.settings.port).toInt();
    c.settings.database = ini.value(QStringLiteral("Datenbank"), c.settings.database).toString();
    c.settings.user = ini.value(QStringLiteral("Benutzer"), c.settings.user).toString();
    return c;
}

void save(const QString &iniPath, const Choice &choice)
{
    QSettings ini(iniPath, QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("Datenbank"));
    ini.setValue(QStringLiteral("Typ"), choice.server ? QStringLiteral("PostgreSQL") : QStringLiteral("SQLite"));
    ini.setValue(QStringLiteral("Host"), choice.settings.host);
    ini.setValue(QStringLiteral("Port"), choice.settings.port);
    ini.setValue(QStringLiteral("Datenbank"), choice.settings.database);
    ini.setValue(QStringLiteral("Benutzer"), choice.settings.user);
    ini.remove(QStringLiteral("Passwort"));
    ini.endGroup();
    ini.sync();
    if (ini.status() != QSettings::NoError)
        throw DataError(QStringLiteral("Die Einstellungen können nicht in \"%1\" gespeichert werden.")
                            .arg(QDir::toNativeSeparators(iniPath)));
}

} // namespace DatabaseConfig
