// The same work on the database file and on the PostgreSQL server, each next to the raw
// driver query of the same rows in the same run: a DataSet walk over 100,000 household-book
// rows, and saving a budget item with its rollup over 2,000 items. The server run needs
// FINORRA_TEST_PG ("host=… port=… user=…"); `make bench` starts a throw-away server for it.
#include "BenchTiming.h"
#include "budget/rules/BudgetHandlers.h"
#include "data/DataModules.h"
#include "data/DataSet.h"

#include <QCoreApplication>
#include <QDate>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <cstdio>
#include <optional>

namespace {

constexpr int Rows = 100000;
constexpr int Items = 2000;
constexpr int Batch = 500;

void fill(Database &db)
{
    db.transaction([&db] {
        const QStringList rubriken = {QStringLiteral("Einkommen"), QStringLiteral("Lebenshaltung"),
                                      QStringLiteral("Wohnkosten"), QStringLiteral("Verkehrskosten")};
        for (int start = 0; start < Rows; start += Batch) {
            TranslatedSql sql;
            QVariantList values;
            QStringList rows;
            for (int i = start; i < start + Batch; ++i) {
                rows << QStringLiteral("(1, ?, ?, ?, ?, ?)");
                values << QDate(2020, 1, 1).addDays(i % 1800) << rubriken.at(i % 4)
                       << (i % 3 ? QStringLiteral("Konto") : QStringLiteral("Bar")) << (i % 5000) / 100.0 + 0.99
                       << QStringLiteral("Buchung Nummer %1").arg(i);
            }
            sql.sql = QStringLiteral("insert into hhbuch (Hhplan_id, Buchdat, Rubrik, Rubdet, Betrag, RubText) values ")
                      + rows.join(u',');
            db.execBound(sql, values, true);
        }
        db.exec(QStringLiteral("insert into budget (BudTitel, User_id) values ('Plan', 1)"));
        for (int start = 0; start < Items; start += Batch) {
            TranslatedSql sql;
            QVariantList values;
            QStringList rows;
            for (int i = start; i < start + Batch; ++i) {
                rows << QStringLiteral("(1, ?, ?, ?, 'monatlich')");
                values << QStringLiteral("Posten %1").arg(i) << 10.0 + i % 97 << QStringLiteral("%1").arg(i % 12 + 1, 2, 10, QChar(u'0'));
            }
            sql.sql = QStringLiteral("insert into bud_lebenshaltung (Bud_id, Lk_Bez, Lk_Betrag, Lk_Monat, Lk_Zahlung) values ")
                      + rows.join(u',');
            db.execBound(sql, values, true);
        }
    });
}

double rawRead(const Database &db, const QString &sql)
{
    double sum = 0;
    QSqlQuery q(db.connection());
    q.setForwardOnly(qEnvironmentVariableIsEmpty("RAWSCROLL"));
    if (!q.exec(sql))
        qFatal("%s", qPrintable(q.lastError().text()));
    const int columns = q.record().count();
    while (q.next())
        for (int c = 0; c < columns; ++c)
            sum += q.value(c).isNull() ? 0 : 1;
    return sum;
}

void run(DataModules &dm, const char *label)
{
    fill(dm.db);
    new BudgetHandlers(*dm.dmHh, *dm.dmMP);
    dm.dmMP->lookupUser(QStringLiteral("sb"));

    const QString walkSql = QStringLiteral("select * from hhbuch where hhplan_id = 1 order by buchdat");
    const double raw = BenchTiming::bestOf(3, [&] { rawRead(dm.db, walkSql); });
    const double walk = BenchTiming::bestOf(3, [&] {
        DataSet ds(&dm.db, QStringLiteral("qrHhbuch"));
        ds.setSql(QStringLiteral("select * from hhbuch where hhplan_id = :id order by buchdat"));
        ds.setParam(QStringLiteral("id"), 1);
        ds.open();
        double sum = 0;
        for (ds.first(); !ds.eof(); ds.next())
            for (int i = 0; i < ds.fields().size(); ++i)
                sum += ds.value(i).isNull() ? 0 : 1;
        if (sum == 0)
            std::abort();
    });

    TdmHh &hh = *dm.dmHh;
    hh.qrBudget->open();
    DataSet *lk = hh.qrBudLebenshaltung;
    lk->open();
    const double itemsRaw = BenchTiming::bestOf(10, [&] {
        rawRead(dm.db, QStringLiteral("select * from bud_lebenshaltung where bud_id = 1"));
    });
    // What a save with rollup has to do at least, straight on the driver: write the item,
    // read the plan's items, write the plan's sum, in one transaction.
    int rawRound = 0;
    const double rawSave = BenchTiming::bestOf(10, [&] {
        QSqlQuery q(dm.db.connection());
        q.exec(QStringLiteral("BEGIN"));
        ++rawRound;
        q.exec(QStringLiteral("update bud_lebenshaltung set Lk_Betrag = %1 where Lk_id = %2").arg(30 + rawRound).arg(rawRound % Items + 1));
        const double n = rawRead(dm.db, QStringLiteral("select * from bud_lebenshaltung where bud_id = 1"));
        q.exec(QStringLiteral("update budget set Sum_Lk = %1 where Bud_id = 1").arg(n));
        q.exec(QStringLiteral("COMMIT"));
    });
    // The raw rounds changed the plan and items behind the data sets' backs, as another
    // program would: a save on what they read before is refused, so they read anew first.
    hh.qrBudget->reopen();
    lk->reopen();
    int round = 0;
    const double save = BenchTiming::bestOf(10, [&] {
        lk->moveTo(++round % Items);
        lk->edit();
        lk->setValue(QStringLiteral("Lk_Betrag"), 20.0 + round);
        lk->post();   // the rollup adds up all items and posts the plan
    });
    std::printf("%s:\n", label);
    std::printf("  DataSet walk over %d hhbuch rows %8.1f ms, raw driver query %8.1f ms, ratio %.2f\n", Rows, walk, raw,
                walk / raw);
    std::printf("  save one budget item with rollup %8.2f ms; raw: read of its %d items %6.2f ms, ratio %.2f; "
                "update + read + plan update in one transaction %6.2f ms, ratio %.2f\n",
                save, Items, itemsRaw, save / itemsRaw, rawSave, save / rawSave);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    {
        QTemporaryDir dir;
        DataModules dm;
        dm.db.open(dir.path());
        run(dm, "SQLite-Datei");
    }

    const QString spec = qEnvironmentVariable("FINORRA_TEST_PG");
    if (spec.isEmpty()) {
        std::printf("PostgreSQL: kein Server (FINORRA_TEST_PG ist nicht gesetzt), übersprungen\n");
        return 0;
    }
    ServerSettings s;
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
    s.database = QStringLiteral("finorra_bench_%1").arg(QCoreApplication::applicationPid());
    auto admin = [&s](const QString &sql) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("bench-admin"));
        db.setHostName(s.host);
        db.setPort(s.port);
        db.setUserName(s.user);
        db.setDatabaseName(QStringLiteral("postgres"));
        if (!db.open() || !QSqlQuery(db).exec(sql))
            qFatal("%s", qPrintable(db.lastError().text()));
        db.close();
    };
    admin(QStringLiteral("CREATE DATABASE %1").arg(s.database));
    {
        DataModules dm;
        dm.db.openServer(s);
        run(dm, "PostgreSQL-Server (127.0.0.1)");
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-admin"));
    admin(QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(s.database));
    QSqlDatabase::removeDatabase(QStringLiteral("bench-admin"));
    return 0;
}
