#include "data/Database.h"

#include "data/Backup.h"
#include "data/ConnectionLoss.h"
#include "data/DataError.h"
#include "data/FirstStartData.h"
#include "data/LockHolder.h"
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
#include <QSqlField>
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

// The server names its failures by SQLSTATE; the classes a user can do something about.
QString serverReason(const QSqlError &error)
{
    const QString state = error.nativeErrorCode();
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    if (state.startsWith(QLatin1String("08")) || text.contains(QLatin1String("server closed the connection")))
        return QStringLiteral("Die Verbindung zum Datenbankserver ist unterbrochen.");
    if (state.startsWith(QLatin1String("28")))
        return QStringLiteral("Der Datenbankserver hat die Anmeldung abgelehnt.");
    if (state == QLatin1String("22001"))
        return QStringLiteral("Ein Text ist länger, als das Feld erlaubt.");
    if (state == QLatin1String("40001") || state == QLatin1String("40P01"))
        return QStringLiteral("Die Änderung traf auf die eines anderen Benutzers. Bitte versuchen Sie es noch einmal.");
    if (state == QLatin1String("53100"))
        return QStringLiteral("Der Datenträger des Datenbankservers ist voll.");
    if (state == QLatin1String("42501"))
        return QStringLiteral("Der Datenbankbenutzer hat keine Berechtigung dafür.");
    return QStringLiteral("Datenbankfehler: %1").arg(text);
}

// The reason a statement failed, in words a user understands where we know them.
QString reasonFor(const QSqlError &error, const QSqlDriver *driver = nullptr)
{
    if (driver && driver->dbmsType() == QSqlDriver::PostgreSQL)
        return serverReason(error);
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
      m_baseName(QStringLiteral("finorra-%1").arg(g_connectionCounter.fetch_add(1))), m_connectionName(m_baseName)
{
}

Database::~Database()
{
    close();
}

QString Database::location() const
{
    return onServer() ? m_server->label() : QDir::toNativeSeparators(m_filePath);
}

bool Database::isOpen() const
{
    // The server's driver counts a connection whose server went away as closed; for the
    // program it is still open, and the next statement connects anew.
    return QSqlDatabase::contains(m_connectionName) && (connection().isOpen() || m_connectionLost);
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
    m_server.reset();
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
    LockHolder::attach(m_filePath);
    m_attached = true;
    return true;
}

namespace {

QString serverOpenFailure(const ServerSettings &settings, const QString &reason)
{
    return QStringLiteral("Die Datenbank \"%1\" kann nicht geöffnet werden.\r%2").arg(settings.label(), reason);
}

// What the client library says when no connection came about, in the user's words.
QString connectionReason(const ServerSettings &settings, const QString &text)
{
    if (text.contains(QLatin1String("does not exist")) && text.contains(QLatin1String("database")))
        return QStringLiteral("Die Datenbank \"%1\" gibt es auf dem Server nicht.").arg(settings.database);
    if (text.contains(QLatin1String("Connection refused")) || text.contains(QLatin1String("could not connect"))
        || text.contains(QLatin1String("timeout expired")) || text.contains(QLatin1String("could not translate host name")))
        return QStringLiteral("Der Datenbankserver %1 (Port %2) ist nicht erreichbar.").arg(settings.host).arg(settings.port);
    if (text.contains(QLatin1String("role")) && text.contains(QLatin1String("does not exist")))
        return QStringLiteral("Den Benutzer \"%1\" gibt es auf dem Datenbankserver nicht.").arg(settings.user);
    return QStringLiteral("Datenbankfehler: %1").arg(text.trimmed());
}

} // namespace

void Database::configureServerConnection(QSqlDatabase &db, const ServerSettings &settings)
{
    db.setHostName(settings.host);
    db.setPort(settings.port);
    db.setDatabaseName(settings.database);
    db.setUserName(settings.user);
    db.setPassword(settings.password);
    // A server that is gone is given up after a few seconds instead of a long wait without a
    // word: connecting, and (through the keepalives and the unanswered-data limit) an open
    // connection whose server no longer answers.
    db.setConnectOptions(QStringLiteral("connect_timeout=5;application_name=Finorra;keepalives=1;keepalives_idle=5;"
                                        "keepalives_interval=2;keepalives_count=2;tcp_user_timeout=8000"));
}

QString Database::serverConnectionReason(const ServerSettings &settings, const QString &text)
{
    return connectionReason(settings, text);
}

void Database::openServer(const ServerSettings &settings)
{
    close();
    m_filePath.clear();
    m_directory.clear();
    m_server = settings;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connectionName);
        QString failure;
        bool password = false;
        if (!db.isValid()) {
            failure = QStringLiteral("Der PostgreSQL-Treiber ist nicht installiert (Paket libqt6sql6-psql).");
        } else {
            configureServerConnection(db, settings);
            if (!db.open()) {
                const QString text = db.lastError().databaseText() + u' ' + db.lastError().driverText();
                password = text.contains(QLatin1String("no password supplied"))
                           || text.contains(QLatin1String("password authentication failed"));
                failure = password ? (settings.password.isEmpty() ? QStringLiteral("Der Server verlangt ein Kennwort.")
                                                                  : QStringLiteral("Das Kennwort wurde abgelehnt."))
                                   : connectionReason(settings, text);
            }
        }
        if (!failure.isEmpty()) {
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_connectionName);
            m_server.reset();
            if (password)
                throw PasswordRequired(serverOpenFailure(settings, failure));
            throw DataError(serverOpenFailure(settings, failure));
        }
    }
    try {
        prepareServerDatabase();
        // German order through ICU where the server has it, else the system's German
        // locale; a server with neither sorts as it always does.
        QString collation;
        if (scalar(QStringLiteral("select count(*) from pg_collation where collname = 'de-x-icu'")).toInt() > 0)
            collation = QStringLiteral("de-x-icu");
        else
            collation = scalar(QStringLiteral("select min(collname) from pg_collation where collname like 'de_DE.utf%'")).toString();
        SqlDialect::setServerCollation(collation);
    } catch (...) {
        m_serverDepth = 0;
        dropConnection();
        m_server.reset();
        throw;
    }
}

void Database::prepareServerDatabase()
{
    {
        QSqlQuery q(connection());
        q.exec(QStringLiteral("SET client_min_messages TO WARNING"));
    }
    const ServerSettings settings = *m_server;
    const auto work = [this, &settings] {
        // Two programs starting on a new, empty database at once: the second waits here and
        // then finds the tables of the first.
        exec(QStringLiteral("select pg_advisory_xact_lock(%1)").arg(ApplicationId));
        const QString countTables = QStringLiteral("select count(*) from information_schema.tables "
                                                   "where table_schema = current_schema()");
        const bool ours = scalar(countTables + QStringLiteral(" and table_name = '%1'").arg(InfoTable)).toInt() > 0;
        if (!ours) {
            if (scalar(countTables).toInt() > 0)
                throw DataError(serverOpenFailure(settings, QStringLiteral("Die Datenbank ist keine Finorra-Datenbank; "
                                                                           "sie enthält schon andere Tabellen.")));
            createServerTables();
            return;
        }
        if (scalar(QStringLiteral("select anwendung from %1").arg(InfoTable)).toString() != QLatin1String("Finorra"))
            throw DataError(serverOpenFailure(settings, QStringLiteral("Die Datenbank ist keine Finorra-Datenbank.")));
        const int version = schemaVersion();
        if (version > Schema::Version)
            throw DataError(serverOpenFailure(
                settings, QStringLiteral("Sie stammt von einer neueren Programmversion (Datenbankversion %1, "
                                         "dieses Programm kennt Version %2).")
                              .arg(version)
                              .arg(Schema::Version)));
        if (version < Schema::Version)
            migrate(version);
    };
    if (!m_holdFirstUse) {
        transaction(work);
        return;
    }
    begin();
    try {
        work();
    } catch (...) {
        rollback();
        throw;
    }
}

void Database::createServerTables()
{
    exec(QStringLiteral("CREATE TABLE %1 (anwendung VARCHAR(20), version INTEGER)").arg(InfoTable));
    exec(QStringLiteral("insert into %1 (anwendung, version) values ('Finorra', 0)").arg(InfoTable));
    for (const TableDef &t : Schema::tables()) {
        exec(t.createSql(Dialect::Postgres));
        for (const QString &ix : t.createIndexSql())
            exec(ix);
    }
    FirstStartData::write(*this);
    setSchemaVersion(Schema::Version);
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
            setSchemaVersion(Schema::Version);
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
    // A file is saved before its tables change; a server is backed up by its administration.
    if (!onServer())
        Backup::write(*this);
    for (int v = fromVersion + 1; v <= Schema::Version; ++v) {
        transaction([this, v] {
            Migrations::apply(*this, v);
            setSchemaVersion(v);
        });
    }
}

void Database::close()
{
    m_serverDepth = 0;
    m_connectionLost = false;
    const auto removeRetired = [this] {
        for (const QString &name : std::as_const(m_retired))
            QSqlDatabase::removeDatabase(name);
        m_retired.clear();
    };
    if (!QSqlDatabase::contains(m_connectionName)) {
        removeRetired();
        return;
    }
    emit aboutToClose();   // data sets give their readers back first
    closeReaders();
    {
        QSqlDatabase db = connection();
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
    m_connectionName = m_baseName;
    removeRetired();
    if (m_attached)
        LockHolder::detach(m_filePath);
    m_attached = false;
}

int Database::schemaVersion() const
{
    if (onServer())
        return scalar(QStringLiteral("select version from %1").arg(InfoTable)).toInt();
    return scalar(QStringLiteral("PRAGMA user_version")).toInt();
}

void Database::setSchemaVersion(int version) const
{
    if (onServer())
        exec(QStringLiteral("update %1 set version = %2").arg(InfoTable).arg(version));
    else
        exec(QStringLiteral("PRAGMA user_version=%1").arg(version));
}

QVariant Database::toStorage(const QVariant &value, Dialect dialect)
{
    if (value.isNull() || !value.isValid())
        return QVariant();
    if (dialect == Dialect::Postgres) {
        if (value.typeId() == QMetaType::QDateTime)
            return value.toDateTime().date();
        if ((value.typeId() == QMetaType::QDate && !value.toDate().isValid())
            || (value.typeId() == QMetaType::QTime && !value.toTime().isValid()))
            return QVariant();
        return value;
    }
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

bool isServer(const QSqlDriver *driver)
{
    return driver && driver->dbmsType() == QSqlDriver::PostgreSQL;
}

// A server statement that failed because the server went away.
void throwIfLost(const QSqlError &error, const QSqlDriver *driver)
{
    if (isServer(driver) && ConnectionLoss::isLost(error))
        throw ConnectionLost(ConnectionLoss::notSaved());
}

QSqlQuery prepareOn(const QSqlDatabase &connection, const TranslatedSql &sql, bool forwardOnly)
{
    QSqlQuery q(connection);
    // The server driver reads a forward-only result row by row and drops the rest of it as
    // soon as the connection runs another statement; a data set reading in the background
    // needs its result whole (one round trip, held by the client).
    q.setForwardOnly(forwardOnly && !isServer(connection.driver()));
    if (!q.prepare(sql.sql)) {
        throwIfLost(q.lastError(), connection.driver());
        throw DataError(QStringLiteral("Fehler in der Abfrage: %1").arg(reasonFor(q.lastError(), connection.driver())));
    }
    return q;
}

void execWith(QSqlQuery &q, const QVariantList &values)
{
    const Dialect dialect = isServer(q.driver()) ? Dialect::Postgres : Dialect::Sqlite;
    for (qsizetype i = 0; i < values.size(); ++i)
        q.bindValue(static_cast<int>(i), Database::toStorage(values.at(i), dialect));
    if (!q.exec()) {
        throwIfLost(q.lastError(), q.driver());
        throw DataError(QStringLiteral("Fehler beim Ausführen der Abfrage: %1").arg(reasonFor(q.lastError(), q.driver())));
    }
}

// The server's driver runs a prepared statement as PREPARE, EXECUTE and DEALLOCATE, three
// round trips, with the values written into EXECUTE as literals by the driver itself. A
// statement run once gets its values as the same literals straight away: one round trip,
// and statements that cannot be prepared (CREATE, VACUUM) run as well.
QString withLiterals(const QString &sql, const QVariantList &values, const QSqlDriver *driver)
{
    QString out;
    out.reserve(sql.size() + values.size() * 8);
    qsizetype next = 0;
    bool inLiteral = false;
    for (const QChar c : sql) {
        if (c == u'\'')
            inLiteral = !inLiteral;
        if (c == u'?' && !inLiteral && next < values.size()) {
            const QVariant v = Database::toStorage(values.at(next++), Dialect::Postgres);
            QSqlField field(QString(), v.isValid() ? v.metaType() : QMetaType::fromType<QString>());
            field.setValue(v);
            out += driver->formatValue(field);
            continue;
        }
        out += c;
    }
    return out;
}

QSqlQuery run(const QSqlDatabase &connection, const TranslatedSql &sql, const QVariantList &values, bool forwardOnly)
{
    if (isServer(connection.driver())) {
        QSqlQuery q(connection);
        q.setForwardOnly(forwardOnly);
        if (!q.exec(withLiterals(sql.sql, values, connection.driver()))) {
            throwIfLost(q.lastError(), connection.driver());
            throw DataError(QStringLiteral("Fehler beim Ausführen der Abfrage: %1").arg(reasonFor(q.lastError(), connection.driver())));
        }
        return q;
    }
    QSqlQuery q = prepareOn(connection, sql, forwardOnly);
    execWith(q, values);
    return q;
}

} // namespace

template <typename Work>
auto Database::watched(Work &&work, bool committing) const -> decltype(work())
{
    if (!m_server)
        return work();
    reconnectIfLost();
    try {
        return work();
    } catch (const ConnectionLost &) {
        m_connectionLost = true;
        if (committing)
            throw ConnectionLost(ConnectionLoss::commitUnknown());
        throw;
    }
}

QString Database::takeReader()
{
    if (!isOpen())
        return {};
    if (m_server) {
        try {
            reconnectIfLost();
        } catch (const DataError &) {
            return {};
        }
    }
    for (Reader &r : m_readers) {
        if (!r.busy) {
            r.busy = true;
            return r.name;
        }
    }
    const QString name = m_connectionName + QStringLiteral("-reader-%1").arg(m_readerCounter++);
    if (onServer()) {
        // A server reader streams its rows as they are read instead of taking the whole
        // result at once; the main connection stays free for everything else meanwhile.
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        configureServerConnection(db, *m_server);
        if (!db.open()) {
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            return {};
        }
        m_readers.append({name, true});
        return name;
    }
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
    for (qsizetype i = 0; i < m_readers.size(); ++i) {
        Reader &r = m_readers[i];
        if (r.name != name)
            continue;
        r.busy = false;
        if (r.stale) {
            {
                QSqlDatabase db = QSqlDatabase::database(r.name, false);
                db.close();
            }
            QSqlDatabase::removeDatabase(r.name);
            m_readers.removeAt(i);
        }
        return;
    }
}

void Database::dropIdleReaders()
{
    for (qsizetype i = m_readers.size() - 1; i >= 0; --i) {
        if (m_readers.at(i).busy) {
            m_readers[i].stale = true;
            continue;
        }
        {
            QSqlDatabase db = QSqlDatabase::database(m_readers.at(i).name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_readers.at(i).name);
        m_readers.removeAt(i);
    }
}

QSqlQuery Database::execBoundOn(const QString &reader, const TranslatedSql &sql, const QVariantList &values) const
{
    if (!QSqlDatabase::contains(reader))
        throw DataError(QStringLiteral("Keine Verbindung zur Datenbank."));
    try {
        return run(QSqlDatabase::database(reader, false), sql, values, true);
    } catch (const ConnectionLost &) {
        m_connectionLost = true;   // the program's own connection has most likely lost it too
        throw;
    }
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
    return watched([&] { return prepareOn(connection(), sql, true); });
}

void Database::execPrepared(QSqlQuery &query, const QVariantList &values) const
{
    watched([&] { execWith(query, values); });
}

QSqlQuery Database::execBound(const TranslatedSql &sql, const QVariantList &values, bool forwardOnly) const
{
    if (!isOpen())
        throw DataError(QStringLiteral("Keine Verbindung zur Datenbank."));
    // The server driver drops the unread rest of a forward-only result as soon as its
    // connection runs the next statement: on the main connection results are read whole.
    return watched([&] { return run(connection(), sql, values, forwardOnly && !onServer()); });
}

QSqlQuery Database::exec(const QString &programSql, const QVariantMap &params) const
{
    const TranslatedSql sql = SqlDialect::translate(programSql, dialect());
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
    if (inTransaction()) {
        work();   // already inside a transaction: take part in it
        return;
    }
    begin();
    try {
        work();
        commit();
    } catch (...) {
        rollback();
        throw;
    }
}

namespace {

// A failed BEGIN or COMMIT on the raw handle. Waiting in vain for another program's write
// lock names that program where the file's locks tell it.
QString sqliteFailure(sqlite3 *h, const QString &filePath)
{
    const int code = sqlite3_errcode(h) & 0xFF;
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
        return LockHolder::lockedMessage(filePath);
    QSqlError error(QString(), QString::fromUtf8(sqlite3_errmsg(h)), QSqlError::TransactionError, QString::number(code));
    return QStringLiteral("Fehler beim Ausführen der Abfrage: %1").arg(reasonFor(error));
}

void runPlain(const QSqlDatabase &connection, const QString &sql)
{
    QSqlQuery q(connection);
    if (!q.exec(sql)) {
        throwIfLost(q.lastError(), connection.driver());
        throw DataError(QStringLiteral("Fehler beim Ausführen der Abfrage: %1").arg(reasonFor(q.lastError(), connection.driver())));
    }
}

} // namespace

bool Database::inTransaction() const
{
    if (onServer())
        return m_serverDepth > 0;
    sqlite3 *h = handle();
    return h && sqlite3_get_autocommit(h) == 0;
}

void Database::begin() const
{
    if (!isOpen())
        throw DataError(QStringLiteral("Keine Verbindung zur Datenbank."));
    if (onServer()) {
        watched([&] { runPlain(connection(), QStringLiteral("BEGIN")); });
        ++m_serverDepth;
        return;
    }
    sqlite3 *h = handle();
    if (sqlite3_exec(h, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        throw DataError(sqliteFailure(h, m_filePath));
}

void Database::commit() const
{
    if (onServer()) {
        // A failed COMMIT ends the transaction on the server as well.
        m_serverDepth = 0;
        watched([&] { runPlain(connection(), QStringLiteral("COMMIT")); }, true);
        return;
    }
    sqlite3 *h = handle();
    if (!h)
        throw DataError(QStringLiteral("Keine Verbindung zur Datenbank."));
    if (sqlite3_exec(h, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        throw DataError(sqliteFailure(h, m_filePath));
}

void Database::rollback() const noexcept
{
    if (onServer()) {
        if (m_serverDepth > 0 && isOpen() && !m_connectionLost) {
            QSqlQuery q(connection());
            if (!q.exec(QStringLiteral("ROLLBACK")))
                qWarning("Rollback failed: %s", qPrintable(q.lastError().text()));
        }
        m_serverDepth = 0;
        return;
    }
    sqlite3 *h = handle();
    if (h && sqlite3_get_autocommit(h) == 0 && sqlite3_exec(h, "ROLLBACK", nullptr, nullptr, nullptr) != SQLITE_OK)
        qWarning("Rollback failed: %s", sqlite3_errmsg(h));
}

QSqlRecord Database::storedColumns(const QString &table) const
{
    return connection().record(onServer() ? table.toLower() : table);
}

void Database::restartKeys(const QString &table, const QString &keyColumn) const
{
    if (onServer())
        exec(QStringLiteral("ALTER TABLE %1 ALTER COLUMN %2 RESTART WITH 1").arg(table, keyColumn));
    else
        exec(QStringLiteral("DELETE FROM sqlite_sequence WHERE name = '%1'").arg(table));
}

void Database::continueKeysAfterMaximum(const QString &table, const QString &keyColumn) const
{
    if (onServer()) {
        exec(QStringLiteral("select setval(pg_get_serial_sequence('%1', '%2'), coalesce(max(%2), 0) + 1, false) from %1")
                 .arg(table.toLower(), keyColumn.toLower()));
        return;
    }
    // SQLite numbers on from the larger of the stored maximum and its own sequence already.
}

void Database::vacuumServer() const
{
    runPlain(connection(), QStringLiteral("VACUUM ANALYZE"));
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
