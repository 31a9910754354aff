#include "data/Backup.h"

#include "data/DataError.h"
#include "data/Database.h"
#include "data/LockHolder.h"
#include "data/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <sqlite3.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Backup {

namespace {

const QRegularExpression &namePattern()
{
    static const QRegularExpression re(QStringLiteral(R"(^Finorra-(\d{4})-(\d{2})-(\d{2})-(\d{6})\.abs$)"));
    return re;
}

// A connection of its own, closed when it goes out of scope.
class Handle
{
public:
    Handle(const QString &path, int flags)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags, nullptr) != SQLITE_OK) {
            sqlite3_close_v2(m_db);
            m_db = nullptr;
        }
        if (m_db)
            sqlite3_busy_timeout(m_db, 5000);
    }
    ~Handle() { sqlite3_close_v2(m_db); }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;

    sqlite3 *get() const { return m_db; }
    QString error() const { return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("nicht geöffnet"); }

    // The first column of the first row, or "!<error>".
    QString value(const char *sql) const
    {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &stmt, nullptr) != SQLITE_OK)
            return u'!' + error();
        QString result;
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW)
            result = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
        else if (rc != SQLITE_DONE)
            result = u'!' + error();
        sqlite3_finalize(stmt);
        return result;
    }

private:
    sqlite3 *m_db = nullptr;
};

// Copies every page of `from` into `to` from one read transaction: the copy is the snapshot of
// the moment it began, and writers of other programs go on meanwhile without making it start
// again (the WAL keeps their pages apart until the snapshot is given up). Steps of a few
// pages let a progress bar move. Returns an empty string or the failure.
QString copySnapshot(sqlite3 *to, sqlite3 *from, const Progress &progress)
{
    const bool ownRead = sqlite3_get_autocommit(from) != 0;
    if (ownRead) {
        // BEGIN alone takes no snapshot yet; the first read does.
        if (sqlite3_exec(from, "BEGIN; SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK)
            return QString::fromUtf8(sqlite3_errmsg(from));
    }
    sqlite3_backup *b = sqlite3_backup_init(to, "main", from, "main");
    if (!b) {
        const QString failure = QString::fromUtf8(sqlite3_errmsg(to));
        if (ownRead)
            sqlite3_exec(from, "ROLLBACK", nullptr, nullptr, nullptr);
        return failure;
    }
    int rc = SQLITE_OK;
    int busyRounds = 0;
    do {
        rc = sqlite3_backup_step(b, 1024);
        if (progress) {
            const int total = sqlite3_backup_pagecount(b);
            progress(total > 0 ? 1.0 - double(sqlite3_backup_remaining(b)) / total : 1.0);
        }
        // Neither side is shared while the snapshot is held; a busy step is a passing lock on
        // the new file, so it is waited for a bounded while.
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            if (++busyRounds > 250)
                break;
            sqlite3_sleep(20);
        }
    } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
    sqlite3_backup_finish(b);
    if (ownRead)
        sqlite3_exec(from, "COMMIT", nullptr, nullptr, nullptr);
    return rc == SQLITE_DONE ? QString() : QString::fromUtf8(sqlite3_errstr(rc));
}

const QString PartialSuffix = QStringLiteral(".tmp");

// The half copy a backup writes into, locked (flock, apart from SQLite's own locks) for as
// long as the backup runs, so the next backup can tell a dead one's leftover from a copy
// another program is writing right now.
class Partial
{
public:
    explicit Partial(const QString &path) : m_path(path)
    {
        const QByteArray name = QFile::encodeName(path);
        for (int attempt = 0; attempt < 5 && m_fd < 0; ++attempt) {
            ::unlink(name.constData());
            const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
            if (fd < 0)
                continue;
            // A cleaner that met the file in the instant before the lock may have removed
            // it: the lock must be on the file that carries the name.
            struct stat held = {}, named = {};
            if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &held) == 0 && ::stat(name.constData(), &named) == 0
                && held.st_ino == named.st_ino && held.st_dev == named.st_dev)
                m_fd = fd;
            else
                ::close(fd);
        }
    }
    ~Partial()
    {
        remove();
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Partial(const Partial &) = delete;
    Partial &operator=(const Partial &) = delete;

    bool isHeld() const { return m_fd >= 0; }
    void remove()
    {
        if (m_fd >= 0 && !m_placed) {
            QFile::remove(m_path);
            QFile::remove(m_path + QStringLiteral("-journal"));
        }
    }
    bool placeAs(const QString &path)
    {
        m_placed = ::rename(QFile::encodeName(m_path).constData(), QFile::encodeName(path).constData()) == 0;
        return m_placed;
    }

private:
    QString m_path;
    int m_fd = -1;
    bool m_placed = false;
};

// A leftover is free when no program holds its lock.
bool isAbandoned(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

QString backupPath(const QString &dir, const QDateTime &now)
{
    // Two backups within one second (the one before a restore, say) must not replace each
    // other: the chosen backup could be the one overwritten.
    QDateTime stamp = now;
    QString path;
    do {
        path = dir + QStringLiteral("/Finorra-%1.abs").arg(stamp.toString(QStringLiteral("yyyy-MM-dd-HHmmss")));
        stamp = stamp.addSecs(1);
    } while (QFileInfo::exists(path) || QFileInfo::exists(path + PartialSuffix));
    return path;
}

QString makeFolder(const QString &dir)
{
    if (!QDir().mkpath(dir))
        throw DataError(QStringLiteral("Die Datensicherung kann nicht geschrieben werden.\rDas Verzeichnis \"%1\" kann "
                                       "nicht angelegt werden.")
                            .arg(QDir::toNativeSeparators(dir)));
    return dir;
}

QString checkFailure(const QString &path);

// Writes the backup of the database open on `source` into `dir`; see write().
QString writeFrom(sqlite3 *source, const QString &dir, const QDateTime &now, const Progress &progress,
                  const QStringList &keep)
{
    for (const QString &old : leftovers(dir)) {
        QFile::remove(dir + u'/' + old);
        QFile::remove(dir + u'/' + old + QStringLiteral("-journal"));
    }
    const QString path = backupPath(dir, now);
    Partial partial(path + PartialSuffix);
    if (!partial.isHeld())
        throw DataError(QStringLiteral("Die Datensicherung kann nicht geschrieben werden.\rDie Datei \"%1\" kann "
                                       "nicht angelegt werden.")
                            .arg(QDir::toNativeSeparators(path + PartialSuffix)));
    QString failure;
    {
        Handle target(path + PartialSuffix, SQLITE_OPEN_READWRITE);
        failure = target.get() ? copySnapshot(target.get(), source, progress) : target.error();
        if (failure.isEmpty() && target.value("PRAGMA journal_mode=DELETE").startsWith(u'!'))
            failure = target.error();
    }
    if (failure.isEmpty())
        failure = checkFailure(path + PartialSuffix);
    if (!failure.isEmpty())
        throw DataError(QStringLiteral("Die Datensicherung ist fehlgeschlagen und wurde gelöscht.\r%1").arg(failure));
    if (!partial.placeAs(path))
        throw DataError(QStringLiteral("Die Datensicherung \"%1\" kann nicht gespeichert werden.").arg(QDir::toNativeSeparators(path)));
    for (const QString &old : toDelete(list(dir), now.date(), keep))
        QFile::remove(dir + u'/' + old);
    return path;
}

QString checkFailure(const QString &path)
{
    Handle h(path, SQLITE_OPEN_READONLY);
    if (!h.get())
        return QStringLiteral("Die Datei kann nicht gelesen werden.");
    const QString check = h.value("PRAGMA integrity_check");
    if (check != QLatin1String("ok"))
        return QStringLiteral("Die Datei ist beschädigt.");
    if (h.value("PRAGMA application_id").toInt() != Database::ApplicationId)
        return QStringLiteral("Die Datei ist keine Finorra-Datenbank.");
    const int version = h.value("PRAGMA user_version").toInt();
    if (version > Schema::Version)
        return QStringLiteral("Sie stammt von einer neueren Programmversion (Datenbankversion %1, dieses Programm "
                              "kennt Version %2).")
            .arg(version)
            .arg(Schema::Version);
    return {};
}

} // namespace

QString folder(const Database &db)
{
    return db.directory() + FolderName;
}

QStringList list(const QString &dir)
{
    QStringList names;
    for (const QString &n : QDir(dir).entryList({QStringLiteral("Finorra-*.abs")}, QDir::Files, QDir::Name | QDir::Reversed))
        if (namePattern().match(n).hasMatch())
            names << n;
    return names;
}

QStringList toDelete(const QStringList &names, const QDate &today, const QStringList &keep)
{
    QStringList sorted = names;
    std::sort(sorted.begin(), sorted.end(), std::greater<>());   // the name sorts by time
    const QDate thisMonth(today.year(), today.month(), 1);
    QSet<QDate> monthsKept;
    QStringList out;
    for (qsizetype i = 0; i < sorted.size(); ++i) {
        const auto m = namePattern().match(sorted.at(i));
        if (!m.hasMatch())
            continue;
        // Newest first: the first of a month met is that month's last backup.
        const QDate month(m.captured(1).toInt(), m.captured(2).toInt(), 1);
        const bool inWindow = month < thisMonth && month >= thisMonth.addMonths(-KeepMonths);
        const bool lastOfMonth = inWindow && !monthsKept.contains(month);
        if (inWindow)
            monthsKept.insert(month);
        if (i < KeepLatest || lastOfMonth || keep.contains(sorted.at(i)))
            continue;
        out << sorted.at(i);
    }
    return out;
}

QStringList leftovers(const QString &dir)
{
    QStringList out;
    for (const QString &n : QDir(dir).entryList({QStringLiteral("Finorra-*.abs") + PartialSuffix}, QDir::Files))
        if (isAbandoned(dir + u'/' + n))
            out << n;
    return out;
}

QString write(const Database &db, const QDateTime &now, const Progress &progress)
{
    if (db.onServer() || !db.handle())
        throw DataError(QStringLiteral("Die Datenbank liegt auf einem Datenbankserver; ihre Sicherung ist Sache "
                                       "der Serververwaltung."));
    // A connection of its own for the snapshot: the program's connection stays free for
    // writing meanwhile, and a transaction it has open does not decide what is copied.
    Handle source(db.filePath(), SQLITE_OPEN_READONLY);
    if (!source.get())
        throw DataError(QStringLiteral("Die Datensicherung kann nicht geschrieben werden.\rDie Datenbank kann nicht "
                                       "gelesen werden."));
    return writeFrom(source.get(), makeFolder(folder(db)), now, progress, {});
}

void check(const QString &backupFile)
{
    const QString failure = checkFailure(backupFile);
    if (!failure.isEmpty())
        throw DataError(QStringLiteral("Die Datensicherung \"%1\" kann nicht zurückgespielt werden.\r%2")
                            .arg(QDir::toNativeSeparators(backupFile), failure));
}

void restore(Database &db, const QString &backupFile, const Progress &progress)
{
    check(backupFile);
    if (db.onServer())
        throw DataError(QStringLiteral("Die Datenbank liegt auf einem Datenbankserver; ihre Sicherung ist Sache "
                                       "der Serververwaltung."));
    const QString filePath = db.filePath();
    const QString dir = makeFolder(folder(db));
    db.close();

    auto refuse = [](const QString &reason) {
        throw DataError(QStringLiteral("Die Datensicherung wurde nicht zurückgespielt.\r%1").arg(reason));
    };
    const QString inUse = QStringLiteral("Die Datenbank wird noch von einem anderen Programm benutzt. Bitte beenden "
                                         "Sie es an allen Arbeitsplätzen und versuchen Sie es noch einmal.");
    Handle target(filePath, SQLITE_OPEN_READWRITE);
    if (!target.get())
        refuse(QStringLiteral("Die Datenbank kann nicht geöffnet werden."));
    sqlite3_busy_timeout(target.get(), 1000);
    // Leaving WAL mode works only while no other program has the file open. The exclusive
    // lock taken right after it is held until the backup's pages are in place, so nothing a
    // colleague writes can fall between the safety copy and the restore: a program starting
    // meanwhile waits, and one that slipped in between puts the file back into WAL mode,
    // which makes the restore refuse.
    if (target.value("PRAGMA journal_mode=DELETE").compare(QLatin1String("delete"), Qt::CaseInsensitive) != 0)
        refuse(inUse);
    const bool locked = !target.value("PRAGMA locking_mode=EXCLUSIVE").startsWith(u'!')
                        && !target.value("BEGIN EXCLUSIVE").startsWith(u'!') && !target.value("COMMIT").startsWith(u'!')
                        && target.value("PRAGMA journal_mode").compare(QLatin1String("delete"), Qt::CaseInsensitive) == 0;
    if (!locked)
        refuse(inUse);
    const LockHolder::Activity note(filePath, QStringLiteral("spielt eine Datensicherung zurück"));

    Handle source(backupFile, SQLITE_OPEN_READONLY);
    if (!source.get())
        refuse(QStringLiteral("Die Datensicherung kann nicht gelesen werden."));
    // What is there now stays available, and the backup being restored stays where it is.
    const QString chosen = QFileInfo(backupFile).fileName();
    try {
        writeFrom(target.get(), dir, QDateTime::currentDateTime(),
                  [&progress](double share) {
                      if (progress)
                          progress(share / 2);
                  },
                  {chosen});
    } catch (const DataError &e) {
        refuse(e.message());
    }
    const QString failure = copySnapshot(target.get(), source.get(), [&progress](double share) {
        if (progress)
            progress(0.5 + share / 2);
    });
    if (!failure.isEmpty())
        refuse(failure);
    target.value("PRAGMA journal_mode=WAL");
}

} // namespace Backup
