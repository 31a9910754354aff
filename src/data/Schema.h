#pragma once

#include "data/FieldType.h"
#include "data/SqlDialect.h"

#include <QString>
#include <QStringList>
#include <QVector>

struct ColumnDef
{
    QString name;
    FieldType type = FieldType::Text;
    int size = 0;           // characters of a text column
    bool required = false;  // posting a row without a value fails with the required-field message
};

struct TableDef
{
    QString name;
    QVector<ColumnDef> columns;   // the first column is the key
    QStringList indexes;          // column lists ("user_id", "hhplan_id, buchdat")

    const ColumnDef &key() const { return columns.first(); }
    const ColumnDef *column(const QString &name) const;   // case ignored; nullptr when absent
    QString createSql(Dialect dialect = Dialect::Sqlite) const;
    QStringList createIndexSql() const;
};

// Every table of the database with its columns in their stored order.
namespace Schema {

// Raised whenever the tables change; each step to a new number is a migration.
inline constexpr int Version = 5;

const QVector<TableDef> &tables();
const TableDef *table(const QString &name);   // case ignored; nullptr when unknown

QString sqlType(const ColumnDef &column, bool isKey, Dialect dialect = Dialect::Sqlite);

} // namespace Schema
