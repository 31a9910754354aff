// Several programs on one Finorra.abs, as in an office: started together on a folder
// without a database, killed while they create it, started while another reorganises.
// Real processes on real files; every booking a writer acknowledged must survive.
#include "support/TempDatabase.h"

#include "data/Backup.h"
#include "data/DataError.h"
#include "data/DataSet.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTest>

#include <memory>
#include <vector>

class TestSharedOffice : public QObject
{
    Q_OBJECT

    struct Writer
    {
        std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
        QStringList acknowledged;
    };

    static std::unique_ptr<Writer> startWriter(const QString &dir, int count, const QString &tag, int delayMs = 0)
    {
        auto w = std::make_unique<Writer>();
        w->process->start(CONCURRENT_WRITER, {dir, QString::number(count), tag, QString::number(delayMs)});
        return w;
    }

    static void fill(const TempDatabase &tmp, int rows, int size)
    {
        auto db = tmp.connect();
        db->transaction([&] {
            for (int i = 0; i < rows; ++i)
                db->exec(QStringLiteral("insert into tbau (TKurz, TText) values ('f%1', '%2')").arg(i).arg(QString(size, 'x')));
        });
    }

    // The bookings of a backup file, read without opening it as the program's database.
    static QSet<QString> bookingsIn(const QString &file)
    {
        QSet<QString> out;
        const QString name = QStringLiteral("bookings-of-backup");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
            db.setDatabaseName(file);
            db.setConnectOptions("QSQLITE_OPEN_READONLY");
            if (db.open()) {
                QSqlQuery q(db);
                q.exec("select RubText from hhbuch");
                while (q.next())
                    out.insert(q.value(0).toString());
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        return out;
    }

    // FINORRA_STRESS_ROUNDS and FINORRA_STRESS_INSTANCES make a long trial by hand.
    static int orStress(int usual, const char *variable = "FINORRA_STRESS_ROUNDS")
    {
        const int asked = qEnvironmentVariableIntValue(variable);
        return asked > 0 ? asked : usual;
    }

    static void collect(Writer &w)
    {
        w.acknowledged = QString::fromLocal8Bit(w.process->readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    }

    // Every booking in the file. A refused open or a failed integrity check comes back as
    // an entry of its own, so a comparison shows it.
    static QSet<QString> bookings(const QString &dir)
    {
        Database db;
        try {
            db.open(dir);
        } catch (const DataError &e) {
            return {e.message()};
        }
        QSet<QString> out;
        QSqlQuery q = db.exec("select RubText from hhbuch");
        while (q.next())
            out.insert(q.value(0).toString());
        if (db.scalar("pragma integrity_check").toString() != "ok")
            out.insert(QStringLiteral("<integrity_check failed>"));
        return out;
    }

    // Only the database and SQLite's companions: no half-made file left behind.
    static QStringList strayFiles(const QString &dir)
    {
        QStringList stray = QDir(dir).entryList(QDir::Files | QDir::Hidden);
        for (const char *own : {"Finorra.abs", "Finorra.abs-wal", "Finorra.abs-shm"})
            stray.removeAll(QLatin1String(own));
        return stray;
    }

private slots:
    void firstStartsAtOnceKeepEveryRecord()
    {
        const int Rounds = orStress(4), Instances = orStress(6, "FINORRA_STRESS_INSTANCES");
        constexpr int PerInstance = 15;
        for (int round = 0; round < Rounds; ++round) {
            QTemporaryDir dir;
            std::vector<std::unique_ptr<Writer>> writers;
            for (int i = 0; i < Instances; ++i)
                writers.push_back(startWriter(dir.path(), PerInstance, QStringLiteral("r%1i%2").arg(round).arg(i)));
            QSet<QString> acknowledged;
            for (auto &w : writers) {
                QVERIFY(w->process->waitForFinished(60000));
                QCOMPARE(QString::fromLocal8Bit(w->process->readAllStandardError()), QString());
                QCOMPARE(w->process->exitCode(), 0);
                collect(*w);
                QCOMPARE(w->acknowledged.size(), PerInstance);
                for (const QString &a : w->acknowledged)
                    acknowledged.insert(a);
            }
            QCOMPARE(bookings(dir.path()), acknowledged);
            Database db;
            db.open(dir.path());
            // The first-start data went in once.
            QCOMPARE(db.scalar("select count(*) from benutzer").toInt(), 1);
            QCOMPARE(db.scalar("select count(*) from firma").toInt(), 1);
            QCOMPARE(db.scalar("select count(*) from buland").toInt(), 16);
            QCOMPARE(strayFiles(dir.path()), QStringList());
        }
    }

    void killedFirstStartLeavesNoFileOrAWholeOne()
    {
        // How long an undisturbed first start takes to its first stored booking on this
        // machine, so the kills below fall before, around and after the file appears.
        int firstBookingMs = 0;
        {
            QTemporaryDir dir;
            QElapsedTimer clock;
            clock.start();
            auto w = startWriter(dir.path(), 100000, QStringLiteral("probe"));
            QVERIFY(w->process->waitForReadyRead(60000));
            firstBookingMs = static_cast<int>(clock.elapsed());
            w->process->kill();
            QVERIFY(w->process->waitForFinished(10000));
        }
        const int Rounds = orStress(16);
        int withFile = 0;
        for (int round = 0; round < Rounds; ++round) {
            QTemporaryDir dir;
            auto w = startWriter(dir.path(), 100000, QStringLiteral("k%1").arg(round));
            QTest::qWait(static_cast<int>(QRandomGenerator::global()->bounded(2.5 * firstBookingMs + 1)));
            w->process->kill();
            QVERIFY(w->process->waitForFinished(10000));
            collect(*w);
            if (QFile::exists(dir.filePath("Finorra.abs")))
                ++withFile;
            else
                QCOMPARE(w->acknowledged, QStringList());
            QVERIFY2(strayFiles(dir.path()).isEmpty(), qPrintable(strayFiles(dir.path()).join(u' ')));
            // The next start works either way and keeps what was acknowledged.
            const QSet<QString> stored = bookings(dir.path());
            for (const QString &b : stored)   // an open error or a failed check shows here
                QVERIFY2(b.startsWith(QStringLiteral("k%1-").arg(round)), qPrintable(b));
            for (const QString &a : std::as_const(w->acknowledged))
                QVERIFY2(stored.contains(a), qPrintable(a));
        }
        qInfo("%d of %d killed first starts had placed their file", withFile, Rounds);
    }

    void startsDuringAReorganisationLoseNothing()
    {
        TempDatabase tmp;
        {
            // Enough data that the copy takes a moment and starting instances meet it.
            auto db = tmp.connect();
            db->transaction([&] {
                for (int i = 0; i < 3000; ++i)
                    db->exec(QStringLiteral("insert into tbau (TKurz, TText) values ('f%1', '%2')").arg(i).arg(QString(400, 'x')));
            });
        }
        const int Rounds = orStress(8);
        constexpr int Instances = 3, PerInstance = 5;
        QSet<QString> acknowledged;
        int reorganised = 0;
        for (int round = 0; round < Rounds; ++round) {
            std::vector<std::unique_ptr<Writer>> writers;
            for (int i = 0; i < Instances; ++i)
                writers.push_back(startWriter(tmp.dir(), PerInstance, QStringLiteral("r%1i%2").arg(round).arg(i),
                                              QRandomGenerator::global()->bounded(150)));
            try {
                Database::rebuild(tmp.filePath());
                ++reorganised;
            } catch (const DataError &e) {
                QCOMPARE(e.message(), QStringLiteral("Die Datenbank konnte nicht reorganisiert werden.\r"
                                                     "Die Datenbank wird noch von einem anderen Programm benutzt."));
            }
            for (auto &w : writers) {
                QVERIFY(w->process->waitForFinished(60000));
                QCOMPARE(QString::fromLocal8Bit(w->process->readAllStandardError()), QString());
                QCOMPARE(w->process->exitCode(), 0);
                collect(*w);
                for (const QString &a : std::as_const(w->acknowledged))
                    acknowledged.insert(a);
            }
            QVERIFY(!QFile::exists(tmp.filePath() + ".tmp"));
            QCOMPARE(bookings(tmp.dir()), acknowledged);
        }
        QCOMPARE(acknowledged.size(), Rounds * Instances * PerInstance);
        qInfo("%d of %d reorganisations ran, the others were refused", reorganised, Rounds);
    }
    // Colleagues start the program while a backup is restored: each waits for the restore or
    // is refused in German, and every booking acknowledged is in the restored database (written
    // after the restore) or in the safety copy the restore wrote first.
    void startsDuringARestoreLoseNothing()
    {
        TempDatabase tmp;
        fill(tmp, 3000, 400);   // enough that the copies take a moment
        QString chosen;
        {
            auto db = tmp.connect();
            chosen = Backup::write(*db);
        }
        const QString folder = QFileInfo(chosen).absolutePath();
        const int Rounds = orStress(10);
        constexpr int Instances = 3, PerInstance = 5;
        QSet<QString> acknowledged, kept;
        int restored = 0, refusedRestores = 0, refusedStarts = 0;
        for (int round = 0; round < Rounds; ++round) {
            const QStringList before = Backup::list(folder);
            std::vector<std::unique_ptr<Writer>> writers;
            for (int i = 0; i < Instances; ++i)
                writers.push_back(startWriter(tmp.dir(), PerInstance, QStringLiteral("r%1i%2").arg(round).arg(i),
                                              QRandomGenerator::global()->bounded(200)));
            QTest::qWait(QRandomGenerator::global()->bounded(150));
            Database db;
            db.open(tmp.dir());
            try {
                Backup::restore(db, chosen);
                ++restored;
            } catch (const DataError &e) {
                ++refusedRestores;
                QVERIFY2(e.message().contains("von einem anderen Programm benutzt"), qPrintable(e.message()));
            }
            for (const QString &n : Backup::list(folder))
                if (!before.contains(n))
                    kept += bookingsIn(folder + u'/' + n);
            for (auto &w : writers) {
                // One that ended while this process waited has been reaped already.
                if (w->process->state() != QProcess::NotRunning)
                    QVERIFY(w->process->waitForFinished(60000));
                QCOMPARE(w->process->exitStatus(), QProcess::NormalExit);
                const QString error = QString::fromLocal8Bit(w->process->readAllStandardError());
                collect(*w);
                if (w->process->exitCode() != 0) {
                    ++refusedStarts;
                    QVERIFY2(error.contains("gesperrt"), qPrintable(error));
                }
                for (const QString &a : std::as_const(w->acknowledged))
                    acknowledged.insert(a);
            }
            kept += bookings(tmp.dir());
            for (const QString &a : std::as_const(acknowledged))
                QVERIFY2(kept.contains(a), qPrintable(QStringLiteral("round %1 lost %2").arg(round).arg(a)));
            QVERIFY(QFile::exists(chosen));
        }
        qInfo("%d rounds: %d restores, %d refused because a program had the file open, %d starts refused; "
              "%lld acknowledged bookings, none lost",
              Rounds, restored, refusedRestores, refusedStarts, static_cast<long long>(acknowledged.size()));
    }

    // A backup of a large file that colleagues keep writing to ends while they write, in one
    // pass (the progress never goes back), and holds a consistent snapshot.
    void backupOfABusyFileEndsInOnePass()
    {
        TempDatabase tmp;
        fill(tmp, 50000, 600);   // about 35 MB
        constexpr int Instances = 4;
        std::vector<std::unique_ptr<Writer>> writers;
        for (int i = 0; i < Instances; ++i)
            writers.push_back(startWriter(tmp.dir(), 4000, QStringLiteral("b%1").arg(i)));
        for (auto &w : writers)
            QVERIFY(w->process->waitForReadyRead(60000));
        auto db = tmp.connect();
        const int storedBefore = db->scalar("select count(*) from hhbuch").toInt();
        double last = 0;
        int steps = 0, backwards = 0;
        const QString path = Backup::write(*db, QDateTime::currentDateTime(), [&](double share) {
            if (share < last)
                ++backwards;
            last = share;
            ++steps;
        });
        int stillWriting = 0;
        for (auto &w : writers)
            stillWriting += w->process->state() == QProcess::Running ? 1 : 0;
        const int storedAfter = db->scalar("select count(*) from hhbuch").toInt();
        for (auto &w : writers) {
            w->process->kill();
            QVERIFY(w->process->waitForFinished(10000));
        }
        QCOMPARE(backwards, 0);
        QCOMPARE(last, 1.0);
        QVERIFY(steps > 1);   // the bar moved
        QCOMPARE(stillWriting, Instances);
        Backup::check(path);
        const int inBackup = bookingsIn(path).size();
        QVERIFY2(inBackup >= storedBefore && inBackup <= storedAfter,
                 qPrintable(QStringLiteral("%1 in the backup, %2 before, %3 after").arg(inBackup).arg(storedBefore).arg(storedAfter)));
        qInfo("a %lld MB file copied in %d steps while %d programs wrote %d bookings",
              static_cast<long long>(QFileInfo(tmp.filePath()).size() >> 20), steps, Instances, storedAfter - storedBefore);
    }

    // Backups killed half-way leave their half copies; the next backup removes them.
    void killedBackupsLeaveNothingBehind()
    {
        TempDatabase tmp;
        fill(tmp, 30000, 600);
        int oneBackupMs = 0;
        {
            QElapsedTimer clock;
            clock.start();
            QProcess probe;
            probe.start(CONCURRENT_WRITER, {tmp.dir(), "backup", "1"});
            QVERIFY(probe.waitForFinished(60000));
            QCOMPARE(probe.exitCode(), 0);
            oneBackupMs = static_cast<int>(clock.elapsed());
        }
        auto db = tmp.connect();
        const QString folder = Backup::folder(*db);
        const int Rounds = orStress(10);
        int halfCopies = 0;
        for (int round = 0; round < Rounds; ++round) {
            QProcess backup;
            backup.start(CONCURRENT_WRITER, {tmp.dir(), "backup", "100"});
            QVERIFY(backup.waitForStarted(10000));
            QTest::qWait(static_cast<int>(QRandomGenerator::global()->bounded(1.5 * oneBackupMs + 1)));
            backup.kill();
            QVERIFY(backup.waitForFinished(10000));
            halfCopies = static_cast<int>(Backup::leftovers(folder).size());
        }
        Backup::write(*db);
        QStringList stray = QDir(folder).entryList({"*.tmp", "*-journal"}, QDir::Files);
        QCOMPARE(stray, QStringList());
        for (const QString &n : Backup::list(folder))
            Backup::check(folder + u'/' + n);
        qInfo("%d backups killed, %d half copies were left before the next backup removed them", Rounds, halfCopies);
    }
    // A save that waits in vain for another program's long transaction says so in German and
    // names who holds the file.
    void aLongLockIsNamed()
    {
        TempDatabase tmp;
        QProcess holder;
        holder.start(CONCURRENT_WRITER, {tmp.dir(), "hold", "20000"});
        QVERIFY(holder.waitForReadyRead(30000));
        QCOMPARE(holder.readAllStandardOutput(), QByteArray("holding\n"));
        auto db = tmp.connect(300);
        const QString expected = QStringLiteral("Die Datenbank ist von einem anderen Programm gesperrt (Benutzer sb am "
                                                "Arbeitsplatz %1, Programm %2).\rDie Änderung wurde nicht gespeichert. "
                                                "Bitte versuchen Sie es in einem Augenblick noch einmal.")
                                     .arg(QSysInfo::machineHostName())
                                     .arg(holder.processId());
        DataSet ds(db.get(), "qrTbau");
        ds.setSql("select * from tbau");
        ds.open();
        ds.append();
        ds.setValue("TKurz", "wartet");
        QString message;
        try {
            ds.post();
        } catch (const DataError &e) {
            message = e.message();
        }
        QCOMPARE(message, expected);
        QVERIFY(ds.isPending());   // nothing lost: the row can be saved again
        holder.kill();
        QVERIFY(holder.waitForFinished(10000));
        ds.post();
        QCOMPARE(db->scalar("select count(*) from tbau where TKurz = 'wartet'").toInt(), 1);
        // Once the holder is gone its note goes with the next program that opens the file.
        auto later = tmp.connect();
        QVERIFY(!QFile::exists(QStringLiteral("%1/.Finorra.abs-programme/%2-%3")
                                   .arg(tmp.dir(), QSysInfo::machineHostName())
                                   .arg(holder.processId())));
    }
};

QTEST_GUILESS_MAIN(TestSharedOffice)
#include "tst_sharedoffice.moc"
