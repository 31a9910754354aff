#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

class Database;

// Copies of the database file in "Datensicherung/" beside it, written through SQLite's online
// backup while other programs go on working, each checked before it counts. Only for the file:
// a server's database is backed up by its administration.
namespace Backup {

inline const QString FolderName = QStringLiteral("Datensicherung");
inline constexpr int KeepLatest = 10;
inline constexpr int KeepMonths = 12;

// Share of the work done, 0 … 1; for a progress bar.
using Progress = std::function<void(double)>;

QString folder(const Database &db);

// Writes Finorra-YYYY-MM-DD-HHMMSS.abs for `now` and thins out the older backups. A copy that
// fails its check is deleted and reported. Returns the path. Throws DataError.
QString write(const Database &db, const QDateTime &now = QDateTime::currentDateTime(), const Progress &progress = {});

// The backups of the folder, newest first.
QStringList list(const QString &folder);

// Which of `names` (Finorra-YYYY-MM-DD-HHMMSS.abs) to delete: all but the newest KeepLatest
// and the newest of each of the KeepMonths months before the month of `today`.
QStringList toDelete(const QStringList &names, const QDate &today);

// Refuses a file that is damaged, not ours or from a newer program. Throws DataError.
void check(const QString &backupFile);

// Puts `backupFile` in place of the database file of `db`: the backup is checked, the current
// file is saved as a backup first, and nothing happens while another program has the database
// open. `db` is closed on the way and stays closed. Throws DataError.
void restore(Database &db, const QString &backupFile, const Progress &progress = {});

} // namespace Backup
