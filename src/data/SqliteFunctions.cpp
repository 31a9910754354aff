#include "data/SqliteFunctions.h"

#include "core/GermanCollation.h"

#include <sqlite3.h>

namespace SqliteFunctions {

namespace {

QString textArg(sqlite3_value *v)
{
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return QString::fromUtf8(bytes, sqlite3_value_bytes(v));
}

void resultText(sqlite3_context *ctx, const QString &s)
{
    const QByteArray utf8 = s.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

void lowerFunc(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    resultText(ctx, textArg(argv[0]).toLower());
}

void upperFunc(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    resultText(ctx, textArg(argv[0]).toUpper());
}

// SQLite calls like(pattern, text [, escape]) for "text LIKE pattern".
void likeFunc(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    QChar escape;
    if (argc == 3) {
        const QString e = textArg(argv[2]);
        if (e.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e.at(0);
    }
    sqlite3_result_int(ctx, likeMatches(textArg(argv[0]), textArg(argv[1]), escape) ? 1 : 0);
}

int germanCollation(void *, int aLength, const void *a, int bLength, const void *b)
{
    return GermanCollation::compareUtf8(static_cast<const char *>(a), aLength, static_cast<const char *>(b), bLength);
}

} // namespace

bool likeMatches(const QString &patternIn, const QString &textIn, QChar escape)
{
    const QString pattern = patternIn.toCaseFolded();
    const QString text = textIn.toCaseFolded();
    // Iterative matcher with one back-track point for the last "%": linear in practice.
    qsizetype p = 0, t = 0, starP = -1, starT = -1;
    const qsizetype pn = pattern.size(), tn = text.size();
    while (t < tn) {
        if (p < pn) {
            QChar pc = pattern.at(p);
            if (!escape.isNull() && pc == escape && p + 1 < pn) {
                if (pattern.at(p + 1) == text.at(t)) {
                    p += 2;
                    ++t;
                    continue;
                }
            } else if (pc == u'%') {
                starP = p++;
                starT = t;
                continue;
            } else if (pc == u'_' || pc == text.at(t)) {
                ++p;
                ++t;
                continue;
            }
        }
        if (starP < 0)
            return false;
        p = starP + 1;
        t = ++starT;
    }
    while (p < pn && pattern.at(p) == u'%')
        ++p;
    return p == pn;
}

void install(sqlite3 *handle)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function_v2(handle, "lower", 1, flags, nullptr, lowerFunc, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(handle, "upper", 1, flags, nullptr, upperFunc, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(handle, "like", 2, flags, nullptr, likeFunc, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(handle, "like", 3, flags, nullptr, likeFunc, nullptr, nullptr, nullptr);
    sqlite3_create_collation_v2(handle, "german", SQLITE_UTF8, nullptr, germanCollation, nullptr);
}

} // namespace SqliteFunctions
