// The office's races on both backends with real programs: two imports of one statement at
// once, a server restart in the middle of a run, killed migrations. Every loop is bounded in
// rounds and time; nothing here asserts a time.
#include "support/TempDatabase.h"

#include "data/ConnectionLoss.h"
#include "data/DataError.h"
#include "data/DataSet.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>

#include <memory>
#include <vector>

class TestOfficeRace : public QObject
{
    Q_OBJECT

    // How a helper program finds the database: its folder, or its name on the test server.
    static QString where(const TempDatabase &tmp)
    {
        return TempDatabase::onServer() ? QStringLiteral("postgres:") + tmp.server().database : tmp.dir();
    }

    static int orStress(int usual)
    {
        const int asked = qEnvironmentVariableIntValue("FINORRA_STRESS_ROUNDS");
        return asked > 0 ? asked : usual;
    }

    static void serverControl(const QString &action)
    {
        const QString ctl = qEnvironmentVariable("FINORRA_TEST_PG_CTL");
        QVERIFY2(!ctl.isEmpty(), "FINORRA_TEST_PG_CTL is not set");
        QProcess p;
        p.start("sh", {"-c", ctl + u' ' + action});
        QVERIFY(p.waitForFinished(90000));
        QVERIFY2(p.exitCode() == 0, qPrintable(p.readAllStandardError()));
    }

    static QStringList migrateArguments(const TempDatabase &tmp)
    {
        QStringList args;
        for (const QString &pair : qEnvironmentVariable("FINORRA_TEST_PG").split(u' ', Qt::SkipEmptyParts)) {
            const QString key = pair.section(u'=', 0, 0), value = pair.section(u'=', 1);
            if (key == "host" || key == "port")
                args << "--" + key << value;
            else if (key == "user")
                args << "--benutzer" << value;
        }
        return args << "--datenbank" << tmp.server().database;
    }

    static int serverTables(const Database &db)
    {
        return db.scalar("select count(*) from information_schema.tables where table_schema = current_schema()").toInt();
    }

private slots:
    // Two advisers import the same statement into one book at the same moment: the second
    // finds the first one's bookings and stores none of them again.
    void twoImportsOfOneStatementStoreItOnce()
    {
        constexpr int Entries = 40;
        const int Trials = orStress(10);
        int doubled = 0, secondStoredSome = 0;
        for (int trial = 0; trial < Trials; ++trial) {
            TempDatabase tmp;
            const QString startAt = QString::number(QDateTime::currentMSecsSinceEpoch() + 1500);
            std::vector<std::unique_ptr<QProcess>> racers;
            for (int i = 0; i < 2; ++i) {
                racers.push_back(std::make_unique<QProcess>());
                racers.back()->start(IMPORT_RACER, {where(tmp), QString::number(Entries), startAt});
            }
            int stored = 0;
            QVector<int> each;
            for (auto &r : racers) {
                QVERIFY(r->waitForFinished(60000));
                QVERIFY2(r->exitCode() == 0, qPrintable(r->readAllStandardError()));
                each << r->readAllStandardOutput().trimmed().toInt();
                stored += each.back();
            }
            auto db = tmp.connect();
            const int inBook = db->scalar("select count(*) from hhbuch where hhplan_id = 1").toInt();
            if (inBook > Entries)
                ++doubled;
            if (each.at(0) > 0 && each.at(1) > 0)
                ++secondStoredSome;
            QCOMPARE(inBook, Entries);
            QCOMPARE(stored, Entries);
        }
        qInfo("%d trials of two imports at once: %d stored anything twice, %d split the statement", Trials, doubled,
              secondStoredSome);
    }

    // The server restarts and stops while a program writes and while another keeps its
    // connection open: each says in German that the connection is lost, the step in hand is
    // reported as not saved, and the next action works again without restarting the program.
    void serverRestartInTheMiddleOfARun()
    {
        if (!TempDatabase::onServer())
            QSKIP("Betrifft nur den Datenbankserver.");
        TempDatabase tmp;
        auto idle = tmp.connect();
        DataSet texts(idle.get(), "qrTbau");
        texts.setSql("select * from tbau");
        texts.open();
        texts.append();
        texts.setValue("TKurz", "vorher");
        texts.post();

        constexpr int Count = 300;
        QProcess writer;
        writer.start(CONCURRENT_WRITER, {where(tmp), QString::number(Count), "w", "0", "retry"});
        QVERIFY(writer.waitForStarted(10000));
        QStringList acknowledged;
        auto readAcks = [&] {
            acknowledged += QString::fromLocal8Bit(writer.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        };
        QElapsedTimer clock;
        clock.start();
        while (acknowledged.size() < 10 && clock.elapsed() < 60000 && writer.state() == QProcess::Running) {
            writer.waitForReadyRead(1000);
            readAcks();
        }
        QVERIFY2(acknowledged.size() >= 10, qPrintable(writer.readAllStandardError()));
        serverControl("restart -m fast");

        // The program that kept its connection: the first save after the restart is refused
        // with the German message and stays pending; saving again works.
        texts.append();
        texts.setValue("TKurz", "nachher");
        QString message;
        try {
            texts.post();
        } catch (const ConnectionLost &e) {
            message = e.message();
        }
        QCOMPARE(message, ConnectionLoss::notSaved());
        QVERIFY(texts.isPending());
        texts.post();
        QCOMPARE(idle->scalar("select count(*) from tbau where TKurz in ('vorher', 'nachher')").toInt(), 2);

        // Stopped: the program is told so, and gives up instead of waiting on.
        serverControl("stop -m fast");
        QString whileStopped;
        try {
            idle->scalar("select count(*) from tbau");
        } catch (const ConnectionLost &e) {
            whileStopped = e.message();
        }
        try {
            idle->scalar("select count(*) from tbau");
        } catch (const ConnectionLost &e) {
            whileStopped += u'|' + e.message();
        }
        serverControl("start");
        QVERIFY2(whileStopped.startsWith(ConnectionLoss::Lost), qPrintable(whileStopped));
        QVERIFY2(whileStopped.section(u'|', 1).startsWith(ConnectionLoss::Lost + "\rDer Datenbankserver"),
                 qPrintable(whileStopped));
        QCOMPARE(idle->scalar("select count(*) from tbau where TKurz = 'nachher'").toInt(), 1);

        QVERIFY(writer.waitForFinished(120000));
        readAcks();
        const QString complaints = QString::fromLocal8Bit(writer.readAllStandardError());
        QCOMPARE(writer.exitCode(), 0);
        QCOMPARE(acknowledged.size(), Count);
        QVERIFY2(complaints.contains(ConnectionLoss::Lost), qPrintable(complaints));
        QSet<QString> stored;
        QSqlQuery q = idle->exec("select RubText from hhbuch");
        while (q.next())
            stored.insert(q.value(0).toString());
        for (const QString &a : std::as_const(acknowledged))
            QVERIFY2(stored.contains(a), qPrintable(a));
        qInfo("one writer through a restart and a stop of the server: %lld bookings acknowledged, none lost; "
              "%lld failures reported to it and repeated",
              static_cast<long long>(acknowledged.size()), static_cast<long long>(complaints.count(ConnectionLoss::Lost)));
    }

    // A migration killed at any moment leaves its target complete or as it was found, so the
    // next run works: onto a new server database and into a new file.
    void killedMigrationsLeaveTheTargetAsFound()
    {
        if (!TempDatabase::onServer())
            QSKIP("Eine Umstellung braucht den Datenbankserver.");
        QTemporaryDir source;
        {
            Database db;
            db.open(source.path());
            db.transaction([&] {
                for (int i = 0; i < 20000; ++i)
                    db.exec(QStringLiteral("insert into tbau (TKurz, TText) values ('t%1', '%2')").arg(i).arg(QString(200, 'x')));
            });
        }
        // How long an undisturbed upload takes, so the kills fall before, during and after it.
        int uploadMs = 0;
        {
            TempDatabase probe;
            {
                auto db = probe.connect();
                db->close();
            }
            QElapsedTimer clock;
            clock.start();
            QProcess m;
            m.start(FINORRA_MIGRATE, QStringList{"--nach-postgresql", source.path()} + migrateArguments(probe));
            QVERIFY(m.waitForFinished(120000));
            uploadMs = static_cast<int>(clock.elapsed());
        }
        const int Rounds = orStress(6);
        int complete = 0, untouched = 0;
        for (int round = 0; round < Rounds; ++round) {
            // A new, empty database on the server, as the administrator makes one.
            TempDatabase tmp;
            {
                auto db = tmp.connect();
                QStringList tables;
                QSqlQuery q = db->exec("select table_name from information_schema.tables where table_schema = current_schema()");
                while (q.next())
                    tables << q.value(0).toString();
                for (const QString &t : std::as_const(tables))
                    db->exec("drop table " + t);
            }
            QProcess m;
            m.start(FINORRA_MIGRATE, QStringList{"--nach-postgresql", source.path()} + migrateArguments(tmp));
            QTest::qWait(static_cast<int>(QRandomGenerator::global()->bounded(1.2 * uploadMs + 1)));
            m.kill();
            QVERIFY(m.waitForFinished(30000));
            {
                ServerSettings s = tmp.server();
                QSqlDatabase::removeDatabase("migration-check");
                QSqlDatabase raw = QSqlDatabase::addDatabase("QPSQL", "migration-check");
                raw.setHostName(s.host);
                raw.setPort(s.port);
                raw.setUserName(s.user);
                raw.setDatabaseName(s.database);
                QVERIFY(raw.open());
                QSqlQuery q(raw);
                QVERIFY(q.exec("select count(*) from information_schema.tables where table_schema = current_schema()"));
                QVERIFY(q.next());
                const int tables = q.value(0).toInt();
                if (tables == 0) {
                    ++untouched;
                } else {
                    ++complete;
                    QVERIFY(q.exec("select count(*) from tbau"));
                    QVERIFY(q.next());
                    QCOMPARE(q.value(0).toInt(), 20000);
                }
                raw.close();
            }
            QSqlDatabase::removeDatabase("migration-check");
            {
                // Left as found or complete: a rerun onto it goes through, or says the copy is there.
                QProcess again;
                again.start(FINORRA_MIGRATE, QStringList{"--nach-postgresql", source.path()} + migrateArguments(tmp));
                QVERIFY(again.waitForFinished(120000));
                if (untouched > 0 && complete + untouched == round + 1 && again.exitCode() != 0)
                    QVERIFY2(QString::fromLocal8Bit(again.readAllStandardError()).contains("nicht leer"), "rerun refused");
                auto db = tmp.connect();
                QCOMPARE(db->scalar("select count(*) from tbau").toInt(), 20000);
            }

            // Back into a new file, killed as well.
            QTemporaryDir target;
            QProcess down;
            down.start(FINORRA_MIGRATE, QStringList{"--nach-datei", target.path()} + migrateArguments(tmp));
            QTest::qWait(static_cast<int>(QRandomGenerator::global()->bounded(1.2 * uploadMs + 1)));
            down.kill();
            QVERIFY(down.waitForFinished(30000));
            const bool placed = QFile::exists(target.filePath(Database::FileName));
            {
                // A rerun copies what is missing, or refuses to overwrite the complete file.
                QProcess again;
                again.start(FINORRA_MIGRATE, QStringList{"--nach-datei", target.path()} + migrateArguments(tmp));
                QVERIFY(again.waitForFinished(120000));
                QCOMPARE(again.exitCode(), placed ? 1 : 0);
            }
            {
                Database file;
                file.open(target.path());
                QCOMPARE(file.scalar("select count(*) from tbau").toInt(), 20000);
            }
            // Nothing of the killed copy is left beside the file.
            QCOMPARE(QDir(target.path()).entryList({".Finorra-Umzug-*"}, QDir::Dirs | QDir::Hidden), QStringList());
        }
        qInfo("%d uploads killed: %d had finished, %d left the server database empty; the reruns all worked",
              Rounds, complete, untouched);
    }
};

QTEST_GUILESS_MAIN(TestOfficeRace)
#include "tst_officerace.moc"
