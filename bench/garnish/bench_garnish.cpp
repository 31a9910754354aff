// Generating the garnishment table in force (329 rows) as "Tabelle initilisieren" does,
// through the table query, next to a plain bulk insert of the same rows in one transaction
// in the same run. Both empty the table first.
#include "BenchTiming.h"
#include "data/DataModules.h"
#include "data/FirstStartData.h"
#include "garnish/rules/Garnishment.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int Rounds = 15;

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    DataModules dm;
    dm.db.open(dir.path());
    TdmExtras &ex = *dm.dmExtras;
    ex.qrPfand->open();

    const QVector<GarnishmentRow> rows = GarnishmentGrid::rows(FirstStartData::garnishmentBase2026());
    const double bulk = BenchTiming::bestOf(Rounds, [&] {
        dm.db.transaction([&] {
            dm.db.exec(QStringLiteral("delete from pfaendung"));
            QSqlQuery insert(dm.db.connection());
            insert.prepare(QStringLiteral("insert into pfaendung (NettoVon, NettoBis, Pfand0, Pfand1, Pfand2, Pfand3, "
                                          "Pfand4, Pfand5) values (?, ?, ?, ?, ?, ?, ?, ?)"));
            for (const GarnishmentRow &r : rows) {
                insert.bindValue(0, r.nettoVon.toDouble());
                insert.bindValue(1, r.nettoBis.toDouble());
                for (int k = 0; k <= 5; ++k)
                    insert.bindValue(k + 2, r.pfand[k].toDouble());
                insert.exec();
            }
        });
    });
    const double dataSet = BenchTiming::bestOf(Rounds, [&] { BuildGarnishmentTable(*ex.qrPfand, *ex.qrPfaendung, *ex.tbPfaendung); });
    const int stored = dm.db.scalar(QStringLiteral("select count(*) from pfaendung")).toInt();

    std::printf("Garnishment table of %d rows, emptied and generated (best of %d):\n", stored, Rounds);
    std::printf("  plain bulk insert, one transaction  %7.2f ms\n", bulk);
    std::printf("  through the table query             %7.2f ms  ratio %.1f (goal <= 5)\n", dataSet, dataSet / bulk);
    return stored == static_cast<int>(rows.size()) ? 0 : 1;
}
