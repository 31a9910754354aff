#include "report/RtfText.h"

#include "report/Windows1252.h"

namespace RtfText {

namespace {

const char kHex[] = "0123456789ABCDEF";

void appendUnicodeUnit(QByteArray &out, char16_t unit)
{
    const int signedUnit = unit > 32767 ? static_cast<int>(unit) - 65536 : static_cast<int>(unit);
    out.append("\\u");
    out.append(QByteArray::number(signedUnit));
    out.append('?');
}

// Characters copied as they are: printable ASCII other than the three RTF specials.
inline bool plain(char16_t c) { return c >= 0x20 && c < 0x80 && c != u'\\' && c != u'{' && c != u'}'; }

} // namespace

void append(QByteArray &out, QStringView text)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        // A run of plain characters goes in at once rather than a byte at a time.
        qsizetype run = i;
        while (run < n && plain(text[run].unicode()))
            ++run;
        if (run > i) {
            const qsizetype at = out.size();
            out.resize(at + (run - i));
            char *dst = out.data() + at;
            for (qsizetype k = i; k < run; ++k)
                *dst++ = static_cast<char>(text[k].unicode());
            i = run;
            if (i >= n)
                break;
        }
        const char16_t c = text[i].unicode();
        switch (c) {
        case u'\t': out.append("\\tab "); continue;
        case 11: out.append("\\line "); continue;
        case 12: out.append("\\page "); continue;
        case u'\r': out.append("\\par "); continue;
        case u'\n':
            // After a carriage return the line feed is only copied (RTF ignores it); a lone
            // line feed, as texts typed on this platform have, is a line break of its own.
            if (i > 0 && text[i - 1] == u'\r')
                out.append('\n');
            else
                out.append("\\par ");
            continue;
        case u'\\': out.append("\\\\"); continue;
        case u'{': out.append("\\{"); continue;
        case u'}': out.append("\\}"); continue;
        default: break;
        }
        if (c < 0x80) {
            out.append(static_cast<char>(c));
            continue;
        }
        const int byte = Windows1252::fromUnicode(c);
        if (byte >= 0) {
            out.append("\\'");
            out.append(kHex[byte >> 4]);
            out.append(kHex[byte & 15]);
        } else {
            appendUnicodeUnit(out, c);
        }
    }
}

QByteArray escape(QStringView text)
{
    QByteArray out;
    out.reserve(text.size() + 8);
    append(out, text);
    return out;
}

} // namespace RtfText
