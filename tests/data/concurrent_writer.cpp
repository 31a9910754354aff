// Appends bookings to a household book through a DataSet, as a second program instance
// would, and exits non-zero on the first error. Usage: <folder> <count> <tag> [delay ms] [retry].
// Each booking is acknowledged on stdout once it is stored, so a test that kills or races
// the writer knows which bookings must survive. <folder> "postgres:<name>" is the database
// <name> on the test server of FINORRA_TEST_PG. With "retry" a failed booking is tried again
// (a bounded number of times), as an adviser repeats what was reported as not saved; each
// failure's message goes to stderr; the bookings then come at a typing pace.
// "<folder> backup <rounds>" writes backups one after the other and prints each path.
// "<folder> hold <ms>" logs in as adviser "sb", holds a write transaction for <ms> and prints
// "holding" once it has the lock.
#include "data/Backup.h"
#include "data/DataError.h"
#include "data/DataSet.h"
#include "data/Database.h"
#include "data/LockHolder.h"
#include "OpenTestDatabase.h"

#include <QCoreApplication>
#include <QDate>

#include <QThread>

#include <cstdio>

namespace {

void acknowledge(const QString &line)
{
    std::printf("%s\n", line.toLocal8Bit().constData());
    std::fflush(stdout);
}

void complain(const DataError &e)
{
    std::fprintf(stderr, "%s\n", e.message().toLocal8Bit().constData());
    std::fflush(stderr);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 4)
        return 2;
    const QString dir = QString::fromLocal8Bit(argv[1]);
    if (qstrcmp(argv[2], "backup") == 0) {
        try {
            Database db;
            db.open(dir);
            for (int i = 0, rounds = QString::fromLocal8Bit(argv[3]).toInt(); i < rounds; ++i)
                acknowledge(Backup::write(db));
        } catch (const DataError &e) {
            complain(e);
            return 1;
        }
        return 0;
    }
    if (qstrcmp(argv[2], "hold") == 0) {
        try {
            Database db;
            openTestDatabase(db, dir);
            LockHolder::setUser(QStringLiteral("sb"));
            db.begin();
            db.exec(QStringLiteral("insert into tbau (TKurz) values ('lang')"));
            acknowledge(QStringLiteral("holding"));
            QThread::msleep(QString::fromLocal8Bit(argv[3]).toULong());
            db.rollback();
        } catch (const DataError &e) {
            complain(e);
            return 1;
        }
        return 0;
    }
    const int count = QString::fromLocal8Bit(argv[2]).toInt();
    const QString tag = QString::fromLocal8Bit(argv[3]);
    if (argc > 4)
        QThread::msleep(QString::fromLocal8Bit(argv[4]).toULong());
    const bool retry = argc > 5 && qstrcmp(argv[5], "retry") == 0;
    constexpr int Attempts = 100;
    try {
        Database db;
        for (int attempt = 1;; ++attempt) {
            try {
                openTestDatabase(db, dir);
                break;
            } catch (const DataError &e) {
                if (!retry || attempt == Attempts)
                    throw;
                complain(e);
                QThread::msleep(100);
            }
        }
        DataSet ds(&db, QStringLiteral("qrHhbuch"));
        ds.setSql(QStringLiteral("select * from hhbuch where hhplan_id = :hhplan_id"));
        ds.setParam(QStringLiteral("hhplan_id"), 1);
        ds.open();
        for (int i = 0; i < count; ++i) {
            for (int attempt = 1;; ++attempt) {
                try {
                    if (!ds.isOpen())
                        ds.open();
                    ds.append();
                    ds.setValue(QStringLiteral("Hhplan_id"), 1);
                    ds.setValue(QStringLiteral("Buchdat"), QDate(2024, 1, 1).addDays(i % 365));
                    ds.setValue(QStringLiteral("Rubrik"), QStringLiteral("Lebenshaltung"));
                    ds.setValue(QStringLiteral("Betrag"), 1.5);
                    ds.setValue(QStringLiteral("RubText"), QStringLiteral("%1-%2").arg(tag).arg(i));
                    ds.post();
                    break;
                } catch (const DataError &e) {
                    if (!retry || attempt == Attempts)
                        throw;
                    complain(e);
                    if (ds.isOpen() && ds.isPending())
                        ds.cancel();
                    QThread::msleep(100);
                }
            }
            // A counter row that both instances raise: every raise must survive.
            if (!retry)
                db.transaction([&db] {
                    db.exec(QStringLiteral("update plzort set Ort = cast(cast(Ort as integer) + 1 as text) where Plz = '00000'"));
                });
            acknowledge(QStringLiteral("%1-%2").arg(tag).arg(i));
            if (retry)
                QThread::msleep(20);   // an adviser's pace, so the run spans what the test does to the server
        }
    } catch (const DataError &e) {
        complain(e);
        return 1;
    }
    return 0;
}
