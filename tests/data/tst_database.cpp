#include "support/TempDatabase.h"

#include "core/PasswordHash.h"
#include "core/SqlText.h"
#include "data/DataError.h"
#include "data/Schema.h"

#include <QProcess>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include <sqlite3.h>
#include <unistd.h>

// Permission bits do not bind root, so checks of read-only files run as "nobody" then.
class Unprivileged
{
public:
    Unprivileged()
    {
        if (::geteuid() == 0)
            m_switched = ::setegid(65534) == 0 && ::seteuid(65534) == 0;
    }
    ~Unprivileged()
    {
        if (m_switched && ::seteuid(0) == 0)
            (void)::setegid(0);
    }
    Unprivileged(const Unprivileged &) = delete;
    Unprivileged &operator=(const Unprivileged &) = delete;

private:
    bool m_switched = false;
};

const QString Damaged = QStringLiteral("Die Datei ist beschädigt.\rBitte stellen Sie die Datenbank aus einer "
                                       "Datensicherung wieder her.");
const QString ReadOnlyFolder = QStringLiteral("Das Verzeichnis \"%1\" ist schreibgeschützt.\rDas Programm braucht dort "
                                              "Schreibrecht für die Datenbank und ihre Begleitdateien.");

class TestDatabase : public QObject
{
    Q_OBJECT

    static QStringList column(Database &db, const QString &sql)
    {
        QStringList out;
        QSqlQuery q = db.exec(sql);
        while (q.next())
            out << q.value(0).toString();
        return out;
    }

    static QString openError(const QString &dir, int busyMs = 300)
    {
        Database db;
        db.setBusyTimeout(busyMs);
        try {
            db.open(dir);
        } catch (const DataError &e) {
            return e.message();
        }
        return QString();
    }

private slots:
    // On the server: a new, empty database gets the same.
    void newFileHasEveryTableAndFirstStartData()
    {
        QTemporaryDir dir;
        TempDatabase server;
        Database db;
        if (TempDatabase::onServer()) {
            server.openIn(db);
        } else {
            db.open(dir.path());
            QVERIFY(QFile::exists(dir.filePath("Finorra.abs")));
        }
        QCOMPARE(db.schemaVersion(), Schema::Version);

        QVERIFY(Schema::tables().size() >= 24);
        for (const TableDef &t : Schema::tables()) {
            QStringList expected;
            for (const ColumnDef &c : t.columns)
                expected << c.name.toLower();
            const QSqlRecord stored = db.storedColumns(t.name);
            QStringList actual;
            for (int i = 0; i < stored.count(); ++i)
                actual << stored.fieldName(i).toLower();
            QCOMPARE(actual, expected);
        }

        const QString base = TempDatabase::onServer() ? QCoreApplication::applicationDirPath() + '/'
                                                      : QDir(dir.path()).absolutePath() + '/';
        QSqlQuery firma = db.exec("select FReportIn, FReportOut, Suna from firma");
        QVERIFY(firma.next());
        QCOMPARE(firma.value(0).toString(), base + "Reportvorlagen/");
        QCOMPARE(firma.value(1).toString(), base + "Reportausgabe/");
        QVERIFY(!firma.value(2).toString().isEmpty());
        QVERIFY(!firma.next());

        QSqlQuery user = db.exec("select SbKurz, Passwort from benutzer");
        QVERIFY(user.next());
        QCOMPARE(user.value(0).toString(), QStringLiteral("sb"));
        const QString stored = user.value(1).toString();
        QVERIFY(stored != "sb");
        QVERIFY(stored.startsWith("$argon2id$"));
        QVERIFY(PasswordHash::verify("sb", stored));
        QVERIFY(!PasswordHash::verify("SB", stored));

        const QStringList states = column(db, "select buland from buland order by buland");
        QCOMPARE(states.size(), 16);
        QVERIFY(states.contains(QStringLiteral("Thüringen")));
        QVERIFY(states.contains(QStringLiteral("Nordrhein-Westfalen")));

        // Keys come from the database.
        db.exec("insert into plzort (Plz, Ort) values ('10115', 'Berlin')");
        QCOMPARE(db.scalar("select Plz_id from plzort where Plz = '10115'").toInt(), 1);
    }

    void existingFileKeepsItsRecords()
    {
        TempDatabase tmp;
        {
            auto db = tmp.connect();
            db->exec("insert into tbau (TKurz) values ('gruss')");
        }
        auto db = tmp.connect();
        QCOMPARE(db->scalar("select count(*) from tbau").toInt(), 1);
        QCOMPARE(db->scalar("select count(*) from benutzer").toInt(), 1);
    }

    // A file of the second layout lacks later tables and columns; opening it adds them and
    // keeps every stored row.
    void olderFileGetsLaterTablesAndColumns()
    {
        TempDatabase tmp;
        {
            auto db = tmp.connect();
            db->exec("insert into Termine (User_id, WvKurz) values (1, 'Bank anrufen')");
            db->exec("insert into tbau (TKurz, TText) values ('gruss', 'Hallo')");
            db->exec("drop table Termine");
            db->exec("alter table tbau drop column TText");
            db->exec("drop index ix_tbau_TKurz");
            db->exec(TempDatabase::setVersionSql(2));
        }
        auto db = tmp.connect();
        QCOMPARE(db->schemaVersion(), Schema::Version);
        QCOMPARE(db->scalar("select count(*) from Termine").toInt(), 0);
        QCOMPARE(db->scalar("select TKurz from tbau").toString(), QStringLiteral("gruss"));
        QVERIFY(db->scalar("select TText from tbau").isNull());
        for (const TableDef &t : Schema::tables())
            QCOMPARE(db->storedColumns(t.name).count(), t.columns.size());
        // The index is back: a second one of the same name cannot be made.
        QVERIFY_THROWS_EXCEPTION(DataError, db->exec("create index ix_tbau_TKurz on tbau (TKurz)"));
    }

    void refusedFilesStayUntouched_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("garbage") << "garbage" << "Die Datei ist keine Datenbank.";
        QTest::newRow("empty file") << "empty"
                                    << "Die Datei ist keine Finorra-Datenbank.\rSie enthält keine Tabellen; vermutlich "
                                       "wurde das erste Anlegen abgebrochen. Wenn Sie die Datei löschen, legt das "
                                       "Programm beim nächsten Start eine neue an.";
        QTest::newRow("foreign database") << "foreign" << "Die Datei ist keine Finorra-Datenbank.";
        QTest::newRow("newer version") << "newer"
                                       << QStringLiteral("Sie stammt von einer neueren Programmversion (Datenbankversion 99, "
                                                         "dieses Programm kennt Version %1).")
                                              .arg(Schema::Version);
        QTest::newRow("locked") << "locked" << "Die Datei ist von einem anderen Programm gesperrt.";
        QTest::newRow("truncated") << "truncated" << Damaged;
        QTest::newRow("damaged table pages") << "damaged pages" << Damaged;
        QTest::newRow("read-only file") << "read-only file"
                                        << "Die Datei ist schreibgeschützt.\rBitte heben Sie den Schreibschutz auf, "
                                           "damit Ihre Eingaben gespeichert werden können.";
        QTest::newRow("read-only folder") << "read-only folder" << ReadOnlyFolder;
    }
    void refusedFilesStayUntouched()
    {
        FILE_ONLY();
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        TempDatabase tmp;
        const QString path = tmp.filePath();
        sqlite3 *locker = nullptr;

        if (kind == "garbage" || kind == "empty" || kind == "foreign") {
            QFile::remove(path);
            if (kind == "foreign") {
                sqlite3 *h = nullptr;
                QCOMPARE(sqlite3_open(path.toUtf8().constData(), &h), SQLITE_OK);
                sqlite3_exec(h, "create table x(a); insert into x values (1);", nullptr, nullptr, nullptr);
                sqlite3_close(h);
            } else {
                QFile f(path);
                QVERIFY(f.open(QIODevice::WriteOnly));
                if (kind == "garbage")
                    f.write(QByteArray(8192, '\x5a'));
            }
        } else if (kind == "newer") {
            sqlite3 *h = nullptr;
            QCOMPARE(sqlite3_open(path.toUtf8().constData(), &h), SQLITE_OK);
            sqlite3_exec(h, "pragma user_version = 99", nullptr, nullptr, nullptr);
            sqlite3_close(h);
        } else if (kind == "locked") {
            QCOMPARE(sqlite3_open(path.toUtf8().constData(), &locker), SQLITE_OK);
            QCOMPARE(sqlite3_exec(locker, "pragma locking_mode=exclusive; begin exclusive; "
                                          "insert into tbau (TKurz) values ('x');",
                                  nullptr, nullptr, nullptr),
                     SQLITE_OK);
        } else if (kind == "read-only file") {
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
            QVERIFY(QFile::setPermissions(tmp.dir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                         | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther));
        } else if (kind == "read-only folder") {
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::WriteOther));
            QVERIFY(QFile::setPermissions(tmp.dir(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
        } else if (kind == "truncated" || kind == "damaged pages") {
            {
                auto db = tmp.connect();
                for (int i = 0; i < 200; ++i)
                    db->exec(QStringLiteral("insert into tbau (TKurz, TText) values ('k%1', '%2')")
                                 .arg(i)
                                 .arg(QString(500, 'x')));
            }
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadWrite));
            // Every page after the first: the schema can no longer be read. Only the last
            // three, where the rows written last lie: the schema reads fine, the table not.
            const qint64 from = kind == "truncated" ? 4096 : f.size() - 3 * 4096;
            QVERIFY(f.seek(from));
            f.write(QByteArray(f.size() - from, char(0xA5)));
        }

        const QByteArray before = TempDatabase::fileHash(path);
        QString message;
        if (kind.startsWith("read-only")) {
            const Unprivileged asUser;
            message = openError(tmp.dir());
            reason = reason.replace("%1", QDir::toNativeSeparators(tmp.dir()));
        } else {
            message = openError(tmp.dir());
        }
        QCOMPARE(message, QStringLiteral("Die Datenbank \"%1\" kann nicht geöffnet werden.\r%2")
                              .arg(QDir::toNativeSeparators(path), reason));
        QCOMPARE(TempDatabase::fileHash(path), before);
        if (locker)
            sqlite3_close(locker);
    }

    void noDatabaseInAReadOnlyFolder()
    {
        FILE_ONLY();
        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
        QString message;
        {
            const Unprivileged asUser;
            message = openError(dir.path());
        }
        QCOMPARE(message, QStringLiteral("Die Datenbank \"%1\" kann nicht angelegt werden.\r%2")
                              .arg(QDir::toNativeSeparators(dir.filePath("Finorra.abs")),
                                   ReadOnlyFolder.arg(QDir::toNativeSeparators(dir.path()))));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void germanDateLiteralsCompareAsDates()
    {
        TempDatabase tmp;
        auto db = tmp.connect();
        for (const char *d : {"2023-12-31", "2024-01-01", "2024-06-15", "2024-12-31", "2025-01-01"})
            db->exec(QStringLiteral("insert into hhbuch (Hhplan_id, Buchdat, RubText) values (1, :d, 'x')"),
                     {{"d", QDate::fromString(QLatin1String(d), Qt::ISODate)}});
        QCOMPARE(db->scalar("select count(*) from hhbuch where buchdat >= '01.01.2024' and buchdat <= '31.12.2024'").toInt(), 3);
        QCOMPARE(db->scalar("select count(*) from hhbuch where buchdat = '15.06.2024'").toInt(), 1);
        QCOMPARE(db->scalar("select count(*) from hhbuch where buchdat = '1.1.2025'").toInt(), 1);
        // A text that merely contains a date stays as typed.
        QCOMPARE(db->scalar("select 'am 01.01.2024'").toString(), QStringLiteral("am 01.01.2024"));
        QCOMPARE(db->scalar("select 'it''s 01.01.2024'").toString(), QStringLiteral("it's 01.01.2024"));

        db->exec("insert into Termine (WvDatum, User_id, WvKurz) values ('09.12.2026', 1, 'Termin')");
        QCOMPARE(db->scalar("select count(*) from termine where wvdatum = '09.12.2026'").toInt(), 1);
    }

    void textSearchAndBooleans()
    {
        TempDatabase tmp;
        auto db = tmp.connect();
        db->exec("delete from programminfo");   // only the headings below
        db->exec("insert into programminfo (Rubrik) values ('Ärzte und Kliniken')");
        db->exec("insert into programminfo (Rubrik) values ('O''Brien''s Notiz')");
        db->exec("insert into programminfo (Rubrik) values ('100% Rabatt')");
        db->exec("insert into programminfo (Rubrik) values ('STRASSE')");

        auto count = [&](const QString &where) {
            return db->scalar("select count(*) from programminfo where " + where).toInt();
        };
        QCOMPARE(count("lower(rubrik) like '%ärzte%'"), 1);
        QCOMPARE(count("lower(rubrik) like 'ÄRZTE%'"), 1);
        QCOMPARE(db->scalar("select lower('ÄÖÜ ABC')").toString(), QStringLiteral("äöü abc"));
        QCOMPARE(count("lower(rubrik) like '%" + SqlText::doubleQuotes("o'brien's") + "%'"), 1);
        QCOMPARE(count("lower(rubrik) like '%'"), 4);
        QCOMPARE(count("lower(rubrik) like '1%0%'"), 1);
        QCOMPARE(count("lower(rubrik) like 'str_sse'"), 1);

        db->exec("insert into Termine (User_id, WvKurz, WvErledigt) values (1, 'a', true)");
        db->exec("insert into Termine (User_id, WvKurz, WvErledigt) values (1, 'b', false)");
        db->exec("insert into Termine (User_id, WvKurz) values (1, 'c')");
        QCOMPARE(db->scalar("select count(*) from termine where wverledigt = true").toInt(), 1);
        QCOMPARE(db->scalar("select count(*) from termine where wverledigt <> true").toInt(), 1);
    }

    void rebuildReplacesTheFileAtomically()
    {
        FILE_ONLY();
        TempDatabase tmp;
        {
            auto db = tmp.connect();
            for (int i = 0; i < 50; ++i)
                db->exec(QStringLiteral("insert into tbau (TKurz) values ('m%1')").arg(i));
            db->exec("delete from tbau where TKurz like 'm1%'");
        }
        Database::rebuild(tmp.filePath());
        QVERIFY(!QFile::exists(tmp.filePath() + ".tmp"));
        auto db = tmp.connect();
        QCOMPARE(db->scalar("select count(*) from tbau").toInt(), 39);
        QCOMPARE(db->scalar("select count(*) from benutzer").toInt(), 1);
        QCOMPARE(db->scalar("pragma integrity_check").toString(), QStringLiteral("ok"));
        // Keys go on where they left off.
        db->exec("insert into tbau (TKurz) values ('neu')");
        QCOMPARE(db->scalar("select Tbau_id from tbau where TKurz = 'neu'").toInt(), 51);
    }

    void failedRebuildLeavesTheFileAsItWas_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QString>("reason");
        QTest::newRow("file still in use") << "open" << "Die Datenbank wird noch von einem anderen Programm benutzt.";
        QTest::newRow("folder in the way") << "folder"
                                           << "Die Datei \"%1.tmp\" ist im Weg und kann nicht entfernt werden.";
    }
    void failedRebuildLeavesTheFileAsItWas()
    {
        FILE_ONLY();
        QFETCH(QString, obstacle);
        QFETCH(QString, reason);
        TempDatabase tmp;
        std::unique_ptr<Database> other;
        if (obstacle == "open") {
            other = tmp.connect();
            other->exec("insert into tbau (TKurz) values ('offen')");
        } else {
            QVERIFY(QDir().mkpath(tmp.filePath() + ".tmp/inhalt"));
        }
        // Hashing reads the file, which would drop the open connection's locks: only when
        // none is open.
        const QByteArray before = other ? QByteArray() : TempDatabase::fileHash(tmp.filePath());
        try {
            Database::rebuild(tmp.filePath());
            QFAIL("rebuild did not fail");
        } catch (const DataError &e) {
            QCOMPARE(e.message(), QStringLiteral("Die Datenbank konnte nicht reorganisiert werden.\r")
                                      + QString(reason).replace("%1", QDir::toNativeSeparators(tmp.filePath())));
        }
        if (obstacle == "open") {
            QVERIFY(!QFile::exists(tmp.filePath() + ".tmp"));
            QCOMPARE(other->scalar("select count(*) from tbau").toInt(), 1);
        } else {
            QCOMPARE(TempDatabase::fileHash(tmp.filePath()), before);
        }
    }

    void twoProcessesWriteAtOnce()
    {
        FILE_ONLY();
        TempDatabase tmp;
        {
            auto db = tmp.connect();
            db->exec("insert into plzort (Plz, Ort) values ('00000', '0')");
        }
        const int perProcess = 150;
        QProcess a, b;
        a.start(CONCURRENT_WRITER, {tmp.dir(), QString::number(perProcess), "a"});
        b.start(CONCURRENT_WRITER, {tmp.dir(), QString::number(perProcess), "b"});
        QVERIFY(a.waitForFinished(90000));
        QVERIFY(b.waitForFinished(90000));
        QCOMPARE(QString::fromLocal8Bit(a.readAllStandardError()), QString());
        QCOMPARE(QString::fromLocal8Bit(b.readAllStandardError()), QString());
        QCOMPARE(a.exitCode(), 0);
        QCOMPARE(b.exitCode(), 0);
        auto db = tmp.connect();
        QCOMPARE(db->scalar("select count(*) from hhbuch").toInt(), 2 * perProcess);
        QCOMPARE(db->scalar("select count(distinct RubText) from hhbuch").toInt(), 2 * perProcess);
        QCOMPARE(db->scalar("select Ort from plzort where Plz = '00000'").toString(), QString::number(2 * perProcess));
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
