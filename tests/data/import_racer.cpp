// Stores one bank statement into household book 1, as a second program importing the same
// statement at the same moment would. Usage: <folder or postgres:<name>> <entries> <start at,
// ms since the epoch>. Waits for the start time, so several racers store at once; prints the
// number of bookings it stored.
#include "data/DataError.h"
#include "data/Database.h"
#include "hhbook/import/StatementImport.h"
#include "OpenTestDatabase.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QThread>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 4)
        return 2;
    const QString where = QString::fromLocal8Bit(argv[1]);
    const int count = QString::fromLocal8Bit(argv[2]).toInt();
    const qint64 startAt = QString::fromLocal8Bit(argv[3]).toLongLong();
    try {
        Database db;
        openTestDatabase(db, where);
        QVector<StatementEntry> entries;
        for (int i = 0; i < count; ++i) {
            StatementEntry e;
            e.bookingDate = e.valueDate = QDate(2024, 2, 1).addDays(i % 28);
            e.amount = Money::fromDouble(-(i + 1.25));
            e.counterparty = QStringLiteral("Laden %1").arg(i);
            e.text = QStringLiteral("Einkauf %1").arg(i);
            e.reference = QStringLiteral("REF-%1").arg(i);
            entries << e;
        }
        QVector<StatementImport::Row> rows = StatementImport::prepare(db, 1, entries);
        // An import stores no booking without a category.
        for (StatementImport::Row &r : rows)
            if (r.rubrik.isEmpty())
                r.rubrik = QStringLiteral("Lebenshaltung");
        const qint64 wait = startAt - QDateTime::currentMSecsSinceEpoch();
        if (wait > 0)
            QThread::msleep(static_cast<unsigned long>(wait));
        const StatementImport::Result r = StatementImport::store(db, 1, rows);
        std::printf("%d\n", r.stored);
    } catch (const AppError &e) {
        std::fprintf(stderr, "%s\n", e.message().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
