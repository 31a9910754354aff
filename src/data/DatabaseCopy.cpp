#include "data/DatabaseCopy.h"

#include "data/DataError.h"
#include "data/Database.h"
#include "data/FieldValue.h"
#include "data/Schema.h"

#include <QStringList>

namespace DatabaseCopy {

namespace {

// Rows written by one statement: few round trips to a server, few parameters per statement.
constexpr int RowsPerStatement = 200;

qint64 rowCount(const Database &db, const TableDef &t)
{
    return db.scalar(QStringLiteral("select count(*) from %1").arg(t.name)).toLongLong();
}

void copyTable(const Database &source, const Database &target, const TableDef &t, const Progress &progress)
{
    QStringList names;
    for (const ColumnDef &c : t.columns)
        names << c.name;
    const QString columnList = names.join(QStringLiteral(", "));
    const QString oneRow = u'(' + QStringList(names.size(), QStringLiteral("?")).join(u',') + u')';
    const qint64 total = rowCount(source, t);

    TranslatedSql select;
    select.sql = QStringLiteral("select %1 from %2 order by %3").arg(columnList, t.name, t.key().name);
    QSqlQuery rows = source.execBound(select, {}, true);

    QVariantList values;
    int pending = 0;
    qint64 done = 0;
    auto flush = [&] {
        if (pending == 0)
            return;
        TranslatedSql insert;
        insert.sql = QStringLiteral("insert into %1 (%2) values %3")
                         .arg(t.name, columnList, QStringList(pending, oneRow).join(u','));
        target.execBound(insert, values, true);
        done += pending;
        values.clear();
        pending = 0;
        if (progress)
            progress(t.name, done, total);
    };
    while (rows.next()) {
        for (int i = 0; i < t.columns.size(); ++i)
            values << FieldValue::fromStorage(rows.value(i), i == 0 ? FieldType::Integer : t.columns.at(i).type);
        if (++pending == RowsPerStatement)
            flush();
    }
    flush();
    if (progress && total == 0)
        progress(t.name, 0, 0);
    target.continueKeysAfterMaximum(t.name, t.key().name);
}

} // namespace

QVector<TableCount> copy(const Database &source, const Database &target, const Progress &progress)
{
    if (!source.isOpen() || !target.isOpen())
        throw DataError(QStringLiteral("Keine Verbindung zur Datenbank."));
    if (source.schemaVersion() != target.schemaVersion())
        throw DataError(QStringLiteral("Quelle und Ziel haben verschiedene Datenbankversionen (%1 und %2).")
                            .arg(source.schemaVersion())
                            .arg(target.schemaVersion()));
    // A target with work of its own is never overwritten: only the first-start data of a
    // database made for the move may be there (one user, no records of any client).
    for (const char *table : {"adressen", "budget", "hhplan", "hhbuch", "schrift", "Termine", "Infothek"}) {
        if (target.scalar(QStringLiteral("select count(*) from %1").arg(QLatin1String(table))).toLongLong() > 0)
            throw DataError(QStringLiteral("Die Zieldatenbank %1 ist nicht leer (Tabelle %2).\rBitte geben Sie eine "
                                           "neue, leere Datenbank als Ziel an.")
                                .arg(target.location(), QLatin1String(table)));
    }
    if (target.scalar(QStringLiteral("select count(*) from benutzer")).toLongLong() > 1)
        throw DataError(QStringLiteral("Die Zieldatenbank %1 ist nicht leer (Tabelle benutzer).\rBitte geben Sie eine "
                                       "neue, leere Datenbank als Ziel an.")
                            .arg(target.location()));

    target.transaction([&] {
        for (const TableDef &t : Schema::tables())
            target.exec(QStringLiteral("delete from %1").arg(t.name));
        for (const TableDef &t : Schema::tables())
            copyTable(source, target, t, progress);
    });
    return compare(source, target);
}

QVector<TableCount> compare(const Database &source, const Database &target)
{
    QVector<TableCount> out;
    for (const TableDef &t : Schema::tables())
        out.append({t.name, rowCount(source, t), rowCount(target, t)});
    return out;
}

} // namespace DatabaseCopy
