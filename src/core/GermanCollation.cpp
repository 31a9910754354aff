#include "core/GermanCollation.h"

#include <QList>
#include <QVarLengthArray>

#include <cstring>

namespace GermanCollation {

namespace {

// One sort unit of a text: what it counts as (a letter in small case, a digit, a sign),
// whether it carried an accent, and whether it was a capital.
struct Unit
{
    char32_t primary;
    char32_t secondary;   // the accent that was dropped, 0 for none
    int tertiary;         // 0 small or no case, 1 capital
};

using Units = QVarLengthArray<Unit, 64>;

// Signs sort before digits and digits before letters, as in a dictionary.
char32_t weight(char32_t c)
{
    const int group = QChar::isLetter(c) ? 2 : QChar::isDigit(c) ? 1 : 0;
    return (static_cast<char32_t>(group) << 21) | c;
}

void append(Units &out, char32_t c)
{
    if (c < 0x80) {
        if (c >= 'A' && c <= 'Z')
            out.append({weight(c + 32), 0, 1});
        else
            out.append({weight(c), 0, 0});
        return;
    }
    switch (c) {
    case 0x00DF:   // ß
        out.append({weight('s'), 0, 0});
        out.append({weight('s'), 0, 0});
        out.last().tertiary = 1;   // after "ss", as the server has it
        return;
    case 0x1E9E:   // capital ß
        out.append({weight('s'), 0, 1});
        out.append({weight('s'), 0, 1});
        return;
    case 0x00E6:
    case 0x00C6:   // æ
        out.append({weight('a'), 0, c == 0x00C6 ? 1 : 0});
        out.append({weight('e'), 0, c == 0x00C6 ? 1 : 0});
        return;
    case 0x0153:
    case 0x0152:   // œ
        out.append({weight('o'), 0, c == 0x0152 ? 1 : 0});
        out.append({weight('e'), 0, c == 0x0152 ? 1 : 0});
        return;
    default:
        break;
    }
    // A letter with an accent counts as its base letter ("ä" as "a"); the accent and the
    // case only decide between otherwise equal words.
    char32_t base = c;
    char32_t accent = 0;
    for (int depth = 0; depth < 4; ++depth) {
        if (QChar::decompositionTag(base) != QChar::Canonical)
            break;
        const QString d = QChar::decomposition(base);
        const QList<uint> parts = d.toUcs4();
        if (parts.isEmpty())
            break;
        if (parts.size() > 1 && accent == 0)
            accent = parts.at(1);
        base = parts.at(0);
    }
    if (QChar::category(base) == QChar::Mark_NonSpacing) {
        // A lone combining accent belongs to the letter before it.
        if (!out.isEmpty() && out.last().secondary == 0)
            out.last().secondary = base;
        return;
    }
    const char32_t lower = QChar::toLower(base);
    out.append({weight(lower), accent, lower != base ? 1 : 0});
}

void unitsOf(QStringView s, Units &out)
{
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = s.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && s.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(s.at(i), s.at(i + 1));
            ++i;
        }
        append(out, c);
    }
}

template <typename Get>
int compareLevel(const Units &a, const Units &b, Get get)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const auto x = get(a.at(i));
        const auto y = get(b.at(i));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int compareUnits(const Units &a, const Units &b)
{
    if (const int p = compareLevel(a, b, [](const Unit &u) { return u.primary; }))
        return p;
    if (const int s = compareLevel(a, b, [](const Unit &u) { return u.secondary; }))
        return s;
    return compareLevel(a, b, [](const Unit &u) { return u.tertiary; });
}

bool isAscii(const char *s, int n)
{
    for (int i = 0; i < n; ++i)
        if (static_cast<unsigned char>(s[i]) >= 0x80)
            return false;
    return true;
}

} // namespace

int compare(QStringView a, QStringView b)
{
    Units ua, ub;
    unitsOf(a, ua);
    unitsOf(b, ub);
    if (const int c = compareUnits(ua, ub))
        return c;
    return a.compare(b, Qt::CaseSensitive) < 0 ? -1 : (a == b ? 0 : 1);
}

int compareUtf8(const char *a, int aLength, const char *b, int bLength)
{
    if (isAscii(a, aLength) && isAscii(b, bLength)) {
        Units ua, ub;
        for (int i = 0; i < aLength; ++i)
            append(ua, static_cast<unsigned char>(a[i]));
        for (int i = 0; i < bLength; ++i)
            append(ub, static_cast<unsigned char>(b[i]));
        if (const int c = compareUnits(ua, ub))
            return c;
        const int m = std::memcmp(a, b, static_cast<size_t>(std::min(aLength, bLength)));
        if (m != 0)
            return m < 0 ? -1 : 1;
        return aLength == bLength ? 0 : (aLength < bLength ? -1 : 1);
    }
    return compare(QString::fromUtf8(a, aLength), QString::fromUtf8(b, bLength));
}

} // namespace GermanCollation
