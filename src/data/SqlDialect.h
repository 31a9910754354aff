#pragma once

#include <QString>
#include <QStringList>

// The program writes its SQL with named parameters (":ben_id") and dates as quoted German
// short dates ('01.01.2024'). SQLite gets positional parameters and ISO dates, so date
// literals compare as dates against the ISO text stored in date columns.
struct TranslatedSql
{
    QString sql;                 // what SQLite runs
    QStringList parameterNames;  // one per "?", in order, as written (case kept)
};

namespace SqlDialect {

TranslatedSql translate(const QString &programSql);

// The table a single-table "select … from <table>" reads, or an empty string.
QString sourceTable(const QString &programSql);

} // namespace SqlDialect
