#include "report/BraceBalance.h"

#include <array>

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Control words that put something into the text instead of formatting it; a left-out
// part must not write them.
bool producesText(QByteArrayView word)
{
    static const std::array<const char *, 21> words = {
        "par",    "line",   "tab",     "page",   "cell",      "row",       "sect",
        "column", "u",      "lquote",  "rquote", "ldblquote", "rdblquote", "bullet",
        "emdash", "endash", "emspace", "enspace", "nestcell", "nestrow",   "chpgn"};
    for (const char *w : words)
        if (word == w)
            return true;
    return false;
}

// Groups that hold something other than the running text (a field, a picture, a footnote
// …): reopened with their codes they would swallow the text after them.
bool isDestination(QByteArrayView word)
{
    static const std::array<const char *, 24> words = {
        "field",   "fldinst", "fldrslt", "pict",     "object",   "footnote", "header",  "headerl",
        "headerr", "headerf", "footer",  "footerl",  "footerr",  "footerf",  "shp",     "shpinst",
        "nonshppict", "xe",   "tc",      "pntext",   "pntxta",   "pntxtb",   "info",    "stylesheet"};
    for (const char *w : words)
        if (word == w)
            return true;
    return false;
}

// Formatting codes kept per group are bounded: a group is a run of text, not a document.
constexpr qsizetype kMaxCodes = 4096;

} // namespace

BraceBalance BraceBalance::of(const QByteArray &rtf)
{
    BraceBalance b;
    // Per group opened here: its codes, and whether it is a destination (\*, \fldinst …)
    // whose reopening would hide the text after it.
    std::vector<bool> destination;
    const qsizetype n = rtf.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = rtf[i];
        if (c == '\\') {
            if (i + 1 < n && isLetter(rtf[i + 1])) {
                qsizetype k = i + 1;
                while (k < n && isLetter(rtf[k]) && k - i <= 32)
                    ++k;
                const QByteArrayView word(rtf.constData() + i + 1, k - i - 1);
                qsizetype p = k;
                if (p < n && rtf[p] == '-')
                    ++p;
                const qsizetype digits = p;
                qint64 param = 0;
                while (p < n && rtf[p] >= '0' && rtf[p] <= '9' && param < (qint64(1) << 40))
                    param = param * 10 + (rtf[p++] - '0');
                if (word == "bin" && p > digits) {
                    if (p < n && rtf[p] == ' ')
                        ++p;
                    i = std::min<qsizetype>(n, p + static_cast<qsizetype>(param)) - 1;
                    continue;
                }
                if (!b.openCodes.empty() && !destination.back()) {
                    QByteArray &codes = b.openCodes.back();
                    if (codes.size() == 1 && isDestination(word))
                        destination.back() = true;
                    else if (!producesText(word) && codes.size() < kMaxCodes)
                        codes.append(rtf.constData() + i, p - i);
                }
                i = p - 1;
                continue;
            }
            if (i + 1 < n && rtf[i + 1] == '*' && !destination.empty())
                destination.back() = true;
            ++i;  // the escaped character (\{, \}, \\ …) is no brace
        } else if (c == '{') {
            ++b.opens;
            b.openCodes.emplace_back(1, '{');
            destination.push_back(false);
        } else if (c == '}') {
            if (b.opens > 0) {
                --b.opens;
                b.openCodes.pop_back();
                destination.pop_back();
            } else {
                ++b.closes;
            }
        }
    }
    for (size_t g = 0; g < b.openCodes.size(); ++g) {
        QByteArray &codes = b.openCodes[g];
        if (destination[g])
            codes = QByteArray(1, '{');
        else if (codes.size() > 1)
            codes.append(' ');
    }
    return b;
}

BraceBalance BraceBalance::then(const BraceBalance &next) const
{
    BraceBalance r;
    if (next.closes <= opens) {
        r.closes = closes;
        r.opens = opens - next.closes + next.opens;
        r.openCodes.assign(openCodes.begin(), openCodes.end() - next.closes);
    } else {
        r.closes = closes + next.closes - opens;
        r.opens = next.opens;
    }
    r.openCodes.insert(r.openCodes.end(), next.openCodes.begin(), next.openCodes.end());
    return r;
}

QByteArray BraceBalance::skeleton() const
{
    QByteArray out(closes, '}');
    for (const QByteArray &codes : openCodes)
        out.append(codes);
    return out;
}
