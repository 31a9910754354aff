#include "HhbookFixture.h"

#include "hhbook/rules/PlanActual.h"

#include <QTest>

#include <memory>

using namespace PlanActual;

class TestPlanActual : public QObject
{
    Q_OBJECT

    std::unique_ptr<HhbookFixture> m_f;

    static Money eur(double v) { return Money::fromDouble(v); }

    // A plan with income 2.000,00 every month, rent 600,00 every month, living costs
    // 400,00 every month and a car insurance of 300,00 due in March.
    int addPlan()
    {
        QStringList sets;
        for (int m = 1; m <= 12; ++m)
            sets << QStringLiteral("Eksum%1 = 2000, Wksum%1 = 600, Lksum%1 = 400, Vssum%1 = %2")
                        .arg(m, 2, 10, QLatin1Char('0'))
                        .arg(m == 3 ? 300 : 0);
        m_f->dm.db.exec("insert into budget (BudTitel, User_id) values ('Plan 2024', 1)");
        const int bud = m_f->scalar("select max(Bud_id) from budget").toInt();
        m_f->dm.db.exec(QStringLiteral("update budget set %1 where Bud_id = :b").arg(sets.join(", ")), {{"b", bud}});
        return bud;
    }

private slots:
    void init() { m_f = std::make_unique<HhbookFixture>(); }
    void cleanup() { m_f.reset(); }

    void perCategoryAndMonth()
    {
        const int bud = addPlan();
        const int book = m_f->addBook("Haushaltsbuch von Erika Beispiel");
        m_f->addBooking(book, QDate(2024, 1, 1), "Einkommen", "Konto", 2100);
        m_f->addBooking(book, QDate(2024, 1, 3), "Wohnkosten", "Konto", 600);
        m_f->addBooking(book, QDate(2024, 1, 9), "Lebenshaltung", "Bar", 300);
        m_f->addBooking(book, QDate(2024, 1, 20), "Lebenshaltung", "Bar", 140.01);
        m_f->addBooking(book, QDate(2024, 1, 22), "Lebenshaltung", "Konto", -20);   // a refund
        m_f->addBooking(book, QDate(2024, 3, 2), "Versicherungen", "Konto", 330);
        m_f->addBooking(book, QDate(2024, 12, 31), "Konsumkredite", "Konto", 150);
        m_f->addBooking(book, QDate(2023, 12, 31), "Wohnkosten", "Konto", 999);      // another year
        m_f->addBooking(book, QDate(2024, 2, 5), "Tanken", "Bar", 60);              // no category of the plan
        const int other = m_f->addBook("Haushaltsbuch von B");
        m_f->addBooking(other, QDate(2024, 1, 3), "Wohnkosten", "Konto", 500);

        Mapping mapping;
        Comparison c = compare(m_f->dm.db, book, bud, 2024, mapping);
        QCOMPARE(c.lines.size(), 8);
        const Line &income = c.lines.at(0), &rent = c.lines.at(1), &insurance = c.lines.at(2),
                   &transport = c.lines.at(3), &living = c.lines.at(5), &credits = c.lines.at(6);
        QCOMPARE(income.actual[0], eur(2100));
        QCOMPARE(income.plannedYear(), eur(24000));
        QCOMPARE(rent.actual[0], eur(600));
        QCOMPARE(rent.actualYear(), eur(600));
        QCOMPARE(living.actual[0], eur(420.01));
        QCOMPARE(Line::difference(living.planned[0], living.actual[0]), eur(20.01));
        QVERIFY(!living.exceeded(0));
        QCOMPARE(insurance.planned[2], eur(300));
        QVERIFY(!insurance.exceeded(2));                 // exactly 10 % over
        QCOMPARE(credits.actual[11], eur(150));
        QVERIFY(credits.exceeded(11));                   // nothing planned
        QVERIFY(!income.exceeded(0));                    // income is never over plan
        QVERIFY(!credits.exceeded(0));
        QCOMPARE(transport.actualYear(), Money());

        // Mapped by the adviser, kept in the database.
        mapping.set("Tanken", 3);
        mapping.set("Lebenshaltung", -1);
        mapping.set("Wohnkosten", 1);   // its own place: no row needed
        mapping.save(m_f->dm.db);
        QCOMPARE(m_f->storedCount("sollistzuordnung"), 2);
        const Mapping loaded = Mapping::load(m_f->dm.db);
        QCOMPARE(loaded.planCategory("Tanken"), 3);
        QCOMPARE(loaded.planCategory("Lebenshaltung"), -1);
        QCOMPARE(loaded.planCategory("Hauskredite"), 7);
        QCOMPARE(loaded.rubriks().size(), 9);
        QCOMPARE(loaded.rubriks().last(), QStringLiteral("Tanken"));
        c = compare(m_f->dm.db, book, bud, 2024, loaded);
        QCOMPARE(c.lines.at(3).actual[1], eur(60));
        QCOMPARE(c.lines.at(5).actualYear(), Money());
        QVERIFY(c.lines.at(3).exceeded(1));
    }

    // "Ist" is what is booked up to the day compared on: a series booked ahead for the rest
    // of the year is no spending yet, and the comparison says how many it left out.
    void actualMeansBookedUpToThatDay()
    {
        const int bud = addPlan();
        const int book = m_f->addBook("Haushaltsbuch");
        m_f->addBooking(book, QDate(2024, 6, 1), "Wohnkosten", "Konto", 600);
        m_f->addBooking(book, QDate(2024, 6, 15), "Wohnkosten", "Konto", 10);
        for (int m = 7; m <= 12; ++m)
            m_f->addBooking(book, QDate(2024, m, 1), "Wohnkosten", "Konto", 600);
        Comparison c = compare(m_f->dm.db, book, bud, 2024, Mapping(), QDate(2024, 6, 15));
        QCOMPARE(c.lines.at(1).actualYear(), eur(610));
        QCOMPARE(c.lines.at(1).actual[6], Money());
        QCOMPARE(c.laterBookings, 6);
        QCOMPARE(c.actualText(), QStringLiteral("Ist: Buchungen bis 15.06.2024; 6 spätere Buchungen sind nicht gezählt."));

        // A past year counts to its end.
        c = compare(m_f->dm.db, book, bud, 2024, Mapping(), QDate(2025, 3, 1));
        QCOMPARE(c.lines.at(1).actualYear(), eur(4210));
        QCOMPARE(c.actualText(), QStringLiteral("Ist: Buchungen bis 31.12.2024."));
    }

    void overPlan_data()
    {
        QTest::addColumn<double>("planned");
        QTest::addColumn<double>("actual");
        QTest::addColumn<bool>("over");
        QTest::newRow("10 % darüber") << 100.0 << 110.0 << false;
        QTest::newRow("einen Cent mehr") << 100.0 << 110.01 << true;
        QTest::newRow("unter Plan") << 100.0 << 20.0 << false;
        QTest::newRow("nichts geplant, etwas ausgegeben") << 0.0 << 0.01 << true;
        QTest::newRow("nichts geplant, nichts ausgegeben") << 0.0 << 0.0 << false;
        QTest::newRow("Erstattungen überwiegen") << 0.0 << -5.0 << false;
    }
    void overPlan()
    {
        QFETCH(double, planned);
        QFETCH(double, actual);
        QFETCH(bool, over);
        QCOMPARE(exceeds(eur(planned), eur(actual)), over);
    }

    void planWithoutMonthTotalsPlansNothing()
    {
        m_f->dm.db.exec("insert into budget (BudTitel, User_id) values ('leer', 1)");
        const int bud = m_f->scalar("select max(Bud_id) from budget").toInt();
        const int book = m_f->addBook("Haushaltsbuch");
        m_f->addBooking(book, QDate(2024, 5, 5), "Wohnkosten", "Konto", 10);
        const Comparison c = compare(m_f->dm.db, book, bud, 2024, Mapping());
        QCOMPARE(c.lines.at(1).plannedYear(), Money());
        QVERIFY(c.lines.at(1).exceeded(4));
        QVERIFY(c.lines.at(1).exceededYear());
    }
};

QTEST_GUILESS_MAIN(TestPlanActual)
#include "tst_planactual.moc"
