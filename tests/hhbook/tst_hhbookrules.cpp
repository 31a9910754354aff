#include "HhbookFixture.h"

#include "core/AppError.h"
#include "core/DateUtil.h"
#include "data/DataError.h"
#include "hhbook/rules/HhbookRules.h"
#include "hhbook/rules/HhbookVocabulary.h"
#include "hhbook/rules/RecurringBookings.h"

#include <QTest>

#include <memory>

using namespace HhbookRules;

class TestHhbookRules : public QObject
{
    Q_OBJECT

    std::unique_ptr<HhbookFixture> m_f;

    static Money eur(double v) { return Money::fromDouble(v); }

private slots:
    void init() { m_f = std::make_unique<HhbookFixture>(); }
    void cleanup() { m_f.reset(); }

    // A user without a book who starts a booking gets a stored book first, named from the
    // answer (a cancelled question still names it), and the booking belongs to it.
    void firstBookingCreatesTheBook_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("name");
        QTest::newRow("named") << "Familie Meier" << "Haushaltsbuch von Familie Meier";
        QTest::newRow("cancelled") << "" << "Haushaltsbuch von ";
    }
    void firstBookingCreatesTheBook()
    {
        QFETCH(QString, answer);
        QFETCH(QString, name);
        int asked = 0;
        m_f->handlers->setFirstBookNameAsker([&] { ++asked; return answer; });
        m_f->enter();
        QVERIFY(m_f->books().isEmpty());

        m_f->bookings().append();
        QCOMPARE(asked, 1);
        QCOMPARE(m_f->bookings().state(), DataSet::State::Insert);
        QCOMPARE(m_f->storedCount("hhplan"), 1);
        QCOMPARE(m_f->scalar("select Bezeichnung from hhplan").toString(), name);
        QCOMPARE(m_f->scalar("select User_id from hhplan").toInt(), 1);
        QCOMPARE(m_f->scalar("select Erfdat from hhplan").toString(), DateUtil::today().toString(Qt::ISODate));
        QCOMPARE(m_f->books().asString("Bezeichnung"), name);
        QCOMPARE(m_f->bookings().value("Hhplan_id"), m_f->books().value("Hhplan_id"));

        // The next booking finds the book and asks nothing.
        m_f->bookings().setValue("RubText", "Miete");
        m_f->bookings().append();
        QCOMPARE(asked, 1);
        QCOMPARE(m_f->storedCount("hhplan"), 1);
        QCOMPARE(m_f->storedCount("hhbuch"), 1);
    }

    void usersSeeOnlyTheirOwnBooks()
    {
        m_f->dm.db.exec("insert into benutzer (SbKurz, Passwort) values ('mk', '')");
        const int own = m_f->addBook("Haushaltsbuch von A");
        const int other = m_f->addBook("Haushaltsbuch von B", 2);
        m_f->addBooking(own, QDate(2024, 1, 1), "Einkommen", "Konto", 10);
        m_f->addBooking(other, QDate(2024, 1, 1), "Einkommen", "Konto", 20);
        m_f->enter();
        QCOMPARE(m_f->books().recordCount(), 1);
        QCOMPARE(m_f->bookings().recordCount(), 1);
        QCOMPARE(m_f->bookings().asMoney("Betrag"), eur(10));

        QVERIFY(m_f->dm.dmMP->lookupUser("mk"));
        m_f->enter();
        QCOMPARE(m_f->books().asString("Bezeichnung"), QStringLiteral("Haushaltsbuch von B"));
        QCOMPARE(m_f->bookings().asMoney("Betrag"), eur(20));
        m_f->books().append();
        QCOMPARE(m_f->books().value("User_id").toInt(), 2);
    }

    void bookingCountText()
    {
        QCOMPARE(HhbookRules::bookingCountText(0), QStringLiteral("  0 Buchung(en)"));
        QCOMPARE(HhbookRules::bookingCountText(1234), QStringLiteral("  1234 Buchung(en)"));
    }

    // The worked example, stored in the book; the list ends on its last booking.
    void evaluationOfTheExample()
    {
        const int book = m_f->addBook("Haushaltsbuch von A");
        m_f->addExampleBookings(book);
        // Counted nowhere: a word in other case, and a booking without amount.
        m_f->addBooking(book, QDate(2024, 1, 20), "einkommen", "Bar", 999);
        m_f->dm.db.exec("insert into hhbuch (Hhplan_id, Buchdat, Rubrik, RubText) values (1, '2024-01-21', 'Einkommen', 'x')");
        m_f->enter();
        const Summary s = ComputeHouseholdBook(m_f->bookings(), m_f->books());
        QCOMPARE(m_f->bookings().currentRow(), m_f->bookings().recordCount() - 1);
        QCOMPARE(s.zwisu, eur(1300));
        QCOMPARE(s.maxKredit, eur(800));
        QCOMPARE(s.maxHaus, eur(600));
        QCOMPARE(s.defizit, eur(600));
        QVERIFY(s.isSurplus());
        const std::array<double, 8> shares{100, 30, 0, 5, 0, 25, 10, 0};
        for (int i = 0; i < 8; ++i)
            QCOMPARE(s.shares[i], shares[i]);

        QSqlQuery q = m_f->dm.db.exec("select Eksum, Wksum, Vssum, Vksum, Aksum, Lksum, Sksum, Hksum, Zwisu, Maxkredit, "
                                      "Maxhaus, Defizit from hhplan");
        QVERIFY(q.next());
        const double stored[12] = {2000, 600, 0, 100, 0, 500, 200, 0, 1300, 800, 600, 600};
        for (int i = 0; i < 12; ++i)
            QCOMPARE(q.value(i).toDouble(), stored[i]);
        QCOMPARE(m_f->books().state(), DataSet::State::Browse);
    }

    // Sums are exact in cents however many small amounts are added.
    void sumsAreExact()
    {
        const int book = m_f->addBook("Haushaltsbuch von A");
        for (int i = 0; i < 10; ++i)
            m_f->addBooking(book, QDate(2024, 2, 1), "Lebenshaltung", "Bar", 0.1);
        m_f->addBooking(book, QDate(2024, 2, 1), "Einkommen", "Bar", 1);
        m_f->enter();
        const Summary s = ComputeHouseholdBook(m_f->bookings(), m_f->books());
        QCOMPARE(s.sums[5], eur(1));
        QCOMPARE(s.maxKredit, Money());
        QVERIFY(s.isSurplus());   // zero counts as surplus
    }

    void evaluationWithoutIncome()
    {
        const int book = m_f->addBook("Haushaltsbuch von A");
        m_f->enter();
        Summary s = ComputeHouseholdBook(m_f->bookings(), m_f->books());
        QCOMPARE(s.defizit, Money());
        QVERIFY(s.isSurplus());

        m_f->addBooking(book, QDate(2024, 2, 1), "Wohnkosten", "Konto", 450);
        m_f->bookings().reopen();
        s = ComputeHouseholdBook(m_f->bookings(), m_f->books());
        QCOMPARE(s.defizit, eur(-450));
        QVERIFY(!s.isSurplus());
        for (double share : s.shares)
            QCOMPARE(share, 0.0);
        QCOMPARE(m_f->scalar("select Defizit from hhplan").toDouble(), -450.0);
    }

    // Without any book the evaluation does not start a nameless one.
    void evaluationWithoutBookStoresNothing()
    {
        m_f->enter();
        ComputeHouseholdBook(m_f->bookings(), m_f->books());
        QCOMPARE(m_f->storedCount("hhplan"), 0);
        QCOMPARE(m_f->books().state(), DataSet::State::Browse);
    }

    // A pending booking is stored first; one without description stops the evaluation.
    void evaluationStoresThePendingBooking()
    {
        m_f->addBook("Haushaltsbuch von A");
        m_f->enter();
        m_f->bookings().append();
        m_f->bookings().setValue("Rubrik", "Einkommen");
        m_f->bookings().setValue("Betrag", 50.0);
        try {
            ComputeHouseholdBook(m_f->bookings(), m_f->books());
            QFAIL("stored without description");
        } catch (const DataError &e) {
            QCOMPARE(e.message(), QStringLiteral("Feld 'RubText' muss einen Wert haben"));
        }
        QCOMPARE(m_f->bookings().state(), DataSet::State::Insert);
        QVERIFY(m_f->scalar("select Eksum from hhplan").isNull());
        m_f->bookings().setValue("RubText", "Lohn");
        QCOMPARE(ComputeHouseholdBook(m_f->bookings(), m_f->books()).sums[0], eur(50));
        QCOMPARE(m_f->storedCount("hhbuch"), 1);
    }

    void filterTexts_data()
    {
        QTest::addColumn<QString>("rubrik");
        QTest::addColumn<QString>("konto");
        QTest::addColumn<QString>("sql");
        const QString head = "select * from hhbuch where  hhplan_id = :hhplan_id and (buchdat >= '01.01.2024' and buchdat <= '31.12.2024')";
        QTest::newRow("all") << "<Alle>" << "<Alle>" << head + " order by buchdat";
        QTest::newRow("category") << "Wohnkosten" << "<Alle>" << head + " and rubrik = 'Wohnkosten' order by buchdat";
        QTest::newRow("way") << "<Alle>" << "Bar" << head + " and rubdet = 'Bar' order by buchdat";
        QTest::newRow("both") << "Allgemeine Kosten" << "Konto"
                              << head + " and rubdet = 'Konto' and rubrik = 'Allgemeine Kosten' order by buchdat";
    }
    void filterTexts()
    {
        QFETCH(QString, rubrik);
        QFETCH(QString, konto);
        QFETCH(QString, sql);
        QCOMPARE(filterSql("01.01.2024", "31.12.2024", rubrik, konto), sql);
    }

    // Both ends of the period count; "Rechnen" under a filter stores only what is listed;
    // the filter stays when the next book becomes current.
    void filteredSelection()
    {
        const int a = m_f->addBook("Haushaltsbuch von A");
        const int b = m_f->addBook("Haushaltsbuch von B");
        m_f->addExampleBookings(a);
        m_f->addBooking(a, QDate(2023, 12, 31), "Einkommen", "Konto", 7);
        m_f->addBooking(a, QDate(2024, 2, 1), "Einkommen", "Konto", 8);
        m_f->addBooking(b, QDate(2024, 1, 1), "Wohnkosten", "Konto", 30);
        m_f->addBooking(b, QDate(2024, 1, 2), "Wohnkosten", "Bar", 40);
        m_f->enter();
        m_f->bookings().replaceSql(filterSql("01.01.2024", "15.01.2024", HhbookVocabulary::All, "Konto"));
        QCOMPARE(m_f->bookings().recordCount(), 3);
        const Summary s = ComputeHouseholdBook(m_f->bookings(), m_f->books());
        QCOMPARE(s.sums[0], eur(2000));
        QCOMPARE(s.defizit, eur(1200));
        QCOMPARE(m_f->scalar("select Defizit from hhplan where Hhplan_id = :id", {{"id", a}}).toDouble(), 1200.0);

        m_f->books().next();
        QCOMPARE(m_f->bookings().recordCount(), 1);
        QCOMPARE(m_f->bookings().asMoney("Betrag"), eur(30));
        // So does storing a new booking in the other book.
        m_f->bookings().append();
        m_f->bookings().setValue("Buchdat", QDate(2024, 1, 3));
        m_f->bookings().setValue("Rubdet", "Konto");
        m_f->bookings().setValue("RubText", "Strom");
        m_f->bookings().post();
        m_f->bookings().reopen();
        QCOMPARE(m_f->bookings().recordCount(), 2);
    }

    void dueDates_data()
    {
        QTest::addColumn<QDate>("start");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("months");
        QTest::addColumn<QList<QDate>>("dates");
        QTest::newRow("month ends") << QDate(2024, 1, 31) << 4 << 1
                                    << QList<QDate>{{2024, 1, 31}, {2024, 2, 29}, {2024, 3, 31}, {2024, 4, 30}};
        QTest::newRow("quarterly") << QDate(2023, 11, 15) << 3 << 3
                                   << QList<QDate>{{2023, 11, 15}, {2024, 2, 15}, {2024, 5, 15}};
        QTest::newRow("leap day") << QDate(2024, 2, 29) << 2 << 12 << QList<QDate>{{2024, 2, 29}, {2025, 2, 28}};
        QTest::newRow("none") << QDate(2024, 2, 29) << 0 << 12 << QList<QDate>{};
    }
    void dueDates()
    {
        QFETCH(QDate, start);
        QFETCH(int, count);
        QFETCH(int, months);
        QFETCH(QList<QDate>, dates);
        QList<QDate> got;
        for (int i = 0; i < count; ++i)
            got << RecurringBookings::dueDate(start, i, months);
        QCOMPARE(got, dates);
    }

    void readers()
    {
        using namespace RecurringBookings;
        QCOMPARE(readAmount("12.50"), eur(12.5));
        QCOMPARE(readAmount("1.200"), eur(1200));
        QCOMPARE(readAmount("1.200,00"), eur(1200));
        QCOMPARE(readAmount("1200,5"), eur(1200.5));
        QCOMPARE(readAmount("7"), eur(7));
        QCOMPARE(readStart(" 1. 2.2024"), QDate(2024, 2, 1));
        QCOMPARE(readCount("13"), 13);
        const QList<std::pair<std::function<void()>, QString>> bad = {
            {[] { readAmount("1.2.3"); }, "'1.2.3' ist kein gültiger Gleitkommawert"},
            {[] { readAmount("."); }, "'.' ist kein gültiger Gleitkommawert"},
            {[] { readCount("2.5"); }, "'2.5' ist kein gültiger Integerwert"},
            {[] { readCount("1,"); }, "'1,' ist kein gültiger Integerwert"},
            {[] { readStart("31.02.2024"); }, "'31.02.2024' ist kein gültiges Datum"},
        };
        for (const auto &[read, message] : bad) {
            try {
                read();
                QFAIL(qPrintable("accepted: " + message));
            } catch (const ConversionError &e) {
                QCOMPARE(e.message(), message);
            }
        }
    }

    // The monthly series of 13 from 31 January 2024, stored in the current book.
    void seriesIsStored()
    {
        const int book = m_f->addBook("Haushaltsbuch von A");
        m_f->enter();
        RecurringBookings::append(m_f->bookings(), {QDate(2024, 1, 31), 13, 1, "Wohnkosten", "Konto", eur(12.5), "Miete"});
        QCOMPARE(m_f->bookings().state(), DataSet::State::Browse);
        QSqlQuery q = m_f->dm.db.exec("select Buchdat, Hhplan_id, Rubrik, Rubdet, Betrag, RubText from hhbuch order by Hhbuch_id");
        QStringList dates;
        while (q.next()) {
            dates << q.value(0).toString();
            QCOMPARE(q.value(1).toInt(), book);
            QCOMPARE(q.value(2).toString(), QStringLiteral("Wohnkosten"));
            QCOMPARE(q.value(3).toString(), QStringLiteral("Konto"));
            QCOMPARE(q.value(4).toDouble(), 12.5);
            QCOMPARE(q.value(5).toString(), QStringLiteral("Miete"));
        }
        QCOMPARE(dates.size(), 13);
        QCOMPARE(dates.last(), QStringLiteral("2025-01-31"));
        for (const char *d : {"2024-02-29", "2024-04-30", "2024-06-30", "2024-09-30", "2024-11-30"})
            QVERIFY2(dates.contains(QLatin1String(d)), d);
    }

    // A series that fails part-way stores nothing, on disk or on screen.
    void failedSeriesStoresNothing()
    {
        m_f->addBook("Haushaltsbuch von A");
        m_f->enter();
        QVERIFY_THROWS_EXCEPTION(DataError, RecurringBookings::append(m_f->bookings(), {QDate(2024, 1, 1), 5, 1, "Lebenshaltung", "Bar", eur(3), ""}));
        QCOMPARE(m_f->storedCount("hhbuch"), 0);
        m_f->bookings().cancel();
        QCOMPARE(m_f->bookings().recordCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestHhbookRules)
#include "tst_hhbookrules.moc"
