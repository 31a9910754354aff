#include "data/Backup.h"

#include "data/DataError.h"
#include "data/Database.h"
#include "data/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <sqlite3.h>

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

// Copies every page from `from` to `to` in steps, so a progress bar moves and other programs
// get their turn in between. Returns an empty string or the failure.
QString copyPages(sqlite3 *to, sqlite3 *from, const Progress &progress)
{
    sqlite3_backup *b = sqlite3_backup_init(to, "main", from, "main");
    if (!b)
        return QString::fromUtf8(sqlite3_errmsg(to));
    int rc = SQLITE_OK;
    do {
        rc = sqlite3_backup_step(b, 256);
        if (progress) {
            const int total = sqlite3_backup_pagecount(b);
            progress(total > 0 ? 1.0 - double(sqlite3_backup_remaining(b)) / total : 1.0);
        }
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
            sqlite3_sleep(20);
    } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
    sqlite3_backup_finish(b);
    return rc == SQLITE_DONE ? QString() : QString::fromUtf8(sqlite3_errstr(rc));
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

QStringList toDelete(const QStringList &names, const QDate &today)
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
        if (i < KeepLatest || lastOfMonth)
            continue;
        out << sorted.at(i);
    }
    return out;
}

QString write(const Database &db, const QDateTime &now, const Progress &progress)
{
    if (db.onServer() || !db.handle())
        throw DataError(QStringLiteral("Die Datenbank liegt auf einem Datenbankserver; ihre Sicherung ist Sache "
                                       "der Serververwaltung."));
    const QString dir = folder(db);
    if (!QDir().mkpath(dir))
        throw DataError(QStringLiteral("Die Datensicherung kann nicht geschrieben werden.\rDas Verzeichnis \"%1\" kann "
                                       "nicht angelegt werden.")
                            .arg(QDir::toNativeSeparators(dir)));
    // Two backups within one second (the one before a restore, say) must not replace each
    // other: the chosen backup could be the one overwritten.
    QDateTime stamp = now;
    QString path;
    do {
        path = dir + QStringLiteral("/Finorra-%1.abs").arg(stamp.toString(QStringLiteral("yyyy-MM-dd-HHmmss")));
        stamp = stamp.addSecs(1);
    } while (QFileInfo::exists(path));
    const QString partial = path + QStringLiteral(".tmp");
    QFile::remove(partial);
    QString failure;
    {
        Handle target(partial, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        failure = target.get() ? copyPages(target.get(), db.handle(), progress) : target.error();
        if (failure.isEmpty() && target.value("PRAGMA journal_mode=DELETE").startsWith(u'!'))
            failure = target.error();
    }
    if (failure.isEmpty())
        failure = checkFailure(partial);
    if (!failure.isEmpty()) {
        QFile::remove(partial);
        throw DataError(QStringLiteral("Die Datensicherung ist fehlgeschlagen und wurde gelöscht.\r%1").arg(failure));
    }
    if (!QFile::rename(partial, path)) {
        QFile::remove(partial);
        throw DataError(QStringLiteral("Die Datensicherung \"%1\" kann nicht gespeichert werden.").arg(QDir::toNativeSeparators(path)));
    }
    for (const QString &old : toDelete(list(dir), now.date()))
        QFile::remove(dir + u'/' + old);
    return path;
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
    write(db);   // what is there now stays available
    db.close();

    auto refuse = [](const QString &reason) {
        throw DataError(QStringLiteral("Die Datensicherung wurde nicht zurückgespielt.\r%1").arg(reason));
    };
    Handle target(filePath, SQLITE_OPEN_READWRITE);
    if (!target.get())
        refuse(QStringLiteral("Die Datenbank kann nicht geöffnet werden."));
    sqlite3_busy_timeout(target.get(), 1000);
    // Leaving WAL mode works only while no other program has the file open; holding the
    // exclusive lock from then on keeps every program out until the pages are in place.
    if (target.value("PRAGMA journal_mode=DELETE").compare(QLatin1String("delete"), Qt::CaseInsensitive) != 0)
        refuse(QStringLiteral("Die Datenbank wird noch von einem anderen Programm benutzt. Bitte beenden Sie es "
                              "an allen Arbeitsplätzen und versuchen Sie es noch einmal."));
    if (target.value("PRAGMA locking_mode=EXCLUSIVE").startsWith(u'!'))
        refuse(target.error());
    Handle source(backupFile, SQLITE_OPEN_READONLY);
    if (!source.get())
        refuse(QStringLiteral("Die Datensicherung kann nicht gelesen werden."));
    const QString failure = copyPages(target.get(), source.get(), progress);
    if (!failure.isEmpty())
        refuse(failure);
    target.value("PRAGMA journal_mode=WAL");
}

} // namespace Backup
