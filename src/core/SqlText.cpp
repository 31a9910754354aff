#include "core/SqlText.h"

namespace SqlText {

QString format(const QString &pattern, const QStringList &args)
{
    QString out;
    out.reserve(pattern.size() + 32);
    int next = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == u'%' && i + 1 < pattern.size()) {
            const QChar n = pattern.at(i + 1);
            if (n == u's' || n == u'S') {
                if (next < args.size())
                    out.append(args.at(next));
                ++next;
                ++i;
                continue;
            }
            if (n == u'%') {
                out.append(u'%');
                ++i;
                continue;
            }
        }
        out.append(c);
    }
    return out;
}

QString doubleQuotes(const QString &text)
{
    QString out = text;
    return out.replace(u'\'', QStringLiteral("''"));
}

QString quoted(const QString &text)
{
    return u'\'' + doubleQuotes(text) + u'\'';
}

QString lowerAscii(const QString &text)
{
    QString out = text;
    for (QChar &c : out)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    return out;
}

} // namespace SqlText
