// Two plans with 2,000 items in one category, with the real Budget page shown (offscreen):
// saving one item (with the category rollup) and switching between the plans, next to one
// plain SELECT of those rows in the same run.
#include "budget/BudgetModule.h"
#include "BenchTiming.h"
#include "data/DataModules.h"

#include <QApplication>
#include <QTabWidget>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

constexpr int Items = 2000;
constexpr int Rounds = 15;

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    DataModules dm;
    dm.db.open(dir.path());
    BudgetModule module(dm);
    dm.db.transaction([&dm] {
        const QStringList rhythms = {QStringLiteral("monatlich"), QStringLiteral("vierteljährlich"), QStringLiteral("jährlich")};
        for (int plan = 1; plan <= 2; ++plan) {
            dm.db.exec(QStringLiteral("insert into budget (BudTitel, User_id) values ('Plan %1', 1)").arg(plan));
            QSqlQuery q(dm.db.connection());
            q.prepare(QStringLiteral("insert into bud_lebenshaltung (Bud_id, Lk_Bez, Lk_Betrag, Lk_Monat, Lk_Zahlung) "
                                     "values (?, ?, ?, ?, ?)"));
            for (int i = 0; i < Items; ++i) {
                q.addBindValue(plan);
                q.addBindValue(QStringLiteral("Posten %1").arg(i));
                q.addBindValue(10.0 + i % 97);
                q.addBindValue(QStringLiteral("%1").arg(i % 12 + 1, 2, 10, QChar(u'0')));
                q.addBindValue(rhythms.at(i % 3));
                q.exec();
            }
        }
    });
    dm.dmMP->lookupUser(QStringLiteral("sb"));
    TdmHh &hh = *dm.dmHh;
    std::unique_ptr<QWidget> page(module.createPage(nullptr));
    page->resize(1280, 800);
    page->show();
    module.activate();
    // The living-costs list is the one on screen.
    if (auto *tabs = page->findChild<QTabWidget *>(QStringLiteral("pghhdet")))
        tabs->setCurrentWidget(page->findChild<QWidget *>(QStringLiteral("tabLk")));
    QApplication::processEvents();

    const double select = BenchTiming::bestOf(Rounds, [&dm] {
        QSqlQuery q(dm.db.connection());
        q.setForwardOnly(true);
        q.exec(QStringLiteral("select * from bud_lebenshaltung where bud_id = 1"));
        int n = 0;
        while (q.next())
            for (int c = 0; c < 7; ++c)
                n += q.value(c).isNull() ? 0 : 1;
        if (n == 0)
            std::abort();
    });

    DataSet *lk = hh.qrBudLebenshaltung;
    int round = 0;
    const double save = BenchTiming::bestOf(Rounds, [&] {
        lk->moveTo(++round % Items);
        lk->edit();
        lk->setValue(QStringLiteral("Lk_Betrag"), 20.0 + round);
        lk->post();   // the rollup adds up all 2,000 items and posts the plan
        QApplication::processEvents();   // and the page shows it
    });

    const double sw = BenchTiming::bestOf(Rounds, [&] {
        hh.qrBudget->currentRow() == 0 ? hh.qrBudget->next() : hh.qrBudget->prior();
        // What the list shows: every row with its monthly amount.
        double sum = 0;
        for (int r = 0; r < lk->recordCount(); ++r)
            sum += lk->valueAt(r, lk->fieldIndex(QStringLiteral("Monat"))).toDouble();
        if (sum <= 0)
            std::abort();
        QApplication::processEvents();
    });

    std::printf("Budget plan with %d items in one category, page shown (best of %d):\n", Items, Rounds);
    std::printf("  plain SELECT of the rows     %7.2f ms\n", select);
    std::printf("  save one item (with rollup)  %7.2f ms  ratio %.1f (goal < 20 ms and <= 10)\n", save, save / select);
    std::printf("  switch to the other plan     %7.2f ms  ratio %.1f (goal < 50 ms and <= 20)\n", sw, sw / select);
    return 0;
}
