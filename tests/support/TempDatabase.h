#pragma once

#include "data/Database.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>

// A real database in a temporary place: a file in a temporary folder, or, when the test runs
// against the server (FINORRA_TEST_BACKEND=postgres), a database of its own on the test
// server named by FINORRA_TEST_PG ("host=… port=… user=…"). Creating a database hashes the
// initial password and writes the first-start data, which takes a moment, so the first one
// made in a process is copied for all later ones.
class TempDatabase
{
public:
    // The exit code CTest reports as "skipped" for the server runs.
    static constexpr int SkipCode = 77;

    static bool onServer() { return qEnvironmentVariable("FINORRA_TEST_BACKEND") == QLatin1String("postgres"); }

    TempDatabase()
    {
        if (onServer()) {
            m_server = serverSettings(uniqueName());
            admin([this](QSqlQuery &q) {
                return q.exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE %2").arg(m_server.database, templateName()));
            });
            return;
        }
        static QTemporaryDir templateDir;
        static bool made = false;
        if (!made) {
            Database maker;
            maker.open(templateDir.path());
            maker.close();
            made = true;
        }
        QFile::copy(templateDir.filePath(Database::FileName), m_dir.filePath(Database::FileName));
        QFile::setPermissions(m_dir.filePath(Database::FileName),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }

    ~TempDatabase()
    {
        if (onServer())
            admin([this](QSqlQuery &q) {
                return q.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_server.database));
            }, false);
    }

    TempDatabase(const TempDatabase &) = delete;
    TempDatabase &operator=(const TempDatabase &) = delete;

    // A folder of the test's own (printouts, documents); on the server runs it holds no database.
    QString dir() const { return m_dir.path(); }
    QString filePath() const { return m_dir.filePath(Database::FileName); }
    const ServerSettings &server() const { return m_server; }

    // Opens `db` on this database.
    void openIn(Database &db) const
    {
        if (onServer())
            db.openServer(m_server);
        else
            db.open(dir());
    }

    // A connection of its own to the database.
    std::unique_ptr<Database> connect(int busyTimeoutMs = 10000) const
    {
        auto db = std::make_unique<Database>();
        db->setBusyTimeout(busyTimeoutMs);
        openIn(*db);
        return db;
    }

    // Marks the database as one of an older layout, so the next opening migrates it.
    static QString setVersionSql(int version)
    {
        return onServer() ? QStringLiteral("update %1 set version = %2").arg(Database::InfoTable).arg(version)
                          : QStringLiteral("PRAGMA user_version=%1").arg(version);
    }

    static QByteArray fileHash(const QString &path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    }

private:
    [[noreturn]] static void skipAll(const QString &why)
    {
        std::fprintf(stderr, "ÜBERSPRUNGEN: %s\n", qPrintable(why));
        std::fflush(stderr);
        std::_Exit(SkipCode);
    }

    static ServerSettings serverSettings(const QString &database)
    {
        const QString spec = qEnvironmentVariable("FINORRA_TEST_PG");
        if (spec.isEmpty())
            skipAll(QStringLiteral("Kein PostgreSQL-Testserver (FINORRA_TEST_PG ist nicht gesetzt); die Tests gegen "
                                   "den Server laufen mit \"make test\"."));
        ServerSettings s;
        s.database = database;
        for (const QString &pair : spec.split(u' ', Qt::SkipEmptyParts)) {
            const QString key = pair.section(u'=', 0, 0);
            const QString value = pair.section(u'=', 1);
            if (key == QLatin1String("host"))
                s.host = value;
            else if (key == QLatin1String("port"))
                s.port = value.toInt();
            else if (key == QLatin1String("user"))
                s.user = value;
        }
        return s;
    }

    static QString uniqueName()
    {
        static std::atomic<int> counter{0};
        return QStringLiteral("finorra_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(counter.fetch_add(1));
    }

    // The database every test database of this process is copied from; made on first use.
    static QString templateName()
    {
        static const QString name = [] {
            const QString n = QStringLiteral("finorra_tpl_%1").arg(QCoreApplication::applicationPid());
            admin([&n](QSqlQuery &q) { return q.exec(QStringLiteral("CREATE DATABASE %1").arg(n)); });
            {
                Database maker;
                maker.openServer(serverSettings(n));
            }
            qAddPostRoutine([] {
                admin([](QSqlQuery &q) {
                    return q.exec(QStringLiteral("DROP DATABASE IF EXISTS finorra_tpl_%1 WITH (FORCE)")
                                      .arg(QCoreApplication::applicationPid()));
                }, false);
            });
            return n;
        }();
        return name;
    }

    // Runs one statement on the server's maintenance database.
    template <typename Work>
    static void admin(Work work, bool required = true)
    {
        const QString name = QStringLiteral("finorra-test-admin");
        {
            QSqlDatabase db = QSqlDatabase::contains(name) ? QSqlDatabase::database(name)
                                                           : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            if (!db.isOpen()) {
                const ServerSettings s = serverSettings(QStringLiteral("postgres"));
                db.setHostName(s.host);
                db.setPort(s.port);
                db.setUserName(s.user);
                db.setDatabaseName(s.database);
                if (!db.open()) {
                    if (required)
                        skipAll(QStringLiteral("Der PostgreSQL-Testserver ist nicht erreichbar: %1").arg(db.lastError().text()));
                    return;
                }
            }
            QSqlQuery q(db);
            if (!work(q) && required)
                qFatal("Testdatenbank: %s", qPrintable(q.lastError().text()));
        }
    }

    QTemporaryDir m_dir;
    ServerSettings m_server;
};

// File-only behaviour (locks, the file's header, replacing the file) has no counterpart on
// the server; such a test says so instead of passing silently.
#define FILE_ONLY()                                                                             \
    do {                                                                                        \
        if (TempDatabase::onServer())                                                           \
            QSKIP("Betrifft nur die Datenbankdatei; auf dem Server nicht anwendbar.");          \
    } while (false)
