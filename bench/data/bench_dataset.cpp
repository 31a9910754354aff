// Opens a DataSet over 100,000 household-book rows and walks it, next to a plain
// QSqlQuery loop over the same rows in the same run; prints both, their ratio and the
// memory the data set holds.
#include "data/DataSet.h"
#include "data/Database.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

namespace {

long statusKb(const char *key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(static_cast<int>(qstrlen(key))).trimmed().split(' ').first().toLong();
    return 0;
}

constexpr int Rows = 100000;
const char *const kSql = "select * from hhbuch where hhplan_id = :hhplan_id order by buchdat";

double plainQuery(Database &db, double *checksum)
{
    QElapsedTimer t;
    t.start();
    QSqlQuery q(db.connection());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("select * from hhbuch where hhplan_id = ? order by buchdat"));
    q.addBindValue(1);
    q.exec();
    double sum = 0;
    while (q.next()) {
        for (int i = 0; i < 7; ++i) {
            const QVariant v = q.value(i);
            if (i == 5)
                sum += v.toDouble();
        }
    }
    *checksum = sum;
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

double dataSetWalk(Database &db, double *checksum, long *heldKb)
{
    const long before = statusKb("VmRSS:");
    QElapsedTimer t;
    t.start();
    DataSet ds(&db, QStringLiteral("qrHhbuch"));
    ds.setSql(QString::fromLatin1(kSql));
    ds.setParam(QStringLiteral("hhplan_id"), 1);
    ds.open();
    const int betrag = ds.fieldIndex(QStringLiteral("Betrag"));
    double sum = 0;
    for (ds.first(); !ds.eof(); ds.next()) {
        for (int i = 0; i < ds.fields().size(); ++i) {
            const QVariant v = ds.value(i);
            if (i == betrag)
                sum += v.toDouble();
        }
    }
    const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
    *heldKb = statusKb("VmRSS:") - before;
    *checksum = sum;
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    Database db;
    db.open(dir.path());
    db.transaction([&db] {
        const QStringList rubriken = {QStringLiteral("Einkommen"), QStringLiteral("Lebenshaltung"),
                                      QStringLiteral("Wohnkosten"), QStringLiteral("Verkehrskosten")};
        QSqlQuery q(db.connection());
        q.prepare(QStringLiteral("insert into hhbuch (Hhplan_id, Buchdat, Rubrik, Rubdet, Betrag, RubText) "
                                 "values (1, ?, ?, ?, ?, ?)"));
        for (int i = 0; i < Rows; ++i) {
            q.addBindValue(QDate(2020, 1, 1).addDays(i % 1800).toString(Qt::ISODate));
            q.addBindValue(rubriken.at(i % 4));
            q.addBindValue(i % 3 ? QStringLiteral("Konto") : QStringLiteral("Bar"));
            q.addBindValue((i % 5000) / 100.0 + 0.99);
            q.addBindValue(QStringLiteral("Buchung Nummer %1").arg(i));
            q.exec();
        }
    });

    // Warm the page cache once so both runs read from memory.
    double warm = 0;
    plainQuery(db, &warm);

    double best[2] = {1e18, 1e18};
    double sums[2] = {0, 0};
    long heldKb = 0;
    for (int round = 0; round < 3; ++round) {
        long held = 0;
        best[0] = std::min(best[0], plainQuery(db, &sums[0]));
        best[1] = std::min(best[1], dataSetWalk(db, &sums[1], &held));
        heldKb = std::max(heldKb, held);   // later rounds reuse the pages the first one freed
    }
    if (sums[0] != sums[1]) {
        std::fprintf(stderr, "checksums differ: %f vs %f\n", sums[0], sums[1]);
        return 1;
    }
    const double ratio = best[1] / best[0];
    std::printf("DataSet over %d hhbuch rows: open + walk %.1f ms, plain QSqlQuery loop %.1f ms, ratio %.2f (goal <= 2.0)\n",
                Rows, best[1], best[0], ratio);
    std::printf("memory held by the open DataSet: %.1f MB; peak of the whole process %.1f MB (goal < 150 MB)\n",
                static_cast<double>(heldKb) / 1024.0, static_cast<double>(statusKb("VmHWM:")) / 1024.0);
    return 0;
}
