#pragma once

#include "data/DataError.h"
#include "data/ServerSettings.h"
#include "data/SqlDialect.h"

#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <QVector>

#include <functional>
#include <optional>

struct sqlite3;

// The connection to the database file Finorra.abs. Several program instances share the
// file (WAL mode, a busy timeout instead of "database is locked"). A missing file is
// created with every table and the first-start data, and appears in the folder complete or
// not at all; a file that is not ours, is locked, damaged, read-only or from a newer version
// is refused and left untouched.
class Database : public QObject
{
    Q_OBJECT
public:
    static inline const QString FileName = QStringLiteral("Finorra.abs");
    // Marks the file as ours ("FINR"), so a foreign SQLite file is not taken for one.
    static constexpr int ApplicationId = 0x46494E52;

    explicit Database(QObject *parent = nullptr);
    ~Database() override;

    // How long a statement waits for another instance's write lock before failing.
    void setBusyTimeout(int milliseconds) { m_busyTimeoutMs = milliseconds; }

    // Opens <directory>/Finorra.abs, creating it when missing. Throws DataError.
    void open(const QString &directory);
    // Opens an office database on a PostgreSQL server; an empty database gets every table and
    // the first-start data in one transaction. Throws DataError, PasswordRequired when the
    // server wants a password none was given for.
    void openServer(const ServerSettings &settings);
    // The next openServer leaves the transaction in which it checks (and on an empty database
    // creates) the tables open, for the caller to fill and commit: a copy onto a new database
    // that is killed half-way then leaves it as empty as it was found.
    void holdFirstUseOpen(bool hold) { m_holdFirstUse = hold; }
    void close();
    bool isOpen() const;

    bool onServer() const { return m_server.has_value(); }
    Dialect dialect() const { return onServer() ? Dialect::Postgres : Dialect::Sqlite; }
    // The file path, or "PostgreSQL: host/datenbank".
    QString location() const;
    const ServerSettings &server() const { return *m_server; }

    QString filePath() const { return m_filePath; }
    QString directory() const { return m_directory; }   // with a trailing '/'
    QSqlDatabase connection() const;
    sqlite3 *handle() const;

    // Runs the program's SQL (named parameters, German date literals). Throws DataError.
    QSqlQuery exec(const QString &programSql, const QVariantMap &params = {}) const;
    QSqlQuery execBound(const TranslatedSql &sql, const QVariantList &values, bool forwardOnly) const;
    // A statement prepared once and run many times (a data set's INSERT for each new row).
    QSqlQuery prepare(const TranslatedSql &sql) const;
    void execPrepared(QSqlQuery &query, const QVariantList &values) const;

    // Long results are read on connections of their own (readers): a result left half-read
    // holds a snapshot of the file, which every other statement on its connection would
    // share, and a connection on an old snapshot cannot start writing. A reader is taken
    // for one result and given back when it has been read; empty when none can be opened.
    QString takeReader();
    void releaseReader(const QString &name);
    QSqlQuery execBoundOn(const QString &reader, const TranslatedSql &sql, const QVariantList &values) const;
    QVariant scalar(const QString &programSql, const QVariantMap &params = {}) const;

    // Runs `work` in one write transaction taken at once (BEGIN IMMEDIATE), so it never has
    // to give up half-way because another instance wrote meanwhile.
    void transaction(const std::function<void()> &work) const;
    // The parts of a transaction for callers that keep their own scope (WriteTransaction).
    void begin() const;
    void commit() const;
    void rollback() const noexcept;
    bool inTransaction() const;

    int schemaVersion() const;

    // Counts the connections made anew after the server went away; a statement prepared on
    // an older one must be prepared again.
    int generation() const { return m_generation; }

    // The columns `table` has in the database (the server folds unquoted names to lower case).
    QSqlRecord storedColumns(const QString &table) const;

    // The next new row of `table` is numbered 1 again (the table is empty).
    void restartKeys(const QString &table, const QString &keyColumn) const;
    // The next new row of `table` gets a key above every stored one (after rows were copied in
    // with their keys).
    void continueKeysAfterMaximum(const QString &table, const QString &keyColumn) const;

    // Reorganisation on the server: it reclaims room and refreshes its statistics in place.
    void vacuumServer() const;

    // Writes the whole database anew into "<file>.tmp" and puts it in place of the file
    // by one atomic rename, holding an exclusive lock on the file from before the copy until
    // after the rename, so no instance can write into the file that is being replaced.
    // The file must not be open in this or any other instance. On failure the .tmp is
    // removed and the file stays as it was. Throws DataError.
    static void rebuild(const QString &filePath);

    // Converts a typed value into what the database stores (for SQLite ISO dates, 0/1, …;
    // the server takes dates and booleans as they are).
    static QVariant toStorage(const QVariant &value, Dialect dialect = Dialect::Sqlite);

    // The server's name for the table that records the layout version.
    static inline const QString InfoTable = QStringLiteral("finorra_info");

signals:
    // Emitted before the connection closes, so data sets close first.
    void aboutToClose();

private:
    bool tryOpen();   // false: the file was replaced while opening; nothing is left open
    void checkAccess() const;
    void createFile();
    void checkExisting();
    void configure();
    void connectTo(const QString &databaseName, QString (*failure)(const QString &, const QString &));
    void dropConnection();
    bool hasMoved() const;
    void migrate(int fromVersion);
    void setSchemaVersion(int version) const;
    void prepareServerDatabase();
    static void configureServerConnection(QSqlDatabase &db, const ServerSettings &settings);
    void createServerTables();

    void closeReaders();
    void dropIdleReaders();
    void reconnectIfLost() const;
    // Runs a statement on the server's connection, marking the connection lost when the
    // server went away, so the next action connects anew.
    template <typename Work>
    auto watched(Work &&work, bool committing = false) const -> decltype(work());
    static QString serverConnectionReason(const ServerSettings &settings, const QString &text);

    struct Reader
    {
        QString name;
        bool busy = false;
        bool stale = false;   // its server went away; closed when given back
    };
    QVector<Reader> m_readers;
    QString m_baseName;                      // the first connection's name
    mutable QString m_connectionName;        // the live connection
    mutable QStringList m_retired;           // connections that lost their server; removed at close
    QString m_filePath;
    QString m_directory;
    std::optional<ServerSettings> m_server;
    mutable int m_serverDepth = 0;   // open transactions on the server connection
    int m_busyTimeoutMs = 10000;
    bool m_attached = false;
    bool m_holdFirstUse = false;
    mutable bool m_connectionLost = false;
    mutable int m_generation = 0;
    int m_readerCounter = 0;   // this program's note beside the file is written
};

// The server asked for a password and none (or a wrong one) was given.
class PasswordRequired : public DataError
{
public:
    using DataError::DataError;
};
