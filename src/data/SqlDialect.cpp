#include "data/SqlDialect.h"

#include "core/GermanFormat.h"

#include <QRegularExpression>

namespace SqlDialect {

namespace {

bool isIdentChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// A literal that is nothing but a German date becomes its ISO form; anything else stays.
QString rewriteLiteral(const QString &content)
{
    static const QRegularExpression germanDate(QStringLiteral(R"(^\d{1,2}\.\d{1,2}\.\d{4}$)"));
    if (!germanDate.match(content).hasMatch())
        return content;
    QDate d;
    if (!GermanFormat::tryParseDate(content, &d))
        return content;
    return d.toString(Qt::ISODate);
}

} // namespace

TranslatedSql translate(const QString &programSql, Dialect dialect)
{
    TranslatedSql out;
    out.sql.reserve(programSql.size());
    const qsizetype n = programSql.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = programSql.at(i);
        if (c == u'\'') {
            // Copy the quoted literal, honouring doubled quotes inside it.
            QString content;
            qsizetype j = i + 1;
            for (; j < n; ++j) {
                if (programSql.at(j) == u'\'') {
                    if (j + 1 < n && programSql.at(j + 1) == u'\'') {
                        content += QStringLiteral("''");
                        ++j;
                        continue;
                    }
                    break;
                }
                content += programSql.at(j);
            }
            out.sql += u'\'' + rewriteLiteral(content);
            if (j < n)
                out.sql += u'\'';
            i = j;
            continue;
        }
        if (c == u'"') {
            const qsizetype end = programSql.indexOf(u'"', i + 1);
            const qsizetype stop = end < 0 ? n - 1 : end;
            out.sql += programSql.mid(i, stop - i + 1);
            i = stop;
            continue;
        }
        if (c == u':' && i + 1 < n && isIdentChar(programSql.at(i + 1))
            && (i == 0 || !isIdentChar(programSql.at(i - 1)))) {
            qsizetype j = i + 1;
            while (j < n && isIdentChar(programSql.at(j)))
                ++j;
            out.parameterNames << programSql.mid(i + 1, j - i - 1);
            out.sql += u'?';
            i = j - 1;
            continue;
        }
        if (dialect == Dialect::Postgres && (c == u'l' || c == u'L') && i + 4 <= n
            && programSql.mid(i, 4).compare(QLatin1String("like"), Qt::CaseInsensitive) == 0
            && (i == 0 || !isIdentChar(programSql.at(i - 1))) && (i + 4 == n || !isIdentChar(programSql.at(i + 4)))) {
            out.sql += QStringLiteral("ilike");
            i += 3;
            continue;
        }
        out.sql += c;
    }
    return out;
}

QString sourceTable(const QString &programSql)
{
    static const QRegularExpression re(QStringLiteral(R"(^\s*select\s.+?\sfrom\s+([A-Za-z_][A-Za-z0-9_]*)\s*(?:$|\s(?:where|order)\b))"),
                                       QRegularExpression::CaseInsensitiveOption
                                           | QRegularExpression::DotMatchesEverythingOption);
    const auto m = re.match(programSql);
    return m.hasMatch() ? m.captured(1) : QString();
}

QString lockRowsClause(Dialect dialect)
{
    return dialect == Dialect::Postgres ? QStringLiteral(" FOR UPDATE") : QString();
}

QString lockSql(Dialect dialect, LockSpace space, int id)
{
    if (dialect != Dialect::Postgres)
        return {};
    // The two-key form keeps these apart from the one-key lock of the first start.
    return QStringLiteral("select pg_advisory_xact_lock(%1, %2)").arg(static_cast<int>(space) + 0x46494E00).arg(id);
}

} // namespace SqlDialect
