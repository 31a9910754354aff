#include "ui/EditMask.h"

#include <QStringList>

namespace EditMask {

QString toQt(const QString &classicMask)
{
    const QStringList parts = classicMask.split(u';');
    QString pattern = parts.value(0);
    if (pattern.startsWith(u'!'))
        pattern.remove(0, 1);
    const QString blank = parts.size() >= 3 && !parts.at(2).isEmpty() ? parts.at(2) : QStringLiteral("_");
    QString out;
    for (QChar c : pattern) {
        if (c == u'0')
            out += u'9';
        else if (c == u'9')
            out += u'0';
        else if (c == u'/')
            out += u'.';
        else
            out += c;
    }
    return out + u';' + blank;
}

} // namespace EditMask
