#include "report/FieldCleaner.h"

#include "report/Windows1252.h"

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Index just past the group that starts at `open` (or the end when it is not closed).
qsizetype groupEnd(const QByteArray &s, qsizetype open)
{
    int depth = 0;
    for (qsizetype i = open; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\\') {
            ++i;
        } else if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth == 0)
                return i + 1;
        }
    }
    return s.size();
}

// Drops blanks outside quote pairs and square brackets, and the brackets themselves.
QString dropBlanks(const QString &text)
{
    QString out;
    out.reserve(text.size());
    QString closing;  // closers of the open quote pair
    int brackets = 0;
    for (QChar c : text) {
        if (!closing.isEmpty()) {
            if (closing.contains(c))
                closing.clear();
            out += c;
            continue;
        }
        const QString closers = FieldCleaner::closingQuotes(c);
        if (!closers.isEmpty()) {
            closing = closers;
            out += c;
            continue;
        }
        if (c == u'[') {
            ++brackets;
            continue;
        }
        if (c == u']' && brackets > 0) {
            --brackets;
            continue;
        }
        if (c == u' ' && brackets == 0)
            continue;
        out += c;
    }
    return out;
}

} // namespace

QString FieldCleaner::closingQuotes(QChar opening)
{
    switch (opening.unicode()) {
    case u'"': return QStringLiteral("\"");
    case u'\'': return QStringLiteral("'");
    case u'`': return QStringLiteral("`");
    case u'~': return QStringLiteral("~");
    case 0x201C:
    case 0x201D: return QString(QChar(0x201D));
    case 0x2018: return QString(QChar(0x2019)) + u'\'';
    case 0x00AB: return QString(QChar(0x00BB));
    case 0x00BB: return QString(QChar(0x00BB));
    // German typing: „…“ (the word processor's automatic quotes for German text).
    case 0x201E: return QString(QChar(0x201C));
    // ‚…‘, what German autocorrect types inside double quotes; the closing mark may
    // arrive as \lquote, which cleaning turns into an apostrophe.
    case 0x201A: return QString(QChar(0x2018)) + u'\'';
    default: break;
    }
    return {};
}

FieldCleaner::Result FieldCleaner::clean(const QByteArray &source)
{
    Result r;
    QString text;
    const qsizetype n = source.size();
    qsizetype i = 0;
    int skipFallback = 0;  // characters after \uN that stand in for it
    int fallbackCount = 1; // \ucN: how many there are
    while (i < n) {
        const char c = source[i];
        if (c == '\\' && i + 1 < n) {
            const char d = source[i + 1];
            if (d == '\'' && i + 3 < n && hexValue(source[i + 2]) >= 0 && hexValue(source[i + 3]) >= 0) {
                const int byte = hexValue(source[i + 2]) * 16 + hexValue(source[i + 3]);
                if (skipFallback > 0) {
                    --skipFallback;
                } else if (byte < 32) {
                    r.trailingCodes.append(source.mid(i, 4));
                } else {
                    text += QChar(Windows1252::toUnicode(static_cast<unsigned char>(byte)));
                }
                i += 4;
                continue;
            }
            if (d == '\\' || d == '{' || d == '}') {
                text += QChar(d);
                i += 2;
                continue;
            }
            if (d == '~') {
                text += u' ';
                i += 2;
                continue;
            }
            if (isLetter(d)) {
                qsizetype k = i + 1;
                while (k < n && isLetter(source[k]))
                    ++k;
                const QByteArray word = source.mid(i + 1, k - i - 1);
                qsizetype p = k;
                if (p < n && source[p] == '-')
                    ++p;
                while (p < n && source[p] >= '0' && source[p] <= '9')
                    ++p;
                const QByteArray param = source.mid(k, p - k);
                if (p < n && source[p] == ' ')
                    ++p;
                skipFallback = 0;
                if (word == "lquote" || word == "rquote") {
                    text += u'\'';
                } else if (word == "ldblquote") {
                    text += QChar(0x201C);
                } else if (word == "rdblquote") {
                    text += QChar(0x201D);
                } else if (word == "u" && !param.isEmpty() && param != "-") {
                    int code = param.toInt();
                    if (code < 0)
                        code += 65536;
                    text += QChar(static_cast<char16_t>(code & 0xFFFF));
                    skipFallback = fallbackCount;
                } else {
                    if (word == "uc" && !param.isEmpty())
                        fallbackCount = std::clamp(param.toInt(), 0, 8);
                    r.trailingCodes.append(source.mid(i, p - i));
                    // The word processor may have ended the word with a line break, which
                    // cleaning drops; a blank keeps it from swallowing the text after the field.
                    if (!r.trailingCodes.endsWith(' '))
                        r.trailingCodes.append(' ');
                }
                i = p;
                continue;
            }
            r.trailingCodes.append(source.mid(i, 2));
            i += 2;
            continue;
        }
        if (c == '{') {
            // Ignorable destinations (bookmarks, list numbering text …) hold no visible text.
            if (i + 2 < n && source[i + 1] == '\\' && source[i + 2] == '*') {
                const qsizetype end = groupEnd(source, i);
                r.trailingCodes.append(source.mid(i, end - i));
                i = end;
                continue;
            }
            r.trailingCodes.append(c);
            ++i;
            continue;
        }
        const unsigned char u = static_cast<unsigned char>(c);
        if (skipFallback > 0 && u >= 32 && c != '}') {
            --skipFallback;
            ++i;
            continue;
        }
        if ((u >= 32 && u <= 126 && c != '\\' && c != '^' && c != '{' && c != '}')
            || u == 147 || u == 148 || u == 171 || u == 187) {
            text += QChar(Windows1252::toUnicode(u));
        } else if (c == '\r' || c == '\n') {
            // Line breaks of the RTF source carry no meaning.
        } else {
            r.trailingCodes.append(c);
        }
        ++i;
    }
    r.content = dropBlanks(text.trimmed());
    return r;
}
