#include "ui/PrintoutSettings.h"

#include <QSettings>
#include <QUrl>

#include <memory>

namespace PrintoutSettings {

namespace {

// A short name may hold characters QSettings reads as a path ('/', '\\') or drops.
QString key(const QString &shortName)
{
    return QStringLiteral("Benutzer/%1/AusdruckeAlsPdf")
        .arg(QString::fromLatin1(QUrl::toPercentEncoding(shortName.trimmed().toLower())));
}

// The program's own file in the user's configuration folder, INI on every system.
std::unique_ptr<QSettings> settings()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Finorra"),
                                       QStringLiteral("Finorra"));
}

} // namespace

bool pdf(const QString &shortName)
{
    if (shortName.trimmed().isEmpty())
        return false;
    return settings()->value(key(shortName), false).toBool();
}

void setPdf(const QString &shortName, bool on)
{
    if (shortName.trimmed().isEmpty())
        return;
    auto s = settings();
    s->setValue(key(shortName), on);
    s->sync();
}

} // namespace PrintoutSettings
