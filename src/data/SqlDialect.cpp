#include "data/SqlDialect.h"

#include "core/GermanFormat.h"
#include "data/Schema.h"

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

// Where the top-level "order by" of `sql` begins (at "order") and where its list ends; -1
// when there is none. Literals and parentheses are stepped over.
qsizetype findOrderBy(const QString &sql, qsizetype *listStart, qsizetype *listEnd)
{
    static const QRegularExpression orderBy(QStringLiteral(R"(\Gorder\s+by\s)"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression stop(QStringLiteral(R"(\G(limit|offset|for)\b)"), QRegularExpression::CaseInsensitiveOption);
    const qsizetype n = sql.size();
    int depth = 0;
    qsizetype found = -1;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sql.at(i);
        if (c == u'\'' || c == u'"') {
            const qsizetype end = sql.indexOf(c, i + 1);
            i = end < 0 ? n : end;
            continue;
        }
        if (c == u'(')
            ++depth;
        else if (c == u')')
            --depth;
        else if (depth == 0 && (i == 0 || !isIdentChar(sql.at(i - 1)))) {
            if (found < 0) {
                const auto m = orderBy.match(sql, i);
                if (m.hasMatch()) {
                    found = i;
                    *listStart = m.capturedEnd();
                    i = m.capturedEnd() - 1;
                }
            } else if (c == u';' || stop.match(sql, i).hasMatch()) {
                *listEnd = i;
                return found;
            }
        }
    }
    *listEnd = n;
    return found;
}

// Lists of names and words sort German on both backends: each text column of the
// "order by" gets the German collation (see GermanCollation), numbers and dates keep
// their order. The server is told to put empty values first, as the file does.
QString sortGerman(const QString &sql, const QString &programSql, Dialect dialect)
{
    qsizetype start = 0, end = 0;
    if (findOrderBy(sql, &start, &end) < 0)
        return sql;
    const TableDef *table = Schema::table(sourceTable(programSql));
    if (!table)
        return sql;
    static const QRegularExpression item(QStringLiteral(R"(^(\s*)((?:[A-Za-z_][A-Za-z0-9_]*\.)?([A-Za-z_][A-Za-z0-9_]*))(\s+(asc|desc))?(\s*)$)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QStringList items = sql.mid(start, end - start).split(u',');
    QStringList out;
    bool changed = false;
    for (const QString &it : items) {
        const auto m = item.match(it);
        const ColumnDef *column = m.hasMatch() ? table->column(m.captured(3)) : nullptr;
        if (!column || !isTextual(column->type)) {
            out << it;
            continue;
        }
        const bool descending = m.captured(5).compare(QLatin1String("desc"), Qt::CaseInsensitive) == 0;
        QString rewritten = m.captured(1) + m.captured(2) + SqlDialect::germanCollation(dialect) + m.captured(4);
        if (dialect == Dialect::Postgres)
            rewritten += descending ? QStringLiteral(" NULLS LAST") : QStringLiteral(" NULLS FIRST");
        out << rewritten + m.captured(6);
        changed = true;
    }
    if (!changed)
        return sql;
    return sql.left(start) + out.join(u',') + sql.mid(end);
}

} // namespace

namespace {

QString &serverCollation()
{
    static QString name = QStringLiteral("de-x-icu");
    return name;
}

} // namespace

void setServerCollation(const QString &name)
{
    serverCollation() = name;
}

QString germanCollation(Dialect dialect)
{
    if (dialect != Dialect::Postgres)
        return QStringLiteral(" COLLATE german");
    const QString &name = serverCollation();
    return name.isEmpty() ? QString() : QStringLiteral(" COLLATE \"%1\"").arg(name);
}

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
    out.sql = sortGerman(out.sql, programSql, dialect);
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
