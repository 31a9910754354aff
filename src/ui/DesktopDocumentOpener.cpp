#include "ui/DesktopDocumentOpener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

DocumentOpener::Result DesktopDocumentOpener::open(const QString &path, int)
{
    // The desktop only answers yes or no; the two failures a user can act on get their
    // numbers: a file that is gone, and no program for its type.
    if (!QFileInfo::exists(path))
        return {false, 2};
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        return {false, 31};
    return {true, 0};
}
