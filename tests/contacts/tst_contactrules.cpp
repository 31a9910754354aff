#include "ContactsFixture.h"

#include "contacts/rules/ContactHandlers.h"
#include "contacts/rules/ContactRules.h"
#include "data/DataError.h"
#include "data/WriteTransaction.h"

#include <QtTest>

class TestContactRules : public QObject
{
    Q_OBJECT

    std::unique_ptr<ContactsFixture> m_f;
    QStringList m_questions;
    QList<bool> m_answers;
    bool m_askedInsideTransaction = false;

    DataSet *contacts() { return m_f->contacts(); }

    void storeNew(const QString &plz, const QString &ort)
    {
        contacts()->append();
        contacts()->setValue("Suna", "Neu");
        contacts()->setValue("Plz", plz);
        contacts()->setValue("Ort", ort);
        contacts()->post();
    }

private slots:
    void init()
    {
        m_f = std::make_unique<ContactsFixture>();
        m_questions.clear();
        m_answers.clear();
        m_askedInsideTransaction = false;
        new ContactHandlers(m_f->adr(), *m_f->dm.dmFirma, [this](const QString &q) {
            m_questions << q;
            m_askedInsideTransaction = m_askedInsideTransaction || WriteTransaction::active();
            return m_answers.isEmpty() ? false : m_answers.takeFirst();
        });
        contacts()->open();
        m_f->dm.dmFirma->qrPlzOrt->open();
    }
    void cleanup() { m_f.reset(); }

    void newContactIsCapturedTodayAndNumberedWhenStored()
    {
        contacts()->append();
        QCOMPARE(contacts()->asDate("Erfdat"), QDate::currentDate());
        QVERIFY(contacts()->isNull("Adr_id"));
        contacts()->setValue("Suna", "Neu");
        contacts()->setValue("Plz", "10115");
        contacts()->post();
        QCOMPARE(contacts()->asInteger("Adr_id"), 5);
        QCOMPARE(m_f->value("select Erfdat from adressen where Adr_id = 5").toString(), QDate::currentDate().toString(Qt::ISODate));
    }

    void knownPostcodeAsksNothing()
    {
        storeNew("34117", "Kassel");
        QVERIFY(m_questions.isEmpty());
    }

    // Answered No, nothing is learnt and the question comes at every store, also when
    // the postcode did not change; answered Yes, the pair is learnt for later lookups.
    void unknownPostcodeIsAskedAtEveryStoreUntilLearnt()
    {
        storeNew("99998", "Neustadt");
        QCOMPARE(m_questions, QStringList{"99998 Neustadt nicht vorhanden!\rAufnehmen?"});
        QCOMPARE(m_f->count("select count(*) from plzort"), 3);
        QCOMPARE(m_f->count("select count(*) from adressen where Plz = '99998'"), 1);

        contacts()->edit();
        contacts()->setValue("Name1", "Hans");
        contacts()->post();
        QCOMPARE(m_questions.size(), 2);

        m_answers << true;
        contacts()->edit();
        contacts()->setValue("Name2", "Meier");
        contacts()->post();
        QCOMPARE(m_questions.size(), 3);
        QCOMPARE(m_f->count("select count(*) from plzort where Plz = '99998' and Ort = 'Neustadt'"), 1);

        contacts()->edit();
        contacts()->setValue("Name3", "x");
        contacts()->post();
        QCOMPARE(m_questions.size(), 3);
        QVERIFY(!m_askedInsideTransaction);
    }

    // No postcode at all is asked about too, as long as no pair has an empty postcode.
    void emptyPostcodeIsAskedLikeAnyOther()
    {
        m_answers << true;
        storeNew(QString(), "Irgendwo");
        QCOMPARE(m_questions, QStringList{" Irgendwo nicht vorhanden!\rAufnehmen?"});
        storeNew(QString(), "Anderswo");
        QCOMPARE(m_questions.size(), 1);
    }

    // A store that fails is not followed by a question: the contact is not stored.
    void failedStoreAsksNothing()
    {
        contacts()->beforePost = [](DataSet &) { throw DataError(QStringLiteral("abgelehnt")); };
        QVERIFY_THROWS_EXCEPTION(DataError, storeNew("99998", "Neustadt"));
        QVERIFY(m_questions.isEmpty());
        QCOMPARE(m_f->count("select count(*) from adressen"), 4);
    }

    void search_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("found");   // search names in list order

        QTest::newRow("postcode prefix, by postcode") << int(ContactRules::ByPostcode) << "12"
            << QStringList{"Praxis am Park", "O'Brien, Sean", "Mustermann, Erika"};
        QTest::newRow("town ignores case") << int(ContactRules::ByTown) << "berlin"
            << QStringList{"Mustermann, Erika"};
        QTest::newRow("town prefix, by town") << int(ContactRules::ByTown) << "BER"
            << QStringList{"Mustermann, Erika", "O'Brien, Sean"};
        QTest::newRow("quote in the text") << int(ContactRules::BySearchName) << "o'b"
            << QStringList{"O'Brien, Sean"};
        QTest::newRow("quote that would end the literal") << int(ContactRules::ByName1) << "x' or '1'='1"
            << QStringList{};
        QTest::newRow("umlaut") << int(ContactRules::ByName1) << "Ärzte" << QStringList{"Praxis am Park"};
        QTest::newRow("empty lists all by search name") << int(ContactRules::BySearchName) << ""
            << QStringList{"Jobcenter Kassel", "Mustermann, Erika", "O'Brien, Sean", "Praxis am Park"};
        QTest::newRow("empty column is never found") << int(ContactRules::ByName2) << ""
            << QStringList{"Jobcenter Kassel", "Mustermann, Erika", "O'Brien, Sean"};
        QTest::newRow("no hits") << int(ContactRules::ByName1) << "zz" << QStringList{};
    }
    void search()
    {
        QFETCH(int, filter);
        QFETCH(QString, typed);
        QFETCH(QStringList, found);
        DataSet *list = m_f->adr().qrKontWahl;
        QCOMPARE(ContactRules::search(*list, filter, typed), found.size());
        QStringList names;
        for (int r = 0; r < list->recordCount(); ++r)
            names << list->valueAt(r, list->fieldIndex("suna")).toString();
        QCOMPARE(names, found);
        QCOMPARE(m_f->count("select count(*) from adressen"), 4);
    }

    // A long result is counted in the database; the list reads only what it shows.
    void longResultIsCountedWithoutReadingIt()
    {
        m_f->dm.db.transaction([this] {
            for (int i = 0; i < 600; ++i)
                m_f->dm.db.exec(QStringLiteral("insert into adressen (Name1, Suna, Ort) values ('Kunde', :s, :o)"),
                                {{"s", QStringLiteral("Kunde %1").arg(i)}, {"o", i % 2 ? "Berlin" : "Bremen"}});
        });
        DataSet *list = m_f->adr().qrKontWahl;
        QCOMPARE(ContactRules::search(*list, ContactRules::ByTown, "berlin"), 301);
        QVERIFY(list->fetchedCount() < 301);
        QCOMPARE(ContactRules::search(*list, ContactRules::ByName1, ""), 604);
        QCOMPARE(ContactRules::search(*list, ContactRules::BySearchName, "kunde 1"), 111);
        QCOMPARE(list->recordCount(), 111);
    }

    void patternAndCount()
    {
        QCOMPARE(ContactRules::searchPattern(QStringLiteral("ÄBC'd%")), QStringLiteral("Äbc'd%%"));
        QCOMPARE(ContactRules::hitCountText(3), QStringLiteral("  3 Kontakt(e)"));
    }
};

QTEST_GUILESS_MAIN(TestContactRules)
#include "tst_contactrules.moc"
