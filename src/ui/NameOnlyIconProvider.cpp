#include "ui/NameOnlyIconProvider.h"

#include <QFileInfo>
#include <QIcon>
#include <QMimeDatabase>

namespace {

// Never QMimeDatabase::mimeTypeForFile(QFileInfo): that reads the file's first bytes.
QMimeType typeByName(const QFileInfo &info)
{
    const QMimeDatabase db;
    const QList<QMimeType> byName = db.mimeTypesForFileName(info.fileName());
    return byName.isEmpty() ? db.mimeTypeForName(QStringLiteral("application/octet-stream")) : byName.first();
}

} // namespace

NameOnlyIconProvider::NameOnlyIconProvider()
{
    // Custom folder icons come from a file inside each folder.
    setOptions(DontUseCustomDirectoryIcons);
}

NameOnlyIconProvider *NameOnlyIconProvider::instance()
{
    static NameOnlyIconProvider provider;
    return &provider;
}

QIcon NameOnlyIconProvider::icon(IconType type) const
{
    return QAbstractFileIconProvider::icon(type);
}

QIcon NameOnlyIconProvider::icon(const QFileInfo &info) const
{
    if (info.isRoot())
        return icon(Drive);
    if (info.isDir())
        return icon(Folder);
    const QMimeType mime = typeByName(info);
    return QIcon::fromTheme(mime.iconName(), QIcon::fromTheme(mime.genericIconName(), icon(File)));
}

QString NameOnlyIconProvider::type(const QFileInfo &info) const
{
    if (info.isRoot())
        return QStringLiteral("Laufwerk");
    if (info.isDir())
        return QStringLiteral("Ordner");
    const QMimeType mime = typeByName(info);
    if (mime.isDefault())
        return QStringLiteral("Datei");
    return mime.comment().isEmpty() ? mime.name() : mime.comment();
}
