#pragma once

#include <QString>
#include <QStringList>

// The program writes its SQL with named parameters (":ben_id") and dates as quoted German
// short dates ('01.01.2024'). The database gets positional parameters and ISO dates, so date
// literals compare as dates against the ISO text SQLite stores and against PostgreSQL's DATE
// columns alike. PostgreSQL compares LIKE with regard to case, so there it becomes ILIKE,
// which finds "Ärzte" for "ärzte" as the file's own LIKE does. Text columns in the
// "order by" of a single-table select sort German (core/GermanCollation) on both.
struct TranslatedSql
{
    QString sql;                 // what the database runs
    QStringList parameterNames;  // one per "?", in order, as written (case kept)
};

enum class Dialect { Sqlite, Postgres };

namespace SqlDialect {

TranslatedSql translate(const QString &programSql, Dialect dialect = Dialect::Sqlite);

// " COLLATE …": the German order of the backend, to follow a text expression.
QString germanCollation(Dialect dialect);
// The server's collation for German order ("de-x-icu"), found when the connection opens;
// empty when the server has none.
void setServerCollation(const QString &name);

// The table a single-table "select … from <table>" reads, or an empty string.
QString sourceTable(const QString &programSql);

// Appended to a select of one row by its key inside a write transaction, so nobody else can
// change the row until the transaction ends. The file's write transaction locks it already.
QString lockRowsClause(Dialect dialect);

// What is locked by id for the rest of a write transaction; each has a range of its own.
enum class LockSpace { Book = 1 };
// The statement that takes such a lock, or an empty string where the write transaction
// holds everything already (the file).
QString lockSql(Dialect dialect, LockSpace space, int id);

} // namespace SqlDialect
