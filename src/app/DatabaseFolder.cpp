#include "app/DatabaseFolder.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace DatabaseFolder {

namespace {

QString withSlash(QString dir)
{
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}

// SQLite writes its journal files beside the database, so the folder itself must take new
// files; asking for permission bits alone misses ACLs and read-only mounts.
bool canCreateFiles(const QString &dir)
{
    if (!QDir(dir).exists())
        return false;
    QTemporaryFile probe(withSlash(dir) + QStringLiteral(".finorra-probe-XXXXXX"));
    return probe.open();
}

} // namespace

Choice choose(const QString &exeDir, const QString &userDataDir)
{
    if (canCreateFiles(exeDir))
        return {withSlash(exeDir), false};
    const QString fallback =
        userDataDir.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) : userDataDir;
    QDir().mkpath(fallback);
    return {withSlash(fallback), true};
}

QString reportOutput(const Choice &choice, const QString &exeDir)
{
    const QString folder = (choice.fellBack ? choice.folder : withSlash(exeDir)) + QStringLiteral("Reportausgabe/");
    if (choice.fellBack)
        QDir().mkpath(folder);
    return folder;
}

QString fallbackNote(const QString &exeDir)
{
    return QStringLiteral("Der Programmordner %1 ist schreibgeschützt; die Datenbank liegt deshalb im Datenordner "
                          "des Benutzers.")
        .arg(QDir::toNativeSeparators(exeDir));
}

} // namespace DatabaseFolder
