#include "data/Database.h"

#include "data/DataError.h"
#include "data/FirstStartData.h"
#include "data/Migrations.h"
#include "data/NoReplaceFile.h"
#include "data/Schema.h"
#include "data/SqliteFunctions.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QTime>

#include <sqlite3.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

std::atomic<int> g_connectionCounter{0};

QString openFailure(const QString &path, const QString &reason)
{
    return QStringLiteral("Die Datenbank \"%1\" kann nicht geöffnet werden.\r%2").arg(QDir::toNativeSeparators(path), reason);
}

QString createFailure(const QString &path, const QString &reason)
{
    return QStringLiteral("Die Datenbank \"%1\" kann nicht angelegt werden.\r%2").arg(QDir::toNativeSeparators(path), reason);
}

const QString Damaged = QStringLiteral("Die Datei ist beschädigt.\rBitte stellen Sie die Datenbank aus einer "
                                       "Datensicherung wieder her.");
const QString ReadOnlyFile = QStringLiteral("Die Datei ist schreibgeschützt.\rBitte heben Sie den Schreibschutz auf, "
                                            "damit Ihre Eingaben gespeichert werden können.");

QString readOnlyFolder(const QString &directory)
{
    return QStringLiteral("Das Verzeichnis \"%1\" ist schreibgeschützt.\rDas Programm braucht dort Schreibrecht "
                          "für die Datenbank und ihre Begleitdateien.")
        .arg(QDir::toNativeSeparators(QDir::cleanPath(directory)));
}

// The reason a statement failed, in words a user understands where we know them.
QString reasonFor(const QSqlError &error)
{
    const int code = error.nativeErrorCode().toInt() & 0xFF;
    switch (code) {
    case SQLITE_NOTADB: return QStringLiteral("Die Datei ist keine Datenbank.");
    case SQLITE_CORRUPT: return Damaged;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return QStringLiteral("Die Datei ist von einem anderen Programm gesperrt.");
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH: return QStringLiteral("Die Datei kann nicht gelesen werden.");
    case SQLITE_READONLY: return ReadOnlyFile;
    case SQLITE_FULL: return QStringLiteral("Der Datenträger ist voll.");
    case SQLITE_IOERR: return QStringLiteral("Beim Lesen oder Schreiben der Datei ist ein Fehler aufgetreten.");
    default: break;
    }
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return QStringLiteral("Datenbankfehler: %1").arg(text);
}

// Files and folders alike, so a rename survives a power cut.
bool syncFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace

Database::Database(QObject *parent)
    : QObject(parent),
      m_connectionName(QStringLiteral("finorra-%1").arg(g_connectionCounter.fetch_add(1)))
{
}

Database::~Database()
{
    close();
}

bool Database::isOpen() const
{
    return QSqlDatabase::contains(m_connectionName) && connection().isOpen();
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

sqlite3 *Database::handle() const
{
    const QVariant v = connection().driver()->handle();
    if (v.isValid() && qstrcmp(v.typeName(), "sqlite3*") == 0)
        return *static_cast<sqlite3 *const *>(v.constData());
    return nullptr;
}

void Database::open(const QString &directory)
{
    close();
    m_directory = QDir(directory).absolutePath();
    if (!m_directory.endsWith(u'/'))
        m_directory += u'/';
    m_filePath = m_directory + FileName;

    // A reorganisation in another instance may put a new file in place while this one
    // opens; a connection that finds itself on the replaced file starts again on the new.
    constexpr int Attempts = 5;
    for (int attempt = 1;; ++attempt) {
        if (tryOpen())
            return;
        if (attempt == Attempts)
            throw DataError(openFailure(m_filePath, QStringLiteral("Die Datei wird gerade von einem anderen Programm "
                                                                   "ersetzt. Bitte versuchen Sie es noch einmal.")));
    }
}

bool Database::tryOpen()
{
    const QFileInfo info(m_filePath);
    if (!info.exists()) {
        if (!QFileInfo(m_directory).isDir())
            throw DataError(openFailure(m_filePath, QStringLiteral("Das Verzeichnis existiert nicht.")));
        createFile();
    } else if (!info.isFile()) {
        throw DataError(openFailure(m_filePath, QStringLiteral("Der Pfad ist keine Datei.")));
    }
    checkAccess();

    connectTo(m_filePath, openFailure);

    try {
        checkExisting();
        configure();
        // From here on the connection holds its shared lock in WAL mode, so no
        // reorganisation can replace the file under it any more.
        if (hasMoved()) {
            dropConnection();
            return false;
        }
        const int version = schemaVersion();
        if (version < Schema::Version)
            migrate(version);
    } catch (...) {
        const bool moved = hasMoved();
        dropConnection();
        if (moved)
            return false;
        throw;
    }
    return true;
}

void Database::connectTo(const QString &databaseName, QString (*failure)(const QString &, const QString &))
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(databaseName);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_busyTimeoutMs));
    if (!db.open()) {
        const QString reason = reasonFor(db.lastError());
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        throw DataError(failure(m_filePath, reason));
    }
}

void Database::dropConnection()
{
    {
        QSqlDatabase db = connection();
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

bool Database::hasMoved() const
{
    sqlite3 *h = handle();
    int moved = 0;
    if (h && sqlite3_file_control(h, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK)
        return moved != 0;
    return false;
}

// Decided before SQLite opens anything: a file it may only read would accept the start and
// fail at the first save, and without a writable folder there is no room for the -wal and
// -shm files every instance shares.
void Database::checkAccess() const
{
    const QByteArray file = QFile::encodeName(m_filePath);
    if (::faccessat(AT_FDCWD, file.constData(), R_OK, AT_EACCESS) != 0)
        throw DataError(openFailure(m_filePath, QStringLiteral("Die Datei kann nicht gelesen werden.")));
    if (::faccessat(AT_FDCWD, file.constData(), W_OK, AT_EACCESS) != 0)
        throw DataError(openFailure(m_filePath, ReadOnlyFile));
    if (::faccessat(AT_FDCWD, QFile::encodeName(m_directory).constData(), W_OK | X_OK, AT_EACCESS) != 0)
        throw DataError(openFailure(m_filePath, readOnlyFolder(m_directory)));
}

// The new file is made in memory and put into place whole: an instance starting at the same
// moment finds no file or a complete one, and a crash half-way leaves nothing behind. The
// instance that loses the race opens the winner's file.
void Database::createFile()
{
    QByteArray image;
    connectTo(QStringLiteral(":memory:"), createFailure);
    try {
        transaction([this] {
            exec(QStringLiteral("PRAGMA application_id=%1").arg(ApplicationId));
            for (const TableDef &t : Schema::tables()) {
                exec(t.createSql());
                for (const QString &ix : t.createIndexSql())
                    exec(ix);
            }
            FirstStartData::write(*this);
            exec(QStringLiteral("PRAGMA user_version=%1").arg(Schema::Version));
        });
        sqlite3_int64 size = 0;
        unsigned char *bytes = sqlite3_serialize(handle(), "main", &size, 0);
        if (!bytes)
            throw DataError(createFailure(m_filePath, QStringLiteral("Zu wenig Arbeitsspeicher.")));
        image = QByteArray(reinterpret_cast<const char *>(bytes), static_cast<qsizetype>(size));
        sqlite3_free(bytes);
        // The file is placed in WAL mode already (header bytes 18 and 19), so the first open
        // has nothing to switch: switching writes a rollback journal, and a start killed
        // right then would leave a hot journal beside the new file.
        if (image.size() >= 100)
            image[18] = image[19] = 2;
    } catch (...) {
        dropConnection();
        throw;
    }
    dropConnection();

    const NoReplaceFile::Result placed = NoReplaceFile::place(m_directory, FileName, image);
    if (placed.outcome != NoReplaceFile::Outcome::Failed)
        return;
    QString reason;
    switch (placed.error) {
    case EACCES:
    case EPERM:
    case EROFS: reason = readOnlyFolder(m_directory); break;
    case ENOSPC:
    case EDQUOT: reason = QStringLiteral("Der Datenträger ist voll."); break;
    default: reason = QStringLiteral("Systemfehler: %1").arg(QString::fromLocal8Bit(std::strerror(placed.error))); break;
    }
    throw DataError(createFailure(m_filePath, reason));
}

void Database::checkExisting()
{
    // One read transaction, so every check sees the same file: the header and the schema
    // tell a foreign, locked or newer file, quick_check finds damaged pages before the
    // first save does, and nothing is written before all of them pass.
    exec(QStringLiteral("BEGIN"));
    try {
        QSqlQuery q(connection());
        if (!q.exec(QStringLiteral("PRAGMA application_id")) || !q.next())
            throw DataError(openFailure(m_filePath, reasonFor(q.lastError())));
        const int appId = q.value(0).toInt();
        if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !q.next())
            throw DataError(openFailure(m_filePath, reasonFor(q.lastError())));
        const int tables = q.value(0).toInt();
        if (hasMoved())
            throw DataError(QStringLiteral("moved"));   // replaced meanwhile; open() starts again
        if (appId != ApplicationId && tables == 0)
            throw DataError(openFailure(m_filePath, QStringLiteral("Die Datei ist keine Finorra-Datenbank.\rSie enthält "
                                                                   "keine Tabellen; vermutlich wurde das erste Anlegen "
                                                                   "abgebrochen. Wenn Sie die Datei löschen, legt das "
                                                                   "Programm beim nächsten Start eine neue an.")));
        if (appId != ApplicationId)
            throw DataError(openFailure(m_filePath, QStringLiteral("Die Datei ist keine Finorra-Datenbank.")));
        const int version = schemaVersion();
        if (version > Schema::Version)
            throw DataError(openFailure(
                m_filePath, QStringLiteral("Sie stammt von einer neueren Programmversion (Datenbankversion %1, "
                                           "dieses Programm kennt Version %2).")
                                .arg(version)
                                .arg(Schema::Version)));
        if (!q.exec(QStringLiteral("PRAGMA quick_check(1)")))
            throw DataError(openFailure(m_filePath, reasonFor(q.lastError())));
        if (!q.next() || q.value(0).toString() != QLatin1String("ok"))
            throw DataError(openFailure(m_filePath, Damaged));
        q.finish();
    } catch (...) {
        QSqlQuery rollback(connection());
        rollback.exec(QStringLiteral("ROLLBACK"));
        throw;
    }
    exec(QStringLiteral("COMMIT"));
}

void Database::configure()
{
    QSqlQuery q(connection());
    if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")))
        throw DataError(openFailure(m_filePath, reasonFor(q.lastError())));
    q.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    if (sqlite3 *h = handle())
        SqliteFunctions::install(h);
}

void Database::migrate(int fromVersion)
{
    for (int v = fromVersion + 1; v <= Schema::Version; ++v) {
        transaction([this, v] {
            Migrations::apply(*this, v);
            exec(QStringLiteral("PRAGMA user_version=%1").arg(v));
        });
    }
}

void Database::close()
{
    if (!QSqlDatabase::contains(m_connectionName))
        return;
    emit aboutToClose();   // data sets give their readers back first
    closeReaders();
    {
        QSqlDatabase db = connection();
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

int Database::schemaVersion() const
{
    return scalar(QStringLiteral("PRAGMA user_version")).toInt();
}

QVariant Database::toStorage(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return QVariant();
    switch (value.typeId()) {
    case QMetaType::QDate: {
        const QDate d = value.toDate();
        return d.isValid() ? QVariant(d.toString(Qt::ISODate)) : QVariant();
    }
    case QMetaType::QTime: {
        const QTime t = value.toTime();
        return t.isValid() ? QVariant(t.toString(QStringLiteral("HH:mm:ss"))) : QVariant();
    }
    case QMetaType::QDateTime:
        return value.toDateTime().date().toString(Qt::ISODate);
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    default:
        return value;
    }
}

namespace {

QSqlQuery prepareOn(const QSqlDatabase &connection, const TranslatedSql &sql, bool forwardOnly)
{
    QSqlQuery q(connection);
    q.setForwardOnly(forwardOnly);
    if (!q.prepare(sql.sql))
        throw DataError(QStringLiteral("Fehler in der Abfrage: %1").arg(reasonFor(q.lastError())));
    return q;
}

void execWith(QSqlQuery &q, const QVariantList &values)
{
    for (qsizetype i = 0; i < values.size(); ++i)
        q.bindValue(static_cast<int>(i), Database::toStorage(values.at(i)));
    if (!q.exec())
        throw DataError(QStringLiteral("Fehler beim Ausführen der Abfrage: %1").arg(reasonFor(q.lastError())));
}

QSqlQuery run(const QSqlDatabase &connection, const TranslatedSql &sql, const QVariantList &values, bool forwardOnly)
{
    QSqlQuery q = prepareOn(connection, sql, forwardOnly);
    execWith(q, values);
    return q;
}

} // namespace

QString Database::takeReader()
{
    if (!isOpen())
        return {};
    for (Reader &r : m_readers) {
        if (!r.busy) {
            r.busy = true;
            return r.name;
        }
    }
    const QString name = m_connectionName + QStringLiteral("-reader-%1").arg(m_readers.size());
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(m_filePath);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_busyTimeoutMs));
        bool ok = db.open();
        if (ok) {
            QSqlQuery q(db);
            ok = q.exec(QStringLiteral("PRAGMA query_only=1"));
            const QVariant v = db.driver()->handle();
            if (ok && v.isValid() && qstrcmp(v.typeName(), "sqlite3*") == 0)
                SqliteFunctions::install(*static_cast<sqlite3 *const *>(v.constData()));
        }
        if (!ok) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            return {};
        }
    }
    m_readers.append({name, true});
    return name;
}

void Database::releaseReader(const QString &name)
{
    for (Reader &r : m_readers)
        if (r.name == name)
            r.busy = false;
}

QSqlQuery Database::execBoundOn(const QString &reader, const TranslatedSql &sql, const QVariantList &values) const
{
    if (!QSqlDatabase::contains(reader))
        throw DataError(QStringLiteral("Keine Verbindung zur Datenbank."));
    return run(QSqlDatabase::database(reader, false), sql, values, true);
}

void Database::closeReaders()
{
    for (const Reader &r : std::as_const(m_readers)) {
        {
            QSqlDatabase db = QSqlDatabase::database(r.name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(r.name);
    }
    m_readers.clear();
}

QSqlQuery Database::prepare(const TranslatedSql &sql) const
{
    if (!isOpen())
        throw DataError(QStringLiteral("Keine Verbindung zur Datenbank."));
    return prepareOn(connection(), sql, true);
}

void Database::execPrepared(QSqlQuery &query, const QVariantList &values) const
{
    execWith(query, values);
}

QSqlQuery Database::execBound(const TranslatedSql &sql, const QVariantList &values, bool forwardOnly) const
{
    if (!isOpen())
        throw DataError(QStringLiteral("Keine Verbindung zur Datenbank."));
    return run(connection(), sql, values, forwardOnly);
}

QSqlQuery Database::exec(const QString &programSql, const QVariantMap &params) const
{
    const TranslatedSql sql = SqlDialect::translate(programSql);
    QVariantList values;
    for (const QString &name : sql.parameterNames) {
        QVariant v;
        for (auto it = params.cbegin(); it != params.cend(); ++it)
            if (it.key().compare(name, Qt::CaseInsensitive) == 0)
                v = it.value();
        values << v;
    }
    return execBound(sql, values, true);
}

QVariant Database::scalar(const QString &programSql, const QVariantMap &params) const
{
    QSqlQuery q = exec(programSql, params);
    return q.next() ? q.value(0) : QVariant();
}

void Database::transaction(const std::function<void()> &work) const
{
    sqlite3 *h = handle();
    if (h && sqlite3_get_autocommit(h) == 0) {
        work();   // already inside a transaction: take part in it
        return;
    }
    exec(QStringLiteral("BEGIN IMMEDIATE"));
    try {
        work();
        exec(QStringLiteral("COMMIT"));
    } catch (...) {
        QSqlQuery rollback(connection());
        rollback.exec(QStringLiteral("ROLLBACK"));
        throw;
    }
}

void Database::rebuild(const QString &filePath)
{
    const QString tmpPath = filePath + QStringLiteral(".tmp");
    auto fail = [&](const QString &reason) {
        if (QFileInfo(tmpPath).isFile())
            QFile::remove(tmpPath);
        throw DataError(QStringLiteral("Die Datenbank konnte nicht reorganisiert werden.\r%1").arg(reason));
    };

    if (!QFileInfo(filePath).isFile())
        fail(QStringLiteral("Die Datei \"%1\" existiert nicht.").arg(QDir::toNativeSeparators(filePath)));
    if (QFileInfo::exists(tmpPath) && !(QFileInfo(tmpPath).isFile() && QFile::remove(tmpPath)))
        fail(QStringLiteral("Die Datei \"%1\" ist im Weg und kann nicht entfernt werden.").arg(QDir::toNativeSeparators(tmpPath)));

    sqlite3 *db = nullptr;
    auto closeDb = [&db] {
        if (db)
            sqlite3_close_v2(db);
        db = nullptr;
    };
    auto step = [&](const QString &sql) -> QString {
        sqlite3_stmt *stmt = nullptr;
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(db, utf8.constData(), -1, &stmt, nullptr) != SQLITE_OK)
            return QString::fromUtf8(sqlite3_errmsg(db)).prepend(u'!');
        QString result;
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW)
            result = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
        else if (rc != SQLITE_DONE)
            result = QString::fromUtf8(sqlite3_errmsg(db)).prepend(u'!');
        sqlite3_finalize(stmt);
        return result;
    };

    if (sqlite3_open_v2(filePath.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        closeDb();
        fail(QStringLiteral("Die Datei kann nicht geöffnet werden."));
    }
    sqlite3_busy_timeout(db, 2000);
    // Leaving WAL mode succeeds only when no other connection has the file open; it also
    // folds the WAL into the file, so nothing is left behind that could meet the new file.
    // It runs before the exclusive locking mode, which would keep a rollback journal of the
    // switch that closing the connection after the rename would delete by name, under the
    // new file.
    const QString mode = step(QStringLiteral("PRAGMA journal_mode=DELETE"));
    if (mode.compare(QStringLiteral("delete"), Qt::CaseInsensitive) != 0) {
        closeDb();
        fail(QStringLiteral("Die Datenbank wird noch von einem anderen Programm benutzt."));
    }
    // From here until the connection closes after the rename, no other connection can read
    // or write the file: an instance starting meanwhile waits and then finds the new file.
    // An instance that slipped in since the switch above and put the file back into WAL
    // mode makes the copy refuse.
    const bool locked = !step(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE")).startsWith(u'!')
                        && !step(QStringLiteral("BEGIN EXCLUSIVE")).startsWith(u'!')
                        && !step(QStringLiteral("COMMIT")).startsWith(u'!')
                        && step(QStringLiteral("PRAGMA journal_mode")).compare(QStringLiteral("delete"), Qt::CaseInsensitive) == 0;
    if (!locked) {
        closeDb();
        fail(QStringLiteral("Die Datenbank wird noch von einem anderen Programm benutzt."));
    }
    QString quotedTmp = tmpPath;
    quotedTmp.replace(u'\'', QStringLiteral("''"));
    const QString vacuum = step(QStringLiteral("VACUUM INTO '%1'").arg(quotedTmp));
    if (vacuum.startsWith(u'!')) {
        closeDb();
        fail(vacuum.mid(1));
    }

    // Check the copy before it replaces anything.
    sqlite3 *copy = nullptr;
    auto closeCopy = [&copy] {
        if (copy)
            sqlite3_close_v2(copy);
        copy = nullptr;
    };
    if (sqlite3_open_v2(tmpPath.toUtf8().constData(), &copy, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        closeCopy();
        closeDb();
        fail(QStringLiteral("Die neue Datei kann nicht gelesen werden."));
    }
    std::swap(db, copy);
    const QString check = step(QStringLiteral("PRAGMA integrity_check"));
    const QString appId = step(QStringLiteral("PRAGMA application_id"));
    std::swap(db, copy);
    closeCopy();
    if (check != QLatin1String("ok") || appId.toInt() != ApplicationId) {
        closeDb();
        fail(QStringLiteral("Die neue Datei ist fehlerhaft."));
    }
    if (!syncFile(tmpPath)) {
        closeDb();
        fail(QStringLiteral("Die neue Datei kann nicht gespeichert werden."));
    }

    // One rename replaces the file while the lock is still held: at every instant a
    // complete database exists, and nobody can have written into the old one meanwhile.
    if (::rename(QFile::encodeName(tmpPath).constData(), QFile::encodeName(filePath).constData()) != 0) {
        closeDb();
        fail(QStringLiteral("Die neue Datei kann nicht an die Stelle der alten gesetzt werden."));
    }
    closeDb();
    syncFile(QFileInfo(filePath).absolutePath());
}
