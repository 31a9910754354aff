#include "ui/Icons.h"

#include <QApplication>
#include <QHash>

namespace Icons {

QIcon standard(QStyle::StandardPixmap which)
{
    // One thread draws the windows, so a plain cache will do.
    static QHash<int, QIcon> cache;
    auto it = cache.constFind(which);
    if (it != cache.constEnd())
        return *it;
    const QIcon icon = QApplication::style()->standardIcon(which);
    cache.insert(which, icon);
    return icon;
}

} // namespace Icons
