#include "data/Database.h"

#include "data/DataError.h"
#include "data/FirstStartData.h"
#include "data/Migrations.h"
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
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace {

std::atomic<int> g_connectionCounter{0};

QString openFailure(const QString &path, const QString &reason)
{
    return QStringLiteral("Die Datenbank \"%1\" kann nicht geöffnet werden.\r%2").arg(QDir::toNativeSeparators(path), reason);
}

// The reason a statement failed, in words a user understands where we know them.
QString reasonFor(const QSqlError &error)
{
    const int code = error.nativeErrorCode().toInt() & 0xFF;
    switch (code) {
    case SQLITE_NOTADB: return QStringLiteral("Die Datei ist keine Datenbank.");
    case SQLITE_CORRUPT: return QStringLiteral("Die Datei ist beschädigt.");
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return QStringLiteral("Die Datei ist von einem anderen Programm gesperrt.");
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH: return QStringLiteral("Die Datei kann nicht gelesen werden.");
    case SQLITE_READONLY: return QStringLiteral("Die Datei ist schreibgeschützt.");
    case SQLITE_FULL: return QStringLiteral("Der Datenträger ist voll.");
    case SQLITE_IOERR: return QStringLiteral("Beim Lesen oder Schreiben der Datei ist ein Fehler aufgetreten.");
    default: break;
    }
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return QStringLiteral("Datenbankfehler: %1").arg(text);
}

void removeWithCompanions(const QString &path)
{
    for (const char *suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
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

    const QFileInfo info(m_filePath);
    const bool exists = info.exists();
    if (exists) {
        if (!info.isFile())
            throw DataError(openFailure(m_filePath, QStringLiteral("Der Pfad ist keine Datei.")));
        QFile probe(m_filePath);
        if (!probe.open(QIODevice::ReadOnly))
            throw DataError(openFailure(m_filePath, QStringLiteral("Die Datei kann nicht gelesen werden.")));
    } else if (!QFileInfo(m_directory).isDir()) {
        throw DataError(openFailure(m_filePath, QStringLiteral("Das Verzeichnis existiert nicht.")));
    }

    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
        db.setDatabaseName(m_filePath);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_busyTimeoutMs));
        if (!db.open()) {
            const QString reason = reasonFor(db.lastError());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_connectionName);
            throw DataError(openFailure(m_filePath, reason));
        }
    }

    try {
        if (exists) {
            checkExisting();
            configure();
            const int version = schemaVersion();
            if (version < Schema::Version)
                migrate(version);
        } else {
            createNew();
        }
    } catch (...) {
        {
            QSqlDatabase db = connection();
            db.close();
        }
        QSqlDatabase::removeDatabase(m_connectionName);
        if (!exists)
            removeWithCompanions(m_filePath);
        throw;
    }
}

void Database::checkExisting()
{
    QSqlQuery q(connection());
    // Reading the header and the schema page is enough to tell a foreign, damaged or
    // locked file; nothing is written before these checks pass.
    if (!q.exec(QStringLiteral("PRAGMA application_id")) || !q.next())
        throw DataError(openFailure(m_filePath, reasonFor(q.lastError())));
    const int appId = q.value(0).toInt();
    if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !q.next())
        throw DataError(openFailure(m_filePath, reasonFor(q.lastError())));
    if (appId != ApplicationId)
        throw DataError(openFailure(m_filePath, QStringLiteral("Die Datei ist keine Finorra-Datenbank.")));
    const int version = schemaVersion();
    if (version > Schema::Version)
        throw DataError(openFailure(
            m_filePath, QStringLiteral("Sie stammt von einer neueren Programmversion (Datenbankversion %1, "
                                       "dieses Programm kennt Version %2).")
                            .arg(version)
                            .arg(Schema::Version)));
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

void Database::createNew()
{
    configure();
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
    emit aboutToClose();
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

QSqlQuery Database::execBound(const TranslatedSql &sql, const QVariantList &values, bool forwardOnly) const
{
    if (!isOpen())
        throw DataError(QStringLiteral("Keine Verbindung zur Datenbank."));
    QSqlQuery q(connection());
    q.setForwardOnly(forwardOnly);
    if (!q.prepare(sql.sql))
        throw DataError(QStringLiteral("Fehler in der Abfrage: %1").arg(reasonFor(q.lastError())));
    for (qsizetype i = 0; i < values.size(); ++i)
        q.bindValue(static_cast<int>(i), toStorage(values.at(i)));
    if (!q.exec())
        throw DataError(QStringLiteral("Fehler beim Ausführen der Abfrage: %1").arg(reasonFor(q.lastError())));
    return q;
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
    const QString mode = step(QStringLiteral("PRAGMA journal_mode=DELETE"));
    if (mode.compare(QStringLiteral("delete"), Qt::CaseInsensitive) != 0) {
        closeDb();
        fail(QStringLiteral("Die Datenbank wird noch von einem anderen Programm benutzt."));
    }
    QString quotedTmp = tmpPath;
    quotedTmp.replace(u'\'', QStringLiteral("''"));
    const QString vacuum = step(QStringLiteral("VACUUM INTO '%1'").arg(quotedTmp));
    closeDb();
    if (vacuum.startsWith(u'!'))
        fail(vacuum.mid(1));

    // Check the copy before it replaces anything.
    if (sqlite3_open_v2(tmpPath.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        closeDb();
        fail(QStringLiteral("Die neue Datei kann nicht gelesen werden."));
    }
    const QString check = step(QStringLiteral("PRAGMA integrity_check"));
    const QString appId = step(QStringLiteral("PRAGMA application_id"));
    closeDb();
    if (check != QLatin1String("ok") || appId.toInt() != ApplicationId)
        fail(QStringLiteral("Die neue Datei ist fehlerhaft."));
    if (!syncFile(tmpPath))
        fail(QStringLiteral("Die neue Datei kann nicht gespeichert werden."));

    // One rename replaces the file: at every instant a complete database exists.
    if (::rename(QFile::encodeName(tmpPath).constData(), QFile::encodeName(filePath).constData()) != 0)
        fail(QStringLiteral("Die neue Datei kann nicht an die Stelle der alten gesetzt werden."));
    syncFile(QFileInfo(filePath).absolutePath());
}
