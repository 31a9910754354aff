#include "support/TempDatabase.h"

#include "budget/BudgetChartTab.h"
#include "budget/BudgetPage.h"
#include "budget/rules/BudgetChartData.h"
#include "budget/rules/BudgetHandlers.h"
#include "data/DataModules.h"
#include "ui/ScriptedDialogs.h"
#include "ui/charts/ChartPanel.h"
#include "ui/charts/ChartScale.h"

#include <QBarSet>
#include <QChart>
#include <QImage>
#include <QLineSeries>
#include <QPieSeries>
#include <QStackedBarSeries>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace {

using Values = QHash<QString, double>;

BudgetChartData fromValues(const Values &values)
{
    return BudgetChartData::fromValues([&](const QString &name) {
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            if (it.key().compare(name, Qt::CaseInsensitive) == 0)
                return QVariant(it.value());
        return QVariant();
    });
}

QStringList sliceNames(const BudgetChartData &d)
{
    QStringList names;
    for (const auto &s : d.shares)
        names << QStringLiteral("%1=%2").arg(s.name).arg(s.percent, 0, 'f', 1);
    return names;
}

QList<qreal> values(const QBarSet *set)
{
    QList<qreal> v;
    for (int i = 0; i < set->count(); ++i)
        v << set->at(i);
    return v;
}

} // namespace

class TestBudgetCharts : public QObject
{
    Q_OBJECT

private slots:
    void niceTicks_data()
    {
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::addColumn<QVector<double>>("ticks");
        QTest::newRow("Einkommen") << 0.0 << 2350.0 << QVector<double>{0, 500, 1000, 1500, 2000, 2500};
        QTest::newRow("beide Seiten") << -1730.0 << 2000.0 << QVector<double>{-2000, -1000, 0, 1000, 2000};
        QTest::newRow("nur Ausgaben") << -90.0 << -10.0 << QVector<double>{-100, -80, -60, -40, -20, 0};
        QTest::newRow("leer") << 0.0 << 0.0 << QVector<double>{0, 20, 40, 60, 80, 100};
        QTest::newRow("Cent") << 0.0 << 0.9 << QVector<double>{0, 0.2, 0.4, 0.6, 0.8, 1};
    }
    void niceTicks()
    {
        QFETCH(double, low);
        QFETCH(double, high);
        QFETCH(QVector<double>, ticks);
        const QVector<double> got = ChartScale::ticks(low, high, 6);
        QCOMPARE(got.size(), ticks.size());
        for (qsizetype i = 0; i < got.size(); ++i)
            QVERIFY2(qAbs(got[i] - ticks[i]) < 1e-9, qPrintable(QString::number(got[i])));
    }

    void monthsSharesAndNet()
    {
        Values v{{"Sum_Ek", 2000}, {"Sum_Wk", 800}, {"Sum_Lk", 500}, {"Sum_Sk", 100}};
        for (int m = 1; m <= 12; ++m) {
            const QString mm = QStringLiteral("%1").arg(m, 2, 10, QChar('0'));
            v["Eksum" + mm] = 2000;
            v["Wksum" + mm] = 800;
            v["Lksum" + mm] = 500;
        }
        v["Sksum06"] = 1200.10;   // a yearly instalment due in June
        v["Eksum12"] = 3000;      // Christmas bonus
        const BudgetChartData d = fromValues(v);
        QCOMPARE(d.spending.size(), 7);
        QCOMPARE(d.spending.first().name, QStringLiteral("Wohnkosten"));
        QCOMPARE(d.net[0], Money::fromCents(70000));
        QCOMPARE(d.net[5], Money::fromCents(-50010));
        QCOMPARE(d.net[11], Money::fromCents(170000));
        QCOMPARE(d.range(), std::make_pair(Money::fromCents(-250010), Money::fromCents(300000)));
        QCOMPARE(sliceNames(d), QStringList({"Wohnkosten=40.0", "Lebenshaltung=25.0", "Sonstige Kredite=5.0",
                                              "Frei verfügbar=30.0"}));
        QVERIFY(!d.isEmpty());
    }

    void sharesWithoutIncomeOrBeyondIt()
    {
        // Without income there are no shares (no division by zero, no "inf %").
        const BudgetChartData none = fromValues({{"Sum_Wk", 800}});
        QVERIFY(none.shares.isEmpty());
        // Spending beyond the income: every cost keeps its share, nothing is free.
        const BudgetChartData over = fromValues({{"Sum_Ek", 1000}, {"Sum_Wk", 800}, {"Sum_Hk", 400}});
        QCOMPARE(sliceNames(over), QStringList({"Wohnkosten=80.0", "Hauskredite=40.0"}));
        QVERIFY(fromValues({}).isEmpty());
    }

    void tabFollowsSavedItemsAndSavesAPicture()
    {
        TempDatabase tmp;
        {
            auto db = tmp.connect();
            db->exec("insert into budget (BudTitel, User_id) values ('Familie Muster', 1)");
        }
        DataModules dm;
        tmp.openIn(dm.db);
        new BudgetHandlers(*dm.dmHh, *dm.dmMP);
        QVERIFY(dm.dmMP->lookupUser("sb"));
        ScriptedDialogs dialogs;
        BudgetPage page(dm);
        page.resize(1200, 800);
        page.show();
        dm.dmHh->qrBudget->reopen();
        for (DataSet *q : dm.dmHh->budgetItemQueries())
            q->reopen();

        auto *tabs = page.findChild<QTabWidget *>("pghhdet");
        auto *tab = page.findChild<BudgetChartTab *>("budGrafik");
        QCOMPARE(tabs->tabText(tabs->indexOf(tab)), QStringLiteral("Grafik"));
        tabs->setCurrentWidget(tab);
        auto *months = page.findChild<ChartPanel *>("budGrafikMonate");
        auto *shares = page.findChild<ChartPanel *>("budGrafikAnteile");
        QCOMPARE(months->note(), QStringLiteral("Der Plan hat noch keine Beträge."));

        DataSet *income = dm.dmHh->qrBudEinkommen;
        income->append();
        income->setValue("Ek_bez", "Lohn");
        income->setValue("Ek_Betrag", 2000.0);
        income->setValue("Ek_zahlung", "monatlich");
        income->post();
        DataSet *rent = dm.dmHh->qrBudWohnkosten;
        rent->append();
        rent->setValue("Wk_bez", "Miete");
        rent->setValue("Wk_Betrag", 500.0);
        rent->setValue("Wk_Zahlung", "monatlich");
        rent->post();
        QCoreApplication::processEvents();

        auto *bars = qobject_cast<QStackedBarSeries *>(months->chart()->series().value(0));
        QVERIFY(bars);
        QCOMPARE(bars->barSets().value(0)->label(), QStringLiteral("Einkommen"));
        QCOMPARE(values(bars->barSets().value(0)), QList<qreal>(12, 2000.0));
        QCOMPARE(bars->barSets().value(1)->label(), QStringLiteral("Wohnkosten"));
        QCOMPARE(values(bars->barSets().value(1)), QList<qreal>(12, -500.0));
        auto *net = qobject_cast<QLineSeries *>(months->chart()->series().value(1));
        QCOMPARE(net->name(), QStringLiteral("Saldo"));
        QCOMPARE(net->at(6).y(), 1500.0);
        QVERIFY(months->note().isEmpty());
        auto *donut = qobject_cast<QPieSeries *>(shares->chart()->series().value(0));
        QCOMPARE(donut->count(), 2);
        QCOMPARE(donut->slices().value(0)->label(), QStringLiteral("25,0 %"));

        QTemporaryDir out;
        dialogs.answer(out.filePath("budget-grafik"));
        page.findChild<QToolButton *>("budGrafikMonateSpeichern")->click();
        QImage image(out.filePath("budget-grafik.png"));
        QVERIFY(!image.isNull());
        QVERIFY(image.width() >= 300);
        dialogs.answer(out.filePath("fehlt/bild.png"));
        page.findChild<QToolButton *>("budGrafikMonateSpeichern")->click();
        QCOMPARE(dialogs.lastText(), QStringLiteral("Das Bild konnte nicht unter %1 gespeichert werden.\rBitte prüfen "
                                                    "Sie, ob der Ordner existiert und Sie dort schreiben dürfen.")
                                         .arg(out.filePath("fehlt/bild.png")));
        // Cancelled: nothing written, nothing said.
        dialogs.clear();
        dialogs.answer(QString());
        page.findChild<QToolButton *>("budGrafikAnteileSpeichern")->click();
        QCOMPARE(dialogs.texts(), QStringList{"Grafik als Bild speichern"});
    }
};

QTEST_MAIN(TestBudgetCharts)
#include "tst_budgetcharts.moc"
