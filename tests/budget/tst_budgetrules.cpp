#include "support/TempDatabase.h"

#include "budget/rules/BudgetHandlers.h"
#include "budget/rules/Spreading.h"
#include "core/AppError.h"
#include "core/DateUtil.h"
#include "data/DataModules.h"

#include <QTest>

using Months = QList<QVariant>;   // twelve entries, null = not set

Q_DECLARE_METATYPE(Months)

class TestBudgetRules : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempDatabase> m_tmp;
    std::unique_ptr<DataModules> m_dm;

    TdmHh &hh() { return *m_dm->dmHh; }

    // Logs in as `user` and shows the Budget queries as the page does.
    void login(const QString &user = "sb")
    {
        m_dm->dmMP->lookupUser(user);
        hh().qrBudget->reopen();
        for (DataSet *q : hh().budgetItemQueries())
            q->reopen();
    }

    void newPlan(const QString &title)
    {
        hh().qrBudget->append();
        hh().qrBudget->setValue("BudTitel", title);
        hh().qrBudget->post();
    }

    void addItem(const QString &prefix, const QString &bez, const QVariant &amount, const QString &month,
                 const QString &rhythm)
    {
        const BudgetCategory &c = BudgetCategories::byPrefix(prefix);
        DataSet *q = c.query(hh());
        q->append();
        q->setValue(c.descriptionField, bez);
        q->setValue(c.amountField, amount);
        q->setValue(c.monthField, month);
        q->setValue(c.rhythmField, rhythm);
        q->post();
    }

    double plan(const QString &field) { return hh().qrBudget->asFloat(field); }

private slots:
    void init()
    {
        m_tmp = std::make_unique<TempDatabase>();
        m_dm = std::make_unique<DataModules>();
        m_tmp->openIn(m_dm->db);
        new BudgetHandlers(*m_dm->dmHh, *m_dm->dmMP);
    }
    void cleanup()
    {
        m_dm.reset();
        m_tmp.reset();
    }

    void spreading_data()
    {
        QTest::addColumn<QVariant>("amount");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("rhythm");
        QTest::addColumn<QVariant>("monthly");
        QTest::addColumn<Months>("months");
        const QVariant n;
        auto only = [](double v, std::initializer_list<int> due) {
            Months m;
            for (int i = 1; i <= 12; ++i)
                m << (std::find(due.begin(), due.end(), i) != due.end() ? v : 0.0);
            return m;
        };
        const Months none(12, n);
        QTest::newRow("monthly, no due month") << QVariant(50.0) << "" << "monatlich" << QVariant(50.0) << Months(12, 50.0);
        QTest::newRow("quarterly due 02") << QVariant(90.0) << "02" << "vierteljährlich" << QVariant(30.0)
                                          << only(90, {2, 5, 8, 11});
        QTest::newRow("quarterly due 11 wraps") << QVariant(90.0) << "11" << "vierteljährlich" << QVariant(30.0)
                                                << only(90, {2, 5, 8, 11});
        QTest::newRow("yearly due 12 unrounded") << QVariant(100.0) << "12" << "jährlich" << QVariant(100.0 / 12)
                                                 << only(100, {12});
        QTest::newRow("two-monthly due 04") << QVariant(20.0) << "04" << "zweimonatlich" << QVariant(10.0)
                                            << only(20, {2, 4, 6, 8, 10, 12});
        QTest::newRow("half-yearly due 09") << QVariant(60.0) << "09" << "halbjährlich" << QVariant(10.0)
                                            << only(60, {3, 9});
        QTest::newRow("half-yearly, empty month") << QVariant(60.0) << "" << "halbjährlich" << QVariant(10.0) << none;
        QTest::newRow("one-digit month is none") << QVariant(60.0) << "3" << "halbjährlich" << QVariant(10.0) << none;
        QTest::newRow("capitalised rhythm is none") << QVariant(60.0) << "03" << "Jährlich" << n << none;
        QTest::newRow("trailing blank is none") << QVariant(60.0) << "03" << "jährlich " << n << none;
        QTest::newRow("empty amount") << n << "01" << "jährlich" << QVariant(0.0) << only(0, {1});
        QTest::newRow("negative amount") << QVariant(-120.0) << "01" << "vierteljährlich" << QVariant(-40.0)
                                         << only(-120, {1, 4, 7, 10});
    }
    void spreading()
    {
        QFETCH(QVariant, amount);
        QFETCH(QString, month);
        QFETCH(QString, rhythm);
        QFETCH(QVariant, monthly);
        QFETCH(Months, months);
        const Spreading::Result r = Spreading::spread(amount, month, rhythm);
        QCOMPARE(r.monthly.has_value(), !monthly.isNull());
        if (r.monthly)
            QCOMPARE(*r.monthly, monthly.toDouble());
        for (int m = 0; m < 12; ++m) {
            QCOMPARE(r.months[m].has_value(), !months.at(m).isNull());
            if (r.months[m])
                QCOMPARE(*r.months[m], months.at(m).toDouble());
        }
    }

    void totalsOfTheExamplePlan()
    {
        login();
        newPlan("Familie Muster");
        QCOMPARE(plan("Zwisu"), 0.0);
        QCOMPARE(plan("Pro_EK"), 0.0);
        addItem("Ek", "Netto P 1", 2000.0, "", "monatlich");
        addItem("Wk", "Kaltmiete", 600.0, "01", "monatlich");
        addItem("Vs", "Hausrat", 120.0, "03", "jährlich");
        QCOMPARE(plan("Sum_Ek"), 2000.0);
        QCOMPARE(plan("Sum_Wk"), 600.0);
        QCOMPARE(plan("Sum_Vs"), 10.0);
        for (const char *f : {"Zwisu", "MaxKredit", "MaxHaus", "Defizit"})
            QCOMPARE(plan(f), 1390.0);
        QCOMPARE(plan("Pro_EK"), 100.0);
        QCOMPARE(plan("Pro_WK"), 30.0);
        QCOMPARE(plan("Pro_Vs"), 0.5);
        for (int m = 1; m <= 12; ++m)
            QCOMPARE(plan(QStringLiteral("Sum%1").arg(m, 2, 10, QChar('0'))), m == 3 ? 1280.0 : 1400.0);
        QCOMPARE(hh().qrBudget->asDate("Bud_aend"), DateUtil::today());
        // The sums are stored, not only shown.
        QCOMPARE(m_dm->db.scalar("select Vssum03 from budget").toDouble(), 120.0);
    }

    void yearlySharesAddUpExactly()
    {
        login();
        newPlan("Plan");
        addItem("Ak", "Verein", 100.0, "01", "jährlich");
        addItem("Ak", "Rundfunk", 200.0, "01", "jährlich");
        QCOMPARE(plan("Sum_Ak"), 25.0);
        QCOMPARE(Money::fromDouble(m_dm->db.scalar("select Sum_Ak from budget").toDouble()).raw(), qint64(250000));
        // Ten-digit amounts keep exact cents.
        addItem("Ek", "Gewinn", 1234567890.12, "", "monatlich");
        addItem("Ek", "Nebenverdienst", 0.07, "", "monatlich");
        QCOMPARE(Money::fromDouble(plan("Sum_Ek")), Money::fromCents(123456789019));
        QCOMPARE(Money::fromDouble(plan("Defizit")), Money::fromCents(123456789019) - Money::fromCents(2500));
    }

    void deletingTheLastItemWritesZeroAndLeavesCursorOnLastRow()
    {
        login();
        newPlan("Plan");
        addItem("Lk", "Haushaltsgeld", 300.0, "", "monatlich");
        addItem("Lk", "Taschengeld", 50.0, "", "monatlich");
        addItem("Lk", "Freizeit", 25.0, "", "monatlich");
        DataSet *lk = hh().qrBudLebenshaltung;
        lk->first();
        lk->edit();
        lk->setValue("Lk_Betrag", 100.0);
        lk->post();
        QCOMPARE(lk->currentRow(), 2);
        QCOMPARE(plan("Sum_Lk"), 175.0);
        while (!lk->isEmpty())
            lk->remove();
        QVERIFY(!m_dm->db.scalar("select Sum_Lk from budget").isNull());
        QCOMPARE(plan("Sum_Lk"), 0.0);
        QCOMPARE(plan("Lksum05"), 0.0);
    }

    void itemWithoutPlanIsRefused()
    {
        login();
        DataSet *ek = hh().qrBudEinkommen;
        try {
            ek->append();
            QFAIL("no refusal");
        } catch (const UserWarning &w) {
            QCOMPARE(w.message(), QStringLiteral("Ein Datensatz kann nicht eingefügt werden!\rLegen Sie vorher einen Haushaltsplan an."));
        }
        QCOMPARE(ek->recordCount(), 0);
        QCOMPARE(ek->state(), DataSet::State::Browse);
    }

    void totalBeyondTheMoneyRangeIsRefusedWhole()
    {
        login();
        newPlan("Groß");
        addItem("Ek", "Eins", 6e13, "", "monatlich");
        QString refusal;
        try {
            addItem("Ek", "Zwei", 6e13, "", "monatlich");
        } catch (const AppError &e) {
            refusal = e.message();
        }
        QCOMPARE(refusal, QStringLiteral("Der Betrag 120.000.000.000.000,00 liegt außerhalb des gültigen Bereichs"));
        // Nothing of the second item is stored, the plan keeps the first total and is not left pending.
        QCOMPARE(m_dm->db.scalar("select count(*) from bud_einkommen").toInt(), 1);
        QCOMPARE(m_dm->db.scalar("select Sum_Ek from budget").toDouble(), 6e13);
        QCOMPARE(hh().qrBudget->state(), DataSet::State::Browse);
        QCOMPARE(plan("Sum_Ek"), 6e13);
        QCOMPARE(hh().qrBudEinkommen->state(), DataSet::State::Insert);
        hh().qrBudEinkommen->cancel();
        QCOMPARE(hh().qrBudEinkommen->recordCount(), 1);
    }

    void newPlanKeyReachesItsFirstItem()
    {
        login();
        hh().qrBudget->append();
        hh().qrBudget->setValue("BudTitel", "Neu");
        hh().qrBudget->post();
        const int key = hh().qrBudget->asInteger("Bud_id");
        QVERIFY(key > 0);
        addItem("Ek", "Kindergeld", 250.0, "", "monatlich");
        QCOMPARE(hh().qrBudEinkommen->asInteger("Bud_id"), key);
        QCOMPARE(hh().qrBudget->asInteger("User_id"), m_dm->dmMP->qrAktUser->asInteger("Ben_id"));
    }

    void deleteRefusalsInTheirOrder()
    {
        login();
        newPlan("Plan");
        QCOMPARE(BudgetRules::deleteRefusal(hh()), QString());
        const QList<QPair<QString, QString>> steps = {
            {"Hk", "HAUSKREDITE"}, {"Sk", "SONSTIGE KREDITE"}, {"Lk", "LEBENSHALTUNG"}, {"Ak", "ALLGEMEINE KOSTEN"},
            {"Vs", "VERSICHERUNGEN"}, {"Vk", "VERKEHRSKOSTEN"}, {"Wk", "WOHNKOSTEN"}, {"Ek", "EINKOMMEN"}};
        for (const auto &[prefix, word] : steps) {
            addItem(prefix, "x", 1.0, "01", "monatlich");
            QCOMPARE(BudgetRules::deleteRefusal(hh()),
                     QStringLiteral("Haushaltsplan kann nicht gelöscht werden.\rEs sind noch Datensätze <%1> vorhanden.").arg(word));
        }
    }

    void usersNeverSeeEachOthersPlans()
    {
        m_dm->db.exec("insert into benutzer (SbKurz, Passwort) values ('mk', '')");
        login("sb");
        newPlan("von sb");
        login("mk");
        QCOMPARE(hh().qrBudget->recordCount(), 0);
        newPlan("von mk");
        login("sb");
        QCOMPARE(hh().qrBudget->recordCount(), 1);
        QCOMPARE(hh().qrBudget->asString("BudTitel"), QStringLiteral("von sb"));
        // Maintenance login without a user record: no plans at all.
        login("qovtar");
        QCOMPARE(hh().qrBudget->recordCount(), 0);
    }

    void movingToAnotherPlanReplacesTheItems()
    {
        login();
        newPlan("A");
        addItem("Ek", "a", 1.0, "", "monatlich");
        addItem("Wk", "a", 1.0, "", "monatlich");
        newPlan("B");
        addItem("Ek", "b", 2.0, "", "monatlich");
        QCOMPARE(hh().qrBudEinkommen->recordCount(), 1);
        QCOMPARE(hh().qrBudWohnkosten->recordCount(), 0);
        hh().qrBudget->first();
        QCOMPARE(hh().qrBudEinkommen->asString("Ek_bez"), QStringLiteral("a"));
        QCOMPARE(hh().qrBudWohnkosten->recordCount(), 1);
        QCOMPARE(plan("Sum_Ek"), 1.0);
    }
};

QTEST_GUILESS_MAIN(TestBudgetRules)
#include "tst_budgetrules.moc"
