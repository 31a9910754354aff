#include "report/BraceBalance.h"

BraceBalance BraceBalance::of(const QByteArray &rtf)
{
    BraceBalance b;
    const qsizetype n = rtf.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = rtf[i];
        if (c == '\\') {
            if (i + 4 < n && rtf.mid(i + 1, 3) == "bin") {
                qsizetype k = i + 4;
                qint64 len = 0;
                while (k < n && rtf[k] >= '0' && rtf[k] <= '9' && len < (qint64(1) << 40))
                    len = len * 10 + (rtf[k++] - '0');
                if (k > i + 4) {
                    if (k < n && rtf[k] == ' ')
                        ++k;
                    i = std::min<qsizetype>(n, k + static_cast<qsizetype>(len)) - 1;
                    continue;
                }
            }
            ++i;  // the escaped character (\{, \}, \\ …) is no brace
        } else if (c == '{') {
            ++b.opens;
        } else if (c == '}') {
            if (b.opens > 0)
                --b.opens;
            else
                ++b.closes;
        }
    }
    return b;
}

BraceBalance BraceBalance::then(const BraceBalance &next) const
{
    BraceBalance r;
    if (next.closes <= opens) {
        r.closes = closes;
        r.opens = opens - next.closes + next.opens;
    } else {
        r.closes = closes + next.closes - opens;
        r.opens = next.opens;
    }
    return r;
}

QByteArray BraceBalance::skeleton() const
{
    return QByteArray(closes, '}') + QByteArray(opens, '{');
}
