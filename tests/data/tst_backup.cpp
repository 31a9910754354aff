#include "support/TempDatabase.h"

#include "data/Backup.h"
#include "data/DataError.h"
#include "data/Schema.h"

#include <QDir>
#include <QTest>

#include <sqlite3.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

class TestBackup : public QObject
{
    Q_OBJECT

    static QString errorOf(const std::function<void()> &work)
    {
        try {
            work();
        } catch (const DataError &e) {
            return e.message();
        }
        return QString();
    }

private slots:
    // Written while another program has the file open; the copy holds what was committed.
    void backupIsACheckedCopy()
    {
        TempDatabase tmp;
        auto db = tmp.connect();
        auto other = tmp.connect();
        other->exec("insert into tbau (TKurz, TText) values ('gruss', 'Mit freundlichen Grüßen')");
        double reached = 0;
        const QString path = Backup::write(*db, QDateTime(QDate(2026, 12, 10), QTime(17, 5, 9)),
                                           [&](double share) { reached = share; });
        QCOMPARE(path, tmp.dir() + "/Datensicherung/Finorra-2026-12-10-170509.abs");
        QCOMPARE(reached, 1.0);
        QVERIFY(!QFile::exists(path + ".tmp"));
        Backup::check(path);
        QTemporaryDir copyDir;
        QVERIFY(QFile::copy(path, copyDir.filePath(Database::FileName)));
        Database copy;
        copy.open(copyDir.path());
        QCOMPARE(copy.scalar("select TText from tbau").toString(), QStringLiteral("Mit freundlichen Grüßen"));
        QCOMPARE(Backup::list(Backup::folder(*db)), QStringList{"Finorra-2026-12-10-170509.abs"});
        // A second one within the same second gets the next second's name.
        QCOMPARE(Backup::write(*db, QDateTime(QDate(2026, 12, 10), QTime(17, 5, 9))),
                 tmp.dir() + "/Datensicherung/Finorra-2026-12-10-170510.abs");
    }

    // The newest ten, and the newest of each of the twelve months before this one.
    void thinningOut()
    {
        QStringList names;
        for (int month = 1; month <= 24; ++month)          // Jan 2025 … Dec 2026, three a month
            for (int day : {3, 14, 27})
                names << QDate(2025, 1, 1).addMonths(month - 1).addDays(day - 1).toString("'Finorra-'yyyy-MM-dd'-120000.abs'");
        const QStringList deleted = Backup::toDelete(names, QDate(2026, 12, 20));
        QStringList kept = names;
        for (const QString &d : deleted)
            kept.removeAll(d);
        std::sort(kept.begin(), kept.end());
        QStringList expected;
        for (int m = 12; m <= 23; ++m) {   // Dec 2025 … Nov 2026: the 27th of each
            const QDate month = QDate(2025, 1, 1).addMonths(m - 1);
            expected << QDate(month.year(), month.month(), 27).toString("'Finorra-'yyyy-MM-dd'-120000.abs'");
        }
        // The ten newest: Dec 2026 (3), Nov (3, its 27th counted above), Oct (3), Sep 27.
        for (const char *n : {"2026-12-03", "2026-12-14", "2026-12-27", "2026-11-03", "2026-11-14", "2026-10-03", "2026-10-14"})
            expected << QStringLiteral("Finorra-%1-120000.abs").arg(QLatin1String(n));
        std::sort(expected.begin(), expected.end());
        QCOMPARE(kept, expected);
        QCOMPARE(Backup::toDelete(names.mid(0, 10), QDate(2026, 12, 20)), QStringList());
    }

    void refusedBackups()
    {
        QTemporaryDir dir;
        const QString foreign = dir.filePath("fremd.abs");
        {
            sqlite3 *h = nullptr;
            sqlite3_open(QFile::encodeName(foreign).constData(), &h);
            sqlite3_exec(h, "create table t (a)", nullptr, nullptr, nullptr);
            sqlite3_close(h);
        }
        TempDatabase tmp;
        QString newer;
        QString damaged;
        {
            auto db = tmp.connect();
            newer = Backup::write(*db, QDateTime(QDate(2026, 1, 1), QTime(1, 0)));
            damaged = Backup::write(*db, QDateTime(QDate(2026, 1, 2), QTime(1, 0)));
        }
        {
            sqlite3 *h = nullptr;
            sqlite3_open(QFile::encodeName(newer).constData(), &h);
            sqlite3_exec(h, QStringLiteral("pragma user_version = %1").arg(Schema::Version + 1).toUtf8(), nullptr, nullptr, nullptr);
            sqlite3_close(h);
        }
        {
            QFile f(damaged);
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.seek(f.size() / 2);
            f.write(QByteArray(8192, '\xff'));
        }
        const QString prefix = QStringLiteral("Die Datensicherung \"%1\" kann nicht zurückgespielt werden.\r");
        QCOMPARE(errorOf([&] { Backup::check(foreign); }), prefix.arg(foreign) + "Die Datei ist keine Finorra-Datenbank.");
        QCOMPARE(errorOf([&] { Backup::check(damaged); }), prefix.arg(damaged) + "Die Datei ist beschädigt.");
        QCOMPARE(errorOf([&] { Backup::check(newer); }),
                 prefix.arg(newer) + QStringLiteral("Sie stammt von einer neueren Programmversion (Datenbankversion %1, "
                                                    "dieses Programm kennt Version %2).")
                                         .arg(Schema::Version + 1)
                                         .arg(Schema::Version));
    }

    void restoreReplacesTheRecordsAndKeepsTheCurrentOnes()
    {
        TempDatabase tmp;
        QString backup;
        {
            auto db = tmp.connect();
            db->exec("insert into tbau (TKurz) values ('alt')");
            backup = Backup::write(*db, QDateTime(QDate(2026, 1, 1), QTime(8, 0)));
            db->exec("update tbau set TKurz = 'neu'");
            db->exec("insert into tbau (TKurz) values ('zweiter')");

            // Refused while another program has the database open; nothing changes.
            auto other = tmp.connect();
            QCOMPARE(errorOf([&] { Backup::restore(*db, backup); }),
                     QStringLiteral("Die Datensicherung wurde nicht zurückgespielt.\rDie Datenbank wird noch von einem "
                                    "anderen Programm benutzt. Bitte beenden Sie es an allen Arbeitsplätzen und "
                                    "versuchen Sie es noch einmal."));
            QCOMPARE(other->scalar("select count(*) from tbau").toInt(), 2);
        }
        auto db = tmp.connect();
        const int before = Backup::list(Backup::folder(*db)).size();
        Backup::restore(*db, backup);
        QVERIFY(!db->isOpen());
        QCOMPARE(Backup::list(Backup::folder(*db)).size(), before + 1);   // the current file, saved first
        auto reopened = tmp.connect();
        QCOMPARE(reopened->scalar("select count(*) from tbau").toInt(), 1);
        QCOMPARE(reopened->scalar("select TKurz from tbau").toString(), QStringLiteral("alt"));
    }

    // The safety copy of a restore counts as the newest backup; thinning out after it must
    // spare the one being restored, even when that is the oldest the chooser offers.
    void restoringTheOldestBackupKeepsIt()
    {
        TempDatabase tmp;
        QStringList made;
        {
            auto db = tmp.connect();
            const QDateTime now = QDateTime::currentDateTime();
            for (int i = Backup::KeepLatest; i >= 1; --i) {
                db->exec(QStringLiteral("insert into tbau (TKurz) values ('stand %1')").arg(i));
                made << Backup::write(*db, now.addSecs(-60 * i));
            }
        }
        const QString oldest = made.first();
        const QString folder = QFileInfo(oldest).absolutePath();
        QCOMPARE(Backup::list(folder).size(), Backup::KeepLatest);

        // Refused restores write no copy, so they thin out nothing either.
        for (int attempt = 0; attempt < 6; ++attempt) {
            auto db = tmp.connect();
            auto other = tmp.connect();
            QVERIFY(errorOf([&] { Backup::restore(*db, oldest); }).contains("von einem anderen Programm benutzt"));
        }
        QCOMPARE(Backup::list(folder).size(), Backup::KeepLatest);

        for (int round = 0; round < 2; ++round) {   // the second time the chosen one is older still
            auto db = tmp.connect();
            QCOMPARE(errorOf([&] { Backup::restore(*db, oldest); }), QString());
            QVERIFY(QFile::exists(oldest));
            auto reopened = tmp.connect();
            QCOMPARE(reopened->scalar("select count(*) from tbau").toInt(), 1);
        }
        const QStringList kept = Backup::list(folder);
        QCOMPARE(kept.size(), Backup::KeepLatest + 1);   // the newest ten and the chosen one
        QVERIFY(kept.contains(QFileInfo(oldest).fileName()));
        QVERIFY(!kept.contains(QFileInfo(made.at(1)).fileName()));   // thinned out as usual
    }

    // Half copies of backups that were killed go at the next backup; the one a running backup
    // is writing (it holds the copy's lock) stays.
    void leftoversOfKilledBackupsGo()
    {
        TempDatabase tmp;
        auto db = tmp.connect();
        const QString folder = Backup::folder(*db);
        QVERIFY(QDir().mkpath(folder));
        const QString dead = folder + "/Finorra-2026-01-01-080000.abs.tmp";
        const QString running = folder + "/Finorra-2026-01-01-090000.abs.tmp";
        for (const QString &p : {dead, dead + "-journal", running}) {
            QFile f(p);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
        }
        const int fd = ::open(QFile::encodeName(running).constData(), O_RDONLY);
        QVERIFY(fd >= 0);
        QCOMPARE(::flock(fd, LOCK_EX), 0);
        QCOMPARE(Backup::leftovers(folder), QStringList{"Finorra-2026-01-01-080000.abs.tmp"});
        Backup::write(*db);
        QVERIFY(!QFile::exists(dead));
        QVERIFY(!QFile::exists(dead + "-journal"));
        QVERIFY(QFile::exists(running));
        ::close(fd);
        Backup::write(*db);
        QVERIFY(!QFile::exists(running));
    }

    // A backup while this program has a write transaction open copies what was committed.
    void backupIgnoresAnOpenTransaction()
    {
        TempDatabase tmp;
        auto db = tmp.connect();
        db->exec("insert into tbau (TKurz) values ('fest')");
        db->begin();
        db->exec("insert into tbau (TKurz) values ('offen')");
        const QString path = Backup::write(*db);
        db->rollback();
        QTemporaryDir copyDir;
        QVERIFY(QFile::copy(path, copyDir.filePath(Database::FileName)));
        Database copy;
        copy.open(copyDir.path());
        QCOMPARE(copy.scalar("select count(*) from tbau").toInt(), 1);
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
