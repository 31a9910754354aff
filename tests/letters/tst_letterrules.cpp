#include "support/TempDatabase.h"

#include "core/DateUtil.h"
#include "data/DataModules.h"
#include "letters/rules/LetterHandlers.h"
#include "letters/rules/LetterPrintValues.h"
#include "letters/rules/LetterRules.h"

#include <QtTest>

using LetterPrintValues::Form;
using LetterPrintValues::Recipient;

class TestLetterRules : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempDatabase> m_tmp;
    std::unique_ptr<DataModules> m_dm;

    DataSet *firma() { return m_dm->dmFirma->qrFirma; }
    QHash<QString, QString> printed(Form form)
    {
        QHash<QString, QString> h;
        for (const auto &[name, value] :
             LetterPrintValues::values(*m_dm->dmSchrift->qrSchrift, *m_dm->dmSchrift->qrEmpKon, *firma(), form))
            h.insert(name, value);
        return h;
    }
    void useBanks(bool first, bool second)
    {
        m_dm->db.exec("update firma set Bank1Name1 = 'Sparkasse Nord', Bank1Ktonr = '123456', Bank1BLZ = '20050550', "
                      "Bank2Name1 = 'Volksbank Süd', Bank2Ktonr = '987', Bank2Blz = '60090100', "
                      "Bank1Verwenden = :a, Bank2Verwenden = :b",
                      {{"a", first}, {"b", second}});
        firma()->reopen();
    }

private slots:
    void init()
    {
        m_tmp = std::make_unique<TempDatabase>();
        m_dm = std::make_unique<DataModules>();
        m_tmp->openIn(m_dm->db);
        m_dm->db.exec("update benutzer set SbLang = 'Susanne Berger', SbTelefon = '0421 12345' where SbKurz = 'sb'");
        m_dm->db.exec("insert into benutzer (SbKurz, SbLang, Passwort) values ('MK', 'Max Krause', '')");
        new LetterHandlers(*m_dm->dmSchrift, *m_dm->dmMP);
        QVERIFY(m_dm->dmMP->lookupUser("sb"));
        m_dm->dmSchrift->openLetters();
        firma()->reopen();
    }
    void cleanup()
    {
        m_dm.reset();
        m_tmp.reset();
    }

    void nameBlock_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("contact");
        QTest::addColumn<QString>("block");
        QTest::newRow("one line") << QStringList{"Stadtwerke", "", ""} << "" << "Stadtwerke";
        QTest::newRow("two lines") << QStringList{"Stadtwerke", "Forderungsmanagement", ""} << ""
                                   << "Stadtwerke\rForderungsmanagement";
        QTest::newRow("four lines") << QStringList{"Amtsgericht", "Insolvenzabteilung", "Zimmer 4"} << "Frau Ott"
                                    << "Amtsgericht\rInsolvenzabteilung\rZimmer 4\rFrau Ott";
        QTest::newRow("gap before name 3") << QStringList{"A", "", "C"} << "" << "A\r\rC";
        QTest::newRow("no name 1") << QStringList{"", "B", ""} << "" << "\rB";
        QTest::newRow("no name, contact dropped") << QStringList{"", "", ""} << "Herr Maier" << "";
    }
    void nameBlock()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, contact);
        QFETCH(QString, block);
        Recipient r;
        r.name1 = names[0];
        r.name2 = names[1];
        r.name3 = names[2];
        QCOMPARE(LetterPrintValues::nameBlock(r, contact), block);
    }

    // The address field of the window envelope: no empty line before the town, no "D " before
    // a German postcode, the country in capitals on the last line only abroad.
    void addressBlock_data()
    {
        QTest::addColumn<QString>("land");
        QTest::addColumn<bool>("postBox");
        QTest::addColumn<QString>("block");
        QTest::newRow("Deutschland, D") << "D" << false << "Hauptstraße 7a\r28195 Bremen";
        QTest::newRow("Deutschland, leer") << "" << false << "Hauptstraße 7a\r28195 Bremen";
        QTest::newRow("Deutschland, DE") << "de" << false << "Hauptstraße 7a\r28195 Bremen";
        QTest::newRow("Postfach") << "D" << true << "Postfach 10 20 30\r28001 Bremen";
        QTest::newRow("Österreich") << "A" << false << "Hauptstraße 7a\r28195 Bremen\rÖSTERREICH";
        QTest::newRow("unbekanntes Land") << "Ruritanien" << false << "Hauptstraße 7a\r28195 Bremen\rRURITANIEN";
    }

    void addressBlock()
    {
        QFETCH(QString, land);
        QFETCH(bool, postBox);
        QFETCH(QString, block);
        Recipient r;
        r.strasse = "Hauptstraße";
        r.hausnr = "7a";
        r.land = land;
        r.plz = "28195";
        r.ort = "Bremen";
        r.pofach = "10 20 30";
        r.poplz = "28001";
        r.postBox = postBox;
        QCOMPARE(LetterPrintValues::addressBlock(r), block);
        // Nothing known: nothing printed.
        QCOMPARE(LetterPrintValues::addressBlock(Recipient{}), QString());
    }

    void newLetterBelongsToTheUser()
    {
        DataSet *letters = m_dm->dmSchrift->qrSchrift;
        letters->append();
        QCOMPARE(letters->value("User_id").toInt(), 1);
        QCOMPARE(letters->asDate("Erfdat"), DateUtil::today());
        QCOMPARE(letters->asString("SB"), QStringLiteral("Susanne Berger"));
        QCOMPARE(letters->asString("SBKurz"), QStringLiteral("sb"));
        QCOMPARE(letters->asString("SBTelefon"), QStringLiteral("0421 12345"));
        letters->post();

        // Another user neither sees nor prints it; their own letters carry their name.
        QVERIFY(m_dm->dmMP->lookupUser("MK"));
        m_dm->dmSchrift->openLetters();
        QCOMPARE(letters->recordCount(), 0);
        letters->append();
        QCOMPARE(letters->asString("SBKurz"), QStringLiteral("mk"));
        QCOMPARE(letters->asString("SB"), QStringLiteral("Max Krause"));
    }

    void bankSlots_data()
    {
        QTest::addColumn<bool>("first");
        QTest::addColumn<bool>("second");
        QTest::addColumn<int>("form");
        QTest::addColumn<QStringList>("banks");   // ekbank1, ekbank2, ekkonto1, ekkonto2, ekblz1, ekblz2
        const QString s1 = "Sparkasse Nord * Konto 123456 * BLZ 20050550";
        const QString s2 = "Volksbank Süd * Konto 987 * BLZ 60090100";
        QTest::newRow("standard, only bank 2") << false << true << 0 << QStringList{s2, "", "", "", "", ""};
        QTest::newRow("standard, both") << true << true << 0 << QStringList{s1, s2, "", "", "", ""};
        QTest::newRow("standard, none") << false << false << 0 << QStringList{"", "", "", "", "", ""};
        QTest::newRow("internal, only bank 2")
            << false << true << 1 << QStringList{"Volksbank Süd", "", "Konto 987", "", "Bankleitzahl 60090100", ""};
        QTest::newRow("internal, both") << true << true << 1
                                        << QStringList{"Sparkasse Nord", "Volksbank Süd", "Konto 123456", "Konto 987",
                                                       "Bankleitzahl 20050550", "Bankleitzahl 60090100"};
    }
    void bankSlots()
    {
        QFETCH(bool, first);
        QFETCH(bool, second);
        QFETCH(int, form);
        QFETCH(QStringList, banks);
        useBanks(first, second);
        const auto h = printed(Form(form));
        QCOMPARE(QStringList({h["ekbank1"], h["ekbank2"], h["ekkonto1"], h["ekkonto2"], h["ekblz1"], h["ekblz2"]}), banks);
    }

    // With an IBAN the banks print IBAN and BIC; account number and bank code only while
    // there is none (bank 2 here).
    void bankSlotsWithIban()
    {
        useBanks(true, true);
        m_dm->db.exec("update firma set Bank1Iban = 'DE89370400440532013000', Bank1Bic = 'COBADEFF370'");
        firma()->reopen();
        auto h = printed(Form::Standard);
        QCOMPARE(h["ekbank1"], QStringLiteral("Sparkasse Nord * IBAN DE89 3704 0044 0532 0130 00 * BIC COBADEFF370"));
        QCOMPARE(h["ekbank2"], QStringLiteral("Volksbank Süd * Konto 987 * BLZ 60090100"));
        h = printed(Form::Internal);
        QCOMPARE(QStringList({h["ekbank1"], h["ekkonto1"], h["ekblz1"]}),
                 QStringList({"Sparkasse Nord", "IBAN DE89 3704 0044 0532 0130 00", "BIC COBADEFF370"}));
    }

    void letterValues()
    {
        m_dm->db.exec("insert into adressen (Name1, Name2, Suna, Land, Plz, Ort, Strasse, Hausnr) "
                      "values ('Stadtwerke Bremen', 'Kundenservice', 'STADTWERKE', 'D', '28195', 'Bremen', 'Am Wall', '1')");
        DataSet *letters = m_dm->dmSchrift->qrSchrift;
        letters->append();
        letters->setValue("Emp_id", 1);
        letters->setValue("Emp_Anpa", "Frau Şahin");
        letters->setValue("Erfdat", QDate(2026, 12, 3));
        letters->setValue("Betreff", "Ratenzahlung\nKundennummer 4711");
        letters->setValue("Text", "Sehr geehrte Damen und Herren,\r\n\r\nwir bitten um Ratenzahlung.");
        letters->setValue("IhrZeichen", "KD-4711");
        letters->post();
        m_dm->dmSchrift->showRecipient(1);
        const auto h = printed(Form::Standard);
        QCOMPARE(h.size(), 24);
        QCOMPARE(h["ekEmpname"], QStringLiteral("Stadtwerke Bremen\rKundenservice\rFrau Şahin"));
        QCOMPARE(h["ekempanschrift"], QStringLiteral("Am Wall 1\r28195 Bremen"));
        QCOMPARE(h["ekdatum"], QStringLiteral("03.12.2026"));
        QCOMPARE(h["ekberater"], QStringLiteral("Susanne Berger\r0421 12345"));
        QCOMPARE(h["ekbetreff"], QStringLiteral("Ratenzahlung\rKundennummer 4711"));
        QCOMPARE(h["ekbrieftext"], QStringLiteral("Sehr geehrte Damen und Herren,\r\rwir bitten um Ratenzahlung."));
        QCOMPARE(h["ekIhr_Zeichen"], QStringLiteral("KD-4711"));
        QCOMPARE(h["ekfirma_absender"], firma()->asString("Name1") + " * " + firma()->asString("Strasse") + " * "
                                            + firma()->asString("Plz") + " " + firma()->asString("Ort"));

        // A letter without recipient right after one with: nothing of the earlier one remains.
        letters->append();
        letters->post();
        m_dm->dmSchrift->showRecipient(0);
        const auto empty = printed(Form::Standard);
        QCOMPARE(empty["ekEmpname"], QString());
        QCOMPARE(empty["ekempanschrift"], QString());
    }

    void helpers()
    {
        QCOMPARE(LetterRules::titleStart(QString()), QStringLiteral(" - "));
        QCOMPARE(LetterRules::titleStart("STADTWERKE"), QStringLiteral("STADTWERKE - "));
        QCOMPARE(LetterRules::withModule("", "Mit freundlichen Grüßen"), QStringLiteral("Mit freundlichen Grüßen"));
        QCOMPARE(LetterRules::withModule("Hallo", ""), QStringLiteral("Hallo\n"));
        QCOMPARE(LetterRules::withModule("Hallo", "Gruß"), QStringLiteral("Hallo\nGruß"));
    }
};

QTEST_GUILESS_MAIN(TestLetterRules)
#include "tst_letterrules.moc"
