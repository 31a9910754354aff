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

// Writes Finorra-YYYY-MM-DD-HHMMSS.abs for `now` and thins out the older backups. The copy is
// one consistent snapshot read in a single pass, so it ends however busy the file is; one that
// fails its check is deleted and reported. Half copies that killed backups left behind are
// removed first. Returns the path. Throws DataError.
QString write(const Database &db, const QDateTime &now = QDateTime::currentDateTime(), const Progress &progress = {});

// The half copies of backups that no running program is writing any more, in `folder`.
QStringList leftovers(const QString &folder);

// The backups of the folder, newest first.
QStringList list(const QString &folder);

// Which of `names` (Finorra-YYYY-MM-DD-HHMMSS.abs) to delete: all but the newest KeepLatest
// and the newest of each of the KeepMonths months before the month of `today`.
// Names in `keep` are never deleted.
QStringList toDelete(const QStringList &names, const QDate &today, const QStringList &keep = {});

// Refuses a file that is damaged, not ours or from a newer program. Throws DataError.
void check(const QString &backupFile);

// Puts `backupFile` in place of the database file of `db`: the backup is checked, the file is
// locked against every other program, the current content is saved as a backup (which never
// thins out the one being restored), then the pages are copied in. Nothing happens, and no
// copy is written, while another program has the database open; a program starting meanwhile
// waits for the lock. `db` is closed on the way and stays closed. Throws DataError.
void restore(Database &db, const QString &backupFile, const Progress &progress = {});

} // namespace Backup
