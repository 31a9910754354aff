// Appends bookings to a household book through a DataSet, as a second program instance
// would, and exits non-zero on the first error. Usage: <folder> <count> <tag> [delay ms].
// Each booking is acknowledged on stdout once it is stored, so a test that kills or races
// the writer knows which bookings must survive.
#include "data/DataError.h"
#include "data/DataSet.h"
#include "data/Database.h"

#include <QCoreApplication>
#include <QDate>

#include <QThread>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 4)
        return 2;
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const int count = QString::fromLocal8Bit(argv[2]).toInt();
    const QString tag = QString::fromLocal8Bit(argv[3]);
    if (argc > 4)
        QThread::msleep(QString::fromLocal8Bit(argv[4]).toULong());
    try {
        Database db;
        db.open(dir);
        DataSet ds(&db, QStringLiteral("qrHhbuch"));
        ds.setSql(QStringLiteral("select * from hhbuch where hhplan_id = :hhplan_id"));
        ds.setParam(QStringLiteral("hhplan_id"), 1);
        ds.open();
        for (int i = 0; i < count; ++i) {
            ds.append();
            ds.setValue(QStringLiteral("Hhplan_id"), 1);
            ds.setValue(QStringLiteral("Buchdat"), QDate(2024, 1, 1).addDays(i % 365));
            ds.setValue(QStringLiteral("Rubrik"), QStringLiteral("Lebenshaltung"));
            ds.setValue(QStringLiteral("Betrag"), 1.5);
            ds.setValue(QStringLiteral("RubText"), QStringLiteral("%1-%2").arg(tag).arg(i));
            ds.post();
            // A counter row that both instances raise: every raise must survive.
            db.transaction([&db] {
                db.exec(QStringLiteral("update plzort set Ort = cast(cast(Ort as integer) + 1 as text) where Plz = '00000'"));
            });
            std::printf("%s-%d\n", tag.toLocal8Bit().constData(), i);
            std::fflush(stdout);
        }
    } catch (const DataError &e) {
        std::fprintf(stderr, "%s\n", e.message().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
