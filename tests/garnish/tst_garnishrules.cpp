#include "GarnishFixture.h"

#include "budget/rules/BudgetHandlers.h"
#include "core/AppError.h"
#include "data/FirstStartData.h"
#include "data/Schema.h"
#include "garnish/rules/Garnishment.h"
#include "garnish/rules/PublishedAmounts.h"

#include <QSqlDatabase>
#include <QTest>

using Rows = QVector<GarnishmentRow>;
Q_DECLARE_METATYPE(GarnishmentBase)
Q_DECLARE_METATYPE(Rows)

namespace {

// (NettoVon, NettoBis, Pfand0, Pfand1); columns 2 to 5 stay 0,00 in the worked example.
GarnishmentRow row(double von, double bis, double p0, double p1)
{
    GarnishmentRow r;
    r.nettoVon = eur(von);
    r.nettoBis = eur(bis);
    r.pfand[0] = eur(p0);
    r.pfand[1] = eur(p1);
    return r;
}

QString describe(const Rows &rows)
{
    QStringList out;
    for (const GarnishmentRow &r : rows) {
        QStringList cells{QString::number(r.nettoVon.toDouble(), 'f', 2), QString::number(r.nettoBis.toDouble(), 'f', 2)};
        for (Money p : r.pfand)
            cells << QString::number(p.toDouble(), 'f', 2);
        out << cells.join(u' ');
    }
    return out.join(u'\n');
}

// The notice of 2005, whose table the fixed limits 990,00 / 3.020,06 came from.
const PublishedAmounts Notice2005{eur(985.15), eur(370.76), eur(206.56), eur(3020.06)};
const PublishedAmounts Notice2026{eur(1587.40), eur(597.42), eur(332.83), eur(4866.30)};

} // namespace

class TestGarnishRules : public QObject
{
    Q_OBJECT

private slots:
    void generation_data()
    {
        QTest::addColumn<GarnishmentBase>("base");
        QTest::addColumn<Rows>("expected");
        const GarnishmentBase ex = GarnishFixture::example();
        QTest::newRow("worked example") << ex
                                        << Rows{row(0, 989.99, 0, 0), row(990, 999.99, 3.40, 0),
                                                row(1000, 1009.99, 10.40, 1.00), row(1010, 1020.06, 17.40, 3.00)};
        GarnishmentBase b = ex;
        b.netto[0] = eur(1000);
        QTest::newRow("column 0 starts later: its step, never its smallest amount")
            << b << Rows{row(0, 989.99, 0, 0), row(990, 999.99, 0, 0), row(1000, 1009.99, 7, 1), row(1010, 1020.06, 14, 3)};
        for (double start : {995.0, 990.0}) {
            b = ex;
            b.netto[1] = eur(start);
            QTest::addRow("column 1 starting at %.2f (never met from row 3 on)", start)
                << b << Rows{row(0, 989.99, 0, 0), row(990, 999.99, 3.40, 0), row(1000, 1009.99, 10.40, 2), row(1010, 1020.06, 17.40, 4)};
        }
        b = ex;
        b.vonEnde = eur(990);
        QTest::newRow("end equal to start: two rows, the last reaching the end of Netto bis")
            << b << Rows{row(0, 989.99, 0, 0), row(990, 1020.06, 3.40, 0)};
        b = ex;
        b.vonEnde = Money();
        QTest::newRow("end 0: one row") << b << Rows{row(0, 1020.06, 0, 0)};
        QTest::newRow("no base values at all: one empty row") << GarnishmentBase{} << Rows{row(0, 0, 0, 0)};
    }

    // Through the window's query, with the values typed but not stored, replacing the
    // table of a new file.
    void generation()
    {
        QFETCH(GarnishmentBase, base);
        QFETCH(Rows, expected);
        GarnishFixture f;
        if (base == GarnishmentBase{}) {
            f.dm.db.exec(QStringLiteral("delete from Pfand"));
            f.ex().qrPfand->open();
        } else {
            f.typeBase(base);
        }
        BuildGarnishmentTable(*f.ex().qrPfand, *f.ex().qrPfaendung, *f.ex().tbPfaendung);
        QCOMPARE(describe(f.storedRows()), describe(expected));
        // The keys are numbered from 1 again, in the order of the rows.
        QCOMPARE(f.dm.db.scalar(QStringLiteral("select min(Pfand_id) from pfaendung")).toInt(), 1);
        QCOMPARE(f.ex().qrPfaendung->recordCount(), expected.size());
    }

    void refusals_data()
    {
        QTest::addColumn<GarnishmentBase>("base");
        QTest::addColumn<QString>("message");
        const QString unchanged = QStringLiteral("\rDie Pfändungstabelle wurde nicht verändert.");
        GarnishmentBase b = GarnishFixture::example();
        b.vonEnde = eur(1015);
        QTest::newRow("end off the step grid")
            << b << QStringLiteral("Der „Netto von – Schlusswert“ (1.015,00\u00a0€) wird vom „Netto von – Anfangswert“ "
                                   "(990,00\u00a0€) in Schritten von 10,00\u00a0€ nicht genau erreicht.\rPassende "
                                   "Schlusswerte wären zum Beispiel 1.010,00\u00a0€ oder 1.020,00\u00a0€.") + unchanged;
        b = GarnishFixture::example();
        b.vonIntervall = Money();
        QTest::newRow("zero step") << b
                                   << QStringLiteral("Das „Netto von – Intervall“ muss größer als 0,00\u00a0€ sein; sonst "
                                                     "erreicht die Tabelle den „Netto von – Schlusswert“ nie.") + unchanged;
        b = GarnishFixture::example();
        b.vonEnde = eur(980);
        QTest::newRow("end below start")
            << b << QStringLiteral("Der „Netto von – Schlusswert“ (980,00\u00a0€) liegt unter dem „Netto von – "
                                   "Anfangswert“ (990,00\u00a0€); die Tabelle würde ihn nie erreichen.") + unchanged;
        b = GarnishFixture::example();
        b.intervall[3] = eur(-1);
        QTest::newRow("negative value")
            << b << QStringLiteral("Der Wert „Pfand 3 – Intervallschritt“ darf nicht negativ sein (-1,00\u00a0€).") + unchanged;
        b = GarnishFixture::example();
        b.vonIntervall = eur(0.01);
        b.vonEnde = eur(9000000);
        QTest::newRow("absurd row count")
            << b << QStringLiteral("Mit diesen Werten entstünden 899.901.002 Tabellenzeilen, möglich sind höchstens "
                                   "100.000.\rPrüfen Sie den „Netto von – Schlusswert“ und das „Netto von – Intervall“.") + unchanged;
        b = GarnishFixture::example();
        b.bisEnde = eur(1e9);
        QTest::newRow("absurd amount")
            << b << QStringLiteral("Der Wert „Netto bis – Schlusswert“ ist zu groß (1.000.000.000,00\u00a0€; höchstens "
                                   "10.000.000,00\u00a0€).") + unchanged;
    }

    // Refused before anything changes: the table of the new file stays as it was.
    void refusals()
    {
        QFETCH(GarnishmentBase, base);
        QFETCH(QString, message);
        GarnishFixture f;
        const QString before = describe(f.storedRows());
        f.typeBase(base);
        try {
            BuildGarnishmentTable(*f.ex().qrPfand, *f.ex().qrPfaendung, *f.ex().tbPfaendung);
            QFAIL("refused values were generated from");
        } catch (const UserWarning &e) {
            QCOMPARE(e.message(), message);
        }
        QCOMPARE(describe(f.storedRows()), before);
    }

    // A failure half-way leaves the old table whole, on disk and in the query.
    void failureHalfWayKeepsTheOldTable()
    {
        GarnishFixture f;
        const QString before = describe(f.storedRows());
        QCOMPARE(f.storedRows().size(), 329);
        f.typeBase(GarnishFixture::example());
        QVERIFY_THROWS_EXCEPTION(AppError, BuildGarnishmentTable(*f.ex().qrPfand, *f.ex().qrPfaendung, *f.ex().tbPfaendung,
                                                                 [](int done, int) {
                                                                     if (done == 3)
                                                                         throw AppError(QStringLiteral("Abbruch"));
                                                                 }));
        QCOMPARE(describe(f.storedRows()), before);
        QVERIFY(!f.ex().qrPfaendung->isOpen());
        QVERIFY(GarnishmentTableExists(*f.ex().qrPfaendung));
        f.dm.db.exec(QStringLiteral("delete from pfaendung"));
        QVERIFY(!GarnishmentTableExists(*f.ex().qrPfaendung));
        QVERIFY(!f.ex().qrPfaendung->isOpen());
    }

    void lookup_data()
    {
        QTest::addColumn<QString>("limits");   // base values: "example" or "2005"
        QTest::addColumn<double>("net");
        QTest::addColumn<int>("dependants");
        QTest::addColumn<bool>("found");
        QTest::addColumn<int>("currentRow");
        QTest::addColumn<QVariant>("amount");   // null: no amount (no column chosen)
        const QString ex = QStringLiteral("example"), moved = QStringLiteral("base values moved");
        QTest::newRow("in row 1") << ex << 500.0 << 0 << true << 0 << QVariant(0.0);
        QTest::newRow("row 2, no dependant") << ex << 995.0 << 0 << true << 1 << QVariant(3.40);
        QTest::newRow("row 2, one dependant") << ex << 995.0 << 1 << true << 1 << QVariant(0.0);
        QTest::newRow("row 2, seven: column 5") << ex << 995.0 << 7 << true << 1 << QVariant(0.0);
        QTest::newRow("row 2, negative: no column") << ex << 995.0 << -1 << true << 1 << QVariant();
        QTest::newRow("end of the last row") << ex << 1020.06 << 1 << true << 3 << QVariant(3.00);
        QTest::newRow("between rows 1 and 2") << ex << 989.995 << 0 << false << 0 << QVariant(0.0);
        QTest::newRow("negative income") << ex << -5.0 << 0 << false << 0 << QVariant(0.0);
        // Above the table the excess counts from one cent above its end, 1.020,06.
        QTest::newRow("one cent above the table") << ex << 1020.07 << 0 << false << 3 << QVariant(17.40);
        QTest::newRow("far above the table") << ex << 3100.0 << 0 << false << 3 << QVariant(2097.33);
        QTest::newRow("above, one dependant") << ex << 3100.0 << 1 << false << 3 << QVariant(2082.93);
        QTest::newRow("above, negative: nothing") << ex << 3100.0 << -1 << false << 3 << QVariant(0.0);
        // Base values saved with another end but no table built from them: the limits are still
        // those of the rows the lookup reads.
        QTest::newRow("moved: one cent above the table") << moved << 1020.07 << 0 << false << 3 << QVariant(17.40);
        QTest::newRow("moved: far above the table") << moved << 3100.0 << 0 << false << 3 << QVariant(2097.33);
        QTest::newRow("moved: between rows 1 and 2") << moved << 989.995 << 0 << false << 0 << QVariant(0.0);
    }

    void lookup()
    {
        QFETCH(QString, limits);
        QFETCH(double, net);
        QFETCH(int, dependants);
        QFETCH(bool, found);
        QFETCH(int, currentRow);
        QFETCH(QVariant, amount);
        GarnishFixture f;
        f.typeBase(GarnishFixture::example());
        f.ex().qrPfand->post();
        BuildGarnishmentTable(*f.ex().qrPfand, *f.ex().qrPfaendung, *f.ex().tbPfaendung);
        if (limits == u"base values moved")   // changing the base values does not change the table
            f.dm.db.exec(QStringLiteral("update Pfand set Nettobisende = 3020.06, Nettovonbeginn = 500"));
        DataSet &q = *f.ex().qrPfaendung;
        q.reopen();
        const GarnishmentResult r = GarnishableAmount(q, eur(net), dependants);
        QCOMPARE(r.found, found);
        QCOMPARE(q.currentRow(), currentRow);
        QCOMPARE(r.amount.has_value(), !amount.isNull());
        if (r.amount)
            QCOMPARE(*r.amount, eur(amount.toDouble()));
    }

    // The table a new file brings: above its cap every euro counts, from 4.866,31 on.
    void lookupIn2026Table_data()
    {
        QTest::addColumn<double>("net");
        QTest::addColumn<int>("dependants");
        QTest::addColumn<double>("amount");
        QTest::newRow("below") << 1589.99 << 0 << 0.0;
        QTest::newRow("first garnishing row") << 1595.0 << 0 << 1.82;
        QTest::newRow("one dependant starts") << 2195.0 << 1 << 2.59;
        QTest::newRow("last row") << 4866.30 << 0 << 2290.82;
        QTest::newRow("above the cap") << 5000.0 << 0 << 2424.51;
        QTest::newRow("above the cap, five") << 5000.0 << 5 << 268.08;   // 134,39 + 133,69
        // "Netto bis – Schlusswert" saved as 5.000 without building the table anew: the table
        // still ends at 4.866,30, and so does the lookup.
        QTest::newRow("end saved, table not rebuilt") << 4900.0 << 0 << 2324.51;
    }

    void lookupIn2026Table()
    {
        QFETCH(double, net);
        QFETCH(int, dependants);
        QFETCH(double, amount);
        GarnishFixture f;
        if (QByteArray(QTest::currentDataTag()).contains("not rebuilt"))
            f.dm.db.exec(QStringLiteral("update Pfand set Nettobisende = 5000"));
        f.ex().qrPfaendung->open();
        const GarnishmentResult r = GarnishableAmount(*f.ex().qrPfaendung, eur(net), dependants);
        QVERIFY(r.amount);
        QCOMPARE(*r.amount, eur(amount));
    }

    // The table is compared with what the stored base values generate, not with the values
    // typed but not saved; with nothing on one side there is nothing to disagree.
    void tableMatchesBase()
    {
        GarnishFixture f;
        QVERIFY(garnishmentTableMatchesBase(f.dm.db));
        f.dm.db.exec(QStringLiteral("update Pfand set Nettobisende = 5000"));
        QVERIFY(!garnishmentTableMatchesBase(f.dm.db));
        f.dm.db.exec(QStringLiteral("update Pfand set Nettobisende = 4866.30, Pfand3intervall = 3.5"));
        QVERIFY(!garnishmentTableMatchesBase(f.dm.db));
        f.dm.db.exec(QStringLiteral("update Pfand set Nettovonintervall = 0"));   // cannot be generated from
        QVERIFY(!garnishmentTableMatchesBase(f.dm.db));

        f.typeBase(GarnishFixture::example());
        QVERIFY(!garnishmentTableMatchesBase(f.dm.db));   // typed only
        f.ex().qrPfand->post();
        QVERIFY(!garnishmentTableMatchesBase(f.dm.db));
        BuildGarnishmentTable(*f.ex().qrPfand, *f.ex().qrPfaendung, *f.ex().tbPfaendung);
        QVERIFY(garnishmentTableMatchesBase(f.dm.db));

        f.dm.db.exec(QStringLiteral("delete from pfaendung"));
        f.dm.db.exec(QStringLiteral("update Pfand set Nettobisende = 5000"));
        QVERIFY(garnishmentTableMatchesBase(f.dm.db));
        f.dm.db.exec(QStringLiteral("delete from Pfand"));
        QVERIFY(garnishmentTableMatchesBase(f.dm.db));
    }

    // What a new file holds, and what the notice of 2026 gives: the same values.
    void firstStartAndNotice2026()
    {
        GarnishFixture f;
        DataSet &p = *f.ex().qrPfand;
        p.open();
        QCOMPARE(p.recordCount(), 1);
        QCOMPARE(p.asDate(QStringLiteral("Stand")), QDate(2026, 7, 1));
        const QList<std::pair<const char *, double>> expected = {
            {"Nettovonbeginn", 1590.00}, {"Nettovonende", 4860.00}, {"Nettovonintervall", 10.00},
            {"Nettobisbeginn", 1589.99}, {"Nettobisende", 4866.30}, {"Nettobisintervall", 10.00},
            {"Pfand0Netto", 1590.00},    {"Pfand0beginn", 1.82},    {"Pfand0intervall", 7.00},
            {"Pfand1Netto", 2190.00},    {"Pfand1beginn", 2.59},    {"Pfand1intervall", 5.00},
            {"Pfand2Netto", 2520.00},    {"Pfand2beginn", 0.94},    {"Pfand2intervall", 4.00},
            {"Pfand3Netto", 2860.00},    {"Pfand3beginn", 2.86},    {"Pfand3intervall", 3.00},
            {"Pfand4Netto", 3190.00},    {"Pfand4beginn", 1.34},    {"Pfand4intervall", 2.00},
            {"Pfand5Netto", 3520.00},    {"Pfand5beginn", 0.39},    {"Pfand5intervall", 1.00}};
        const GarnishmentBase derived = Notice2026.baseValues();
        for (const auto &[column, value] : expected) {
            const QString c = QString::fromLatin1(column);
            QCOMPARE(p.asMoney(c), eur(value));
            QCOMPARE(derived.valueOf(c), eur(value));
        }
        QCOMPARE(describe(f.storedRows()), describe(GarnishmentGrid::rows(derived)));
        QCOMPARE(f.storedRows().size(), 329);
    }

    void noticeRefusals()
    {
        PublishedAmounts n = Notice2026;
        n.furtherDependant = eur(-1);
        QVERIFY_THROWS_EXCEPTION(UserWarning, n.baseValues());
        n = Notice2026;
        n.cap = eur(1500);
        try {
            n.baseValues();
            QFAIL("a cap below the start was taken");
        } catch (const UserWarning &e) {
            QCOMPARE(e.message(), QStringLiteral("Der „Höchstbetrag (K)“ (1.500,00\u00a0€) liegt unter dem Beginn der "
                                                 "Pfändung (1.590,00\u00a0€)."));
        }
    }

    // A file from before the shipped table gets it; one with values of its own keeps them.
    void migration_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("baseRows");
        QTest::addColumn<int>("tableRows");
        QTest::addColumn<double>("vonBeginn");
        QTest::newRow("empty tables") << QStringLiteral("") << 1 << 329 << 1590.0;
        QTest::newRow("own base values")
            << QStringLiteral("insert into Pfand (Nettovonbeginn, Nettovonende) values (990, 3020)") << 1 << 0 << 990.0;
        QTest::newRow("own table without base values")
            << QStringLiteral("insert into pfaendung (NettoVon, NettoBis, Pfand0) values (0, 989.99, 0)") << 0 << 1 << 0.0;
    }

    void migration()
    {
        QFETCH(QString, before);
        QFETCH(int, baseRows);
        QFETCH(int, tableRows);
        QFETCH(double, vonBeginn);
        TempDatabase tmp;
        {
            auto db = tmp.connect();
            db->transaction([&] {
                db->exec(QStringLiteral("delete from Pfand"));
                db->exec(QStringLiteral("delete from pfaendung"));
                if (!before.isEmpty())
                    db->exec(before);
                db->exec(TempDatabase::setVersionSql(1));
            });
            db->close();
        }
        auto db = tmp.connect();
        QCOMPARE(db->schemaVersion(), Schema::Version);
        QCOMPARE(db->scalar(QStringLiteral("select count(*) from Pfand")).toInt(), baseRows);
        QCOMPARE(db->scalar(QStringLiteral("select count(*) from pfaendung")).toInt(), tableRows);
        if (baseRows)
            QCOMPARE(db->scalar(QStringLiteral("select Nettovonbeginn from Pfand")).toDouble(), vonBeginn);
    }

    void updateBudgetPfand_data()
    {
        QTest::addColumn<QVariant>("net");
        QTest::addColumn<QVariant>("persons");
        QTest::addColumn<QString>("message");
        QTest::addColumn<double>("pfand");
        QTest::newRow("995,00, no dependant") << QVariant(995.0) << QVariant(0) << QString() << 3.40;
        QTest::newRow("empty persons count as 0") << QVariant(995.0) << QVariant() << QString() << 3.40;
        QTest::newRow("between rows") << QVariant(989.995) << QVariant(0) << QString() << 0.0;
        QTest::newRow("negative persons keep the amount") << QVariant(995.0) << QVariant(-1) << QString() << 12.34;
        QTest::newRow("no net income") << QVariant() << QVariant(0) << NoNetIncomeMessage << 12.34;
        QTest::newRow("net income 0") << QVariant(0.0) << QVariant(0) << NoNetIncomeMessage << 12.34;
    }

    // On a plan still being typed: it is stored first, then its amount.
    void updateBudgetPfand()
    {
        QFETCH(QVariant, net);
        QFETCH(QVariant, persons);
        QFETCH(QString, message);
        QFETCH(double, pfand);
        GarnishFixture f;
        f.typeBase(Notice2005.baseValues());
        BuildGarnishmentTable(*f.ex().qrPfand, *f.ex().qrPfaendung, *f.ex().tbPfaendung);
        f.ex().qrPfand->post();
        new BudgetHandlers(*f.dm.dmHh, *f.dm.dmMP);
        QVERIFY(f.dm.dmMP->lookupUser(QStringLiteral("sb")));
        DataSet &plan = *f.dm.dmHh->qrBudget;
        plan.reopen();
        plan.append();
        plan.setValue(QStringLiteral("BudTitel"), QStringLiteral("Plan"));
        plan.setValue(QStringLiteral("Pfand"), 12.34);
        plan.post();
        plan.edit();
        plan.setValue(QStringLiteral("PfandNetto"), net);
        plan.setValue(QStringLiteral("Bud_Personen"), persons);
        QCOMPARE(UpdateBudgetPfand(plan, *f.ex().qrPfaendung), message);
        QVERIFY(!plan.isPending());
        QVERIFY(f.ex().qrPfaendung->isOpen());
        const int id = plan.asInteger(QStringLiteral("Bud_id"));
        QCOMPARE(Money::fromDouble(f.dm.db.scalar(QStringLiteral("select Pfand from budget where Bud_id = %1").arg(id)).toDouble()),
                 eur(pfand));
    }
};

QTEST_GUILESS_MAIN(TestGarnishRules)
#include "tst_garnishrules.moc"
