#pragma once

#include <QString>
#include <QVector>

#include <functional>

class Database;

// Moves an office's database between a file and a server: every table and row, keys kept,
// in one transaction on the target. The target must be new: a database just created by
// opening it, holding nothing but its first-start data (which the copy replaces).
namespace DatabaseCopy {

struct TableCount
{
    QString table;
    qint64 source = 0;
    qint64 target = 0;
};

// Called now and then while a table is copied, and once when it is complete.
using Progress = std::function<void(const QString &table, qint64 done, qint64 total)>;

// Throws DataError; the target is left as it was then.
QVector<TableCount> copy(const Database &source, const Database &target, const Progress &progress = {});

// Rows per table on both sides, compared after the copy.
QVector<TableCount> compare(const Database &source, const Database &target);

} // namespace DatabaseCopy
