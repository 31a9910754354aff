#pragma once

#include "data/SqlDialect.h"

#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
#include <QVector>

#include <functional>

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
    void close();
    bool isOpen() const;

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

    int schemaVersion() const;

    // Writes the whole database anew into "<file>.tmp" and puts it in place of the file
    // by one atomic rename, holding an exclusive lock on the file from before the copy until
    // after the rename, so no instance can write into the file that is being replaced.
    // The file must not be open in this or any other instance. On failure the .tmp is
    // removed and the file stays as it was. Throws DataError.
    static void rebuild(const QString &filePath);

    // Converts a typed value into what SQLite stores (ISO dates, 0/1, …).
    static QVariant toStorage(const QVariant &value);

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

    void closeReaders();

    struct Reader
    {
        QString name;
        bool busy = false;
    };
    QVector<Reader> m_readers;
    QString m_connectionName;
    QString m_filePath;
    QString m_directory;
    int m_busyTimeoutMs = 10000;
};
