#include "report/RtfFieldFinder.h"

#include "report/FieldCleaner.h"

#include <array>
#include <cstring>

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

struct ControlWord
{
    QByteArray word;
    qsizetype paramStart = 0;
    qsizetype paramEnd = 0;
    long long param = 0;
    bool hasParam = false;
    qsizetype end = 0;   // past the optional trailing blank
};

// Reads the control word whose backslash is at `at` (the next character is a letter).
ControlWord readWord(const QByteArray &s, qsizetype at)
{
    ControlWord w;
    const qsizetype n = s.size();
    qsizetype k = at + 1;
    while (k < n && isLetter(s[k]) && k - at <= 32)
        ++k;
    w.word = s.mid(at + 1, k - at - 1);
    w.paramStart = k;
    if (k < n && s[k] == '-')
        ++k;
    const qsizetype digits = k;
    while (k < n && s[k] >= '0' && s[k] <= '9' && k - digits < 10) {
        w.param = w.param * 10 + (s[k] - '0');
        ++k;
    }
    w.hasParam = k > digits;
    if (w.hasParam && s[w.paramStart] == '-')
        w.param = -w.param;
    w.paramEnd = k;
    if (k < n && s[k] == ' ')
        ++k;
    w.end = k;
    return w;
}

// The first control word of the group opening at `open`, past an optional "\*".
QByteArray groupWord(const QByteArray &s, qsizetype open)
{
    qsizetype k = open + 1;
    const qsizetype n = s.size();
    while (k < n && (s[k] == '\r' || s[k] == '\n'))
        ++k;
    if (k + 1 < n && s[k] == '\\' && s[k + 1] == '*') {
        k += 2;
        while (k < n && (s[k] == ' ' || s[k] == '\r' || s[k] == '\n'))
            ++k;
    }
    if (k + 1 < n && s[k] == '\\' && isLetter(s[k + 1]))
        return readWord(s, k).word;
    return {};
}

bool isUnsearchedGroup(const QByteArray &word)
{
    static const std::array<const char *, 7> words = {"fonttbl", "colortbl", "stylesheet", "info",
                                                      "field", "pict", "object"};
    for (const char *w : words)
        if (word == w)
            return true;
    return false;
}

bool isMark(const QByteArray &word)
{
    static const std::array<const char *, 7> words = {"par", "line", "cell", "row", "trowd", "page", "sect"};
    for (const char *w : words)
        if (word == w)
            return true;
    return false;
}

// Length of a field delimiter at `at` ("\\" or "\'5c"), 0 when there is none.
int delimiterLength(const QByteArray &s, qsizetype at)
{
    if (at + 1 >= s.size() || s[at] != '\\')
        return 0;
    if (s[at + 1] == '\\')
        return 2;
    if (s[at + 1] == '\'' && at + 3 < s.size() && s[at + 2] == '5' && (s[at + 3] == 'c' || s[at + 3] == 'C'))
        return 4;
    return 0;
}

// Where the field opened at `open` closes (index of the closing delimiter), or -1.
qsizetype findClosing(const QByteArray &s, qsizetype open, int openLength, int *closeLength)
{
    const qsizetype n = s.size();
    const qsizetype limit = std::min(n, open + openLength + RtfFieldFinder::MaxFieldLength);
    qsizetype q = open + openLength;
    while (q < limit) {
        const char c = s[q];
        if (c == '\\') {
            if (const int len = delimiterLength(s, q)) {
                *closeLength = len;
                return q;
            }
            if (q + 1 < n && isLetter(s[q + 1])) {
                const ControlWord w = readWord(s, q);
                if (isMark(w.word) || w.word == "bin")
                    return -1;
                q = w.end;
                continue;
            }
            if (q + 1 < n && s[q + 1] == '\'')
                q += 4;
            else
                q += 2;
            continue;
        }
        if (c == '{') {
            const QByteArray w = groupWord(s, q);
            if (w == "field" || w == "pict" || w == "object")
                return -1;
        }
        ++q;
    }
    return -1;
}

} // namespace

void RtfFieldFinder::forEachPiece(const QByteArray &rtf, int charset, const std::function<void(TemplatePiece &&)> &take)
{
    // The text since the last field: rtf[textStart, pos) as it stands, or, once a
    // character set number was replaced in it, a copy in `text` followed by that.
    QByteArray text;
    bool copiedText = false;
    qsizetype textStart = 0;
    const QByteArray charsetText = QByteArray::number(charset);

    auto view = [&](qsizetype from, qsizetype to) { return QByteArray::fromRawData(rtf.constData() + from, to - from); };
    auto flushText = [&](qsizetype end) {
        TemplatePiece p;
        if (copiedText) {
            text.append(rtf.constData() + textStart, end - textStart);
            p.rtf = std::move(text);
            text = QByteArray();
        } else {
            p.rtf = view(textStart, end);
        }
        copiedText = false;
        if (!p.rtf.isEmpty())
            take(std::move(p));
    };

    const qsizetype n = rtf.size();
    qsizetype pos = 0;
    int depth = 0;
    int skipDepth = -1;       // depth of the unsearched group we are in
    bool fontTable = false;

    while (pos < n) {
        const char c = rtf[pos];
        if (c == '{') {
            ++depth;
            if (skipDepth < 0) {
                const QByteArray w = groupWord(rtf, pos);
                if (isUnsearchedGroup(w)) {
                    skipDepth = depth;
                    fontTable = w == "fonttbl";
                }
            }
            ++pos;
            continue;
        }
        if (c == '}') {
            if (skipDepth == depth) {
                skipDepth = -1;
                fontTable = false;
            }
            --depth;
            ++pos;
            continue;
        }
        if (c != '\\' || pos + 1 >= n) {
            ++pos;
            continue;
        }
        const char d = rtf[pos + 1];
        if (skipDepth < 0) {
            if (const int openLength = delimiterLength(rtf, pos)) {
                int closeLength = 0;
                const qsizetype close = findClosing(rtf, pos, openLength, &closeLength);
                if (close >= 0) {
                    const QByteArray inner = rtf.mid(pos + openLength, close - pos - openLength);
                    FieldCleaner::Result cleaned = FieldCleaner::clean(inner);
                    if (!cleaned.content.isEmpty()) {
                        flushText(pos);
                        TemplatePiece f;
                        f.kind = TemplatePiece::Kind::Field;
                        f.rtf = view(pos, close + closeLength);
                        f.content = std::move(cleaned.content);
                        f.trailingCodes = std::move(cleaned.trailingCodes);
                        take(std::move(f));
                        pos = close + closeLength;
                        textStart = pos;
                        continue;
                    }
                }
                // No field here: the backslash is ordinary text.
                pos += openLength;
                continue;
            }
        }
        if (isLetter(d)) {
            const ControlWord w = readWord(rtf, pos);
            if (w.word == "bin" && w.hasParam && w.param > 0) {
                pos = std::min<qsizetype>(n, w.end + static_cast<qsizetype>(w.param));
                continue;
            }
            if (fontTable && w.word == "fcharset") {
                text.append(rtf.constData() + textStart, w.paramStart - textStart);
                text.append(charsetText);
                textStart = w.paramEnd;
                copiedText = true;
            }
            pos = w.end;
            continue;
        }
        if (d == '\'' && pos + 3 < n && isHex(rtf[pos + 2]) && isHex(rtf[pos + 3])) {
            pos += 4;
            continue;
        }
        pos += 2;
    }
    flushText(n);
}

TemplatePiece RtfFieldFinder::fieldPiece(const QByteArray &source)
{
    // The source ends with its closing delimiter: "\\" or "\'5c".
    const int openLength = delimiterLength(source, 0);
    const int closeLength = source.endsWith("\\\\") && source.size() >= openLength + 2 ? 2 : 4;
    FieldCleaner::Result cleaned = FieldCleaner::clean(source.mid(openLength, source.size() - openLength - closeLength));
    TemplatePiece f;
    f.kind = TemplatePiece::Kind::Field;
    f.rtf = source;
    f.content = std::move(cleaned.content);
    f.trailingCodes = std::move(cleaned.trailingCodes);
    return f;
}
