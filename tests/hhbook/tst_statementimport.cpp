#include "HhbookFixture.h"

#include "data/DataError.h"
#include "hhbook/import/CamtReader.h"
#include "hhbook/import/CategorySuggester.h"
#include "hhbook/import/CsvStatement.h"
#include "hhbook/import/StatementImport.h"
#include "core/GermanFormat.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace StatementImport;

namespace {

QString sample(const QString &name)
{
    return QStringLiteral(STATEMENT_SAMPLES "/") + name;
}

Money eur(double v)
{
    return Money::fromDouble(v);
}

} // namespace

class TestStatementImport : public QObject
{
    Q_OBJECT

    std::unique_ptr<HhbookFixture> m_f;
    int m_book = 0;

    Result importFile(const QString &path)
    {
        const ReadResult r = readFile(m_f->dm.db, path);
        QVector<Row> rows = prepare(m_f->dm.db, m_book, r.entries);
        fileUncategorised(rows, "Allgemeine Kosten");
        return store(m_f->dm.db, m_book, rows);
    }

    QVector<StatementEntry> csv(const QByteArray &content)
    {
        const CsvStatement::Table t = CsvStatement::parse(content);
        return CsvStatement::entries(t, CsvStatement::guessMapping(t.header));
    }

private slots:
    void init()
    {
        m_f = std::make_unique<HhbookFixture>();
        m_book = m_f->addBook(QStringLiteral("Haushaltsbuch von Erika Beispiel"));
    }
    void cleanup() { m_f.reset(); }

    // The hand-written statements of four bank families and a camt.053 file: each is read
    // whole, with the bank's sign, and a second import adds nothing.
    void samples_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("profile");
        QTest::addColumn<int>("count");
        QTest::addColumn<Money>("total");
        QTest::addColumn<QDate>("firstDate");
        QTest::addColumn<QString>("firstParty");
        QTest::addColumn<QString>("firstText");
        QTest::newRow("Sparkasse, Windows-1252, zweistellige Jahre")
            << "sparkasse.csv" << "Sparkasse" << 6 << eur(2150 - 640 - 78.50 - 53.27 - 312.40 + 19.99)
            << QDate(2024, 1, 2) << "Bäckerei Müller & Söhne" << "Lohn/Gehalt 12/2023";
        QTest::newRow("Volksbank, UTF-8 mit BOM")
            << "volksbank.csv" << "Volksbank/Raiffeisenbank" << 5 << eur(1980.45 - 590 - 49 - 23.85 - 150)
            << QDate(2024, 2, 1) << "Arbeitgeber Muster GmbH" << "Gehalt Januar 2024";
        QTest::newRow("ING, Vorspann und zwei Spalten Währung")
            << "ing.csv" << "ING" << 7 << eur(-72.30 - 61.14 - 61.14 - 19.99 + 87.13 + 2100 - 800)
            << QDate(2024, 3, 5) << "Tankstelle Am Ring" << "Tanken 41,2 l Super";
        QTest::newRow("Deutsche Bank, Soll und Haben, Kontostand darunter")
            << "deutschebank.csv" << "Deutsche Bank/Postbank" << 4 << eur(2050 - 640 - 36.90 - 89.95)
            << QDate(2024, 4, 2) << "Arbeitgeber Muster GmbH" << "Gehalt März 2024";
        QTest::newRow("CAMT.053, Sammler geteilt, vorgemerkte Buchung ausgelassen")
            << "camt053.xml" << "CAMT.053" << 6 << eur(2150 - 640 - 78.50 - 53.40 - 4.80 - 4.80)
            << QDate(2024, 5, 2) << "Arbeitgeber Muster GmbH" << "Lohn/Gehalt 04/2024";
    }
    void samples()
    {
        QFETCH(QString, file);
        QFETCH(QString, profile);
        QFETCH(int, count);
        QFETCH(Money, total);
        QFETCH(QDate, firstDate);
        QFETCH(QString, firstParty);
        QFETCH(QString, firstText);

        const ReadResult r = readFile(m_f->dm.db, sample(file));
        QCOMPARE(r.profileName, profile);
        QCOMPARE(r.entries.size(), count);
        Money sum;
        for (const StatementEntry &e : r.entries)
            sum += e.amount;
        QCOMPARE(sum, total);
        QCOMPARE(r.entries.first().bookingDate, firstDate);
        QCOMPARE(r.entries.first().counterparty, firstParty);
        QCOMPARE(r.entries.first().text, firstText);

        const Result first = importFile(sample(file));
        QCOMPARE(first.stored, count);
        QCOMPARE(first.duplicates, 0);
        QCOMPARE(m_f->storedCount("hhbuch"), count);

        QVector<Row> again = prepare(m_f->dm.db, m_book, r.entries);
        for (const Row &row : again)
            QVERIFY2(row.duplicate, qPrintable(row.text));
        const Result second = importFile(sample(file));
        QCOMPARE(second.stored, 0);
        QCOMPARE(second.duplicates, count);
        QCOMPARE(m_f->storedCount("hhbuch"), count);
    }

    // Details that only some layouts have.
    void sampleDetails()
    {
        const auto sparkasse = readFile(m_f->dm.db, sample("sparkasse.csv"));
        QCOMPARE(sparkasse.table.encoding, QStringLiteral("Windows-1252"));
        QCOMPARE(sparkasse.entries.at(1).text, QStringLiteral("Miete Januar; Whg. 3 OG links"));   // quoted separator
        QCOMPARE(sparkasse.entries.at(1).reference, QString());                                   // NOTPROVIDED
        QCOMPARE(sparkasse.entries.at(2).reference, QStringLiteral("STW-2024-01-4711"));
        QCOMPARE(sparkasse.entries.at(3).text, QStringLiteral("Lebensmittel Filiale 0815"));       // line break in quotes

        const auto camt = readFile(m_f->dm.db, sample("camt053.xml"));
        QCOMPARE(camt.format, Statement::Format::Camt053);
        QCOMPARE(camt.entries.at(1).text, QStringLiteral("Miete Mai Whg. 3 OG links"));
        QCOMPARE(camt.entries.at(1).reference, QStringLiteral("2024050300002"));
        QCOMPARE(camt.entries.at(2).amount, eur(-78.50));
        QCOMPARE(camt.entries.at(2).reference, QStringLiteral("2024050600003/1"));
        QCOMPARE(camt.entries.at(3).amount, eur(-53.40));
        QCOMPARE(camt.entries.at(4).counterparty, QStringLiteral("Café & Bäckerei Kranz"));
        QCOMPARE(camt.entries.at(4).valueDate, QDate(2024, 5, 6));
        QCOMPARE(camt.entries.at(4).reference, QString());
    }

    // Amounts are stored without sign, the category telling income from cost; a refund
    // filed as a cost lowers it.
    void storedAmountsFollowTheCategory()
    {
        m_f->addBooking(m_book, QDate(2023, 12, 1), "Einkommen", "Konto", 2100, "Lohn/Gehalt 11/2023");
        m_f->dm.db.exec("update hhbuch set Partner = 'Versandhaus Beispiel', Rubrik = 'Allgemeine Kosten'");
        const ReadResult r = readFile(m_f->dm.db, sample("sparkasse.csv"));
        QVector<Row> rows = prepare(m_f->dm.db, m_book, r.entries);
        rows[0].rubrik = "Einkommen";
        rows[1].rubrik = "Wohnkosten";
        QCOMPARE(rows[5].rubrik, QStringLiteral("Allgemeine Kosten"));   // the refund, by its sender
        fileUncategorised(rows, "Allgemeine Kosten");
        store(m_f->dm.db, m_book, rows);
        auto betrag = [&](const char *text) {
            return m_f->scalar("select Betrag from hhbuch where RubText = :t", {{"t", QString::fromUtf8(text)}}).toDouble();
        };
        QCOMPARE(betrag("Lohn/Gehalt 12/2023"), 2150.0);
        QCOMPARE(betrag("Miete Januar; Whg. 3 OG links"), 640.0);
        QCOMPARE(betrag("Erstattung Rücksendung"), -19.99);
        QCOMPARE(m_f->scalar("select Rubdet from hhbuch where RubText = 'Lohn/Gehalt 12/2023'").toString(),
                 QStringLiteral("Konto"));
        QCOMPARE(m_f->scalar("select Partner from hhbuch where RubText = 'Lohn/Gehalt 12/2023'").toString(),
                 QStringLiteral("Bäckerei Müller & Söhne"));
        QCOMPARE(m_f->scalar("select Bankref from hhbuch where RubText = 'Lohn/Gehalt 12/2023'").toString(),
                 QStringLiteral("LOHN-2023-12-0815"));
    }

    // A booking is found in the book by date, amount and description (as typed by hand, in
    // any case) or by the bank's reference alone; each booking of the book answers for one.
    void duplicates()
    {
        m_f->addBooking(m_book, QDate(2024, 3, 4), "Lebenshaltung", "Konto", 61.14, "LEBENSMITTEL  Filiale 0815");
        m_f->addBooking(m_book, QDate(2024, 3, 20), "Wohnkosten", "Konto", 640, "Miete");
        m_f->dm.db.exec("update hhbuch set Bankref = 'REF-1' where RubText = 'Miete'");
        QVector<StatementEntry> entries(4);
        entries[0] = {QDate(2024, 3, 4), {}, eur(-61.14), "Frischemarkt Nord", "Lebensmittel Filiale 0815", {}};
        entries[1] = entries[0];   // a second, equal purchase that day is a booking of its own
        entries[2] = {QDate(2024, 3, 3), {}, eur(-640), "Hausverwaltung", "Miete März", "REF-1"};
        entries[3] = {QDate(2024, 3, 4), {}, eur(-61.15), "Frischemarkt Nord", "Lebensmittel Filiale 0815", {}};
        QVector<Row> rows = prepare(m_f->dm.db, m_book, entries);
        QCOMPARE(rows[0].duplicate, true);
        QCOMPARE(rows[1].duplicate, false);
        QCOMPARE(rows[2].duplicate, true);
        QCOMPARE(rows[3].duplicate, false);

        rows[3].take = false;
        const Result r = store(m_f->dm.db, m_book, rows);
        QCOMPARE(r.stored, 1);
        QCOMPARE(r.duplicates, 2);
        QCOMPARE(r.leftOut, 1);
        QCOMPARE(resultText(r), QStringLiteral("1 Buchung(en) übernommen.\r2 Buchung(en) waren schon im Haushaltsbuch "
                                               "und wurden nicht noch einmal übernommen.\r1 Buchung(en) wurden ausgelassen."));
        QCOMPARE(m_f->storedCount("hhbuch"), 3);
    }

    // What was stored between preview and storing (another window, another computer) is not
    // stored twice.
    void duplicatesAreCheckedAgainWhenStoring()
    {
        const ReadResult r = readFile(m_f->dm.db, sample("volksbank.csv"));
        QVector<Row> rows = prepare(m_f->dm.db, m_book, r.entries);
        fileUncategorised(rows, "Allgemeine Kosten");
        QVector<Row> meanwhile = rows;
        QCOMPARE(store(m_f->dm.db, m_book, meanwhile).stored, 5);
        const Result late = store(m_f->dm.db, m_book, rows);
        QCOMPARE(late.stored, 0);
        QCOMPARE(late.duplicates, 5);
        QCOMPARE(m_f->storedCount("hhbuch"), 5);
    }

    // An import is stored whole or not at all.
    void importIsOneTransaction()
    {
        if (TempDatabase::onServer()) {
            m_f->dm.db.exec("create function refuse() returns trigger language plpgsql as $$ begin "
                            "if new.RubText = 'Drogeriewaren' then raise exception 'abgelehnt'; end if; return new; end $$");
            m_f->dm.db.exec("create trigger refuse before insert on hhbuch for each row execute function refuse()");
        } else {
            m_f->dm.db.exec("create trigger refuse before insert on hhbuch when new.RubText = 'Drogeriewaren' "
                            "begin select raise(abort, 'abgelehnt'); end");
        }
        const ReadResult r = readFile(m_f->dm.db, sample("volksbank.csv"));
        QVector<Row> rows = prepare(m_f->dm.db, m_book, r.entries);
        fileUncategorised(rows, "Allgemeine Kosten");
        QVERIFY_THROWS_EXCEPTION(DataError, store(m_f->dm.db, m_book, rows));
        QCOMPARE(m_f->storedCount("hhbuch"), 0);
    }

    // Counterparty first, then the words of the text; the latest booking decides between
    // equals; nothing is proposed from bookings outside the eight categories.
    void categorySuggestion()
    {
        CategorySuggester s;
        s.learn("Frischemarkt Nord", "Lebensmittel", "Lebenshaltung", QDate(2024, 1, 5), 1);
        s.learn("Frischemarkt Nord", "Grill und Kohle", "Allgemeine Kosten", QDate(2024, 1, 3), 2);
        s.learn("", "Miete Januar Wohnung", "Wohnkosten", QDate(2024, 1, 3), 3);
        s.learn("", "Tanken Super", "Verkehrskosten", QDate(2024, 1, 4), 4);
        s.learn("", "Tanken Diesel Leihwagen", "Allgemeine Kosten", QDate(2023, 1, 4), 5);
        s.learn("Kiosk", "Zeitschrift", "Sonstiges", QDate(2024, 1, 4), 6);
        QCOMPARE(s.suggest("FRISCHEMARKT  NORD", "Kohle"), QStringLiteral("Lebenshaltung"));
        QCOMPARE(s.suggest("Hausverwaltung Sonnenhof", "SVWZ+Miete Februar"), QStringLiteral("Wohnkosten"));
        QCOMPARE(s.suggest("Tankstelle", "Tanken 40 l"), QStringLiteral("Verkehrskosten"));
        QCOMPARE(s.suggest("Tankstelle", "Tanken Diesel 40 l"), QStringLiteral("Allgemeine Kosten"));
        QCOMPARE(s.suggest("Kiosk", "Zeitschrift"), QString());
        QCOMPARE(s.suggest("Unbekannt", "Überweisung 123"), QString());
    }

    void amountsAndDates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<Money>("amount");
        QTest::newRow("Komma") << "-12,34" << true << eur(-12.34);
        QTest::newRow("Tausenderpunkt") << "1.234,56" << true << eur(1234.56);
        QTest::newRow("Minus hinten") << "12,30-" << true << eur(-12.30);
        QTest::newRow("Euro") << "+5,00 €" << true << eur(5);
        QTest::newRow("Punkt als Dezimalzeichen") << "1234.5" << true << eur(1234.5);
        QTest::newRow("Punkt als Tausender") << "1.234" << true << eur(1234);
        QTest::newRow("Text") << "zwölf" << false << Money();
        QTest::newRow("zwei Kommas") << "1,2,3" << false << Money();
        QTest::newRow("leer") << "" << false << Money();
    }
    void amountsAndDates()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(Money, amount);
        Money m;
        QCOMPARE(GermanFormat::tryParseMoney(text, &m), ok);
        if (ok)
            QCOMPARE(m, amount);
        auto date = [](const char *text) {
            QDate d;
            GermanFormat::tryParseDate(text, &d);
            return d;
        };
        QCOMPARE(date("31.12.23"), QDate(2023, 12, 31));
        QCOMPARE(date("1.2.2024"), QDate(2024, 2, 1));
        QCOMPARE(date("2024-02-01"), QDate(2024, 2, 1));
        QVERIFY(!date("31.02.2024").isValid());
    }

    // Separators other than the semicolon, and a layout the program does not know, mapped by
    // the adviser and remembered for the next file with this header.
    void otherLayoutsAndBankProfiles()
    {
        const auto comma = csv("Datum,Empfänger,Verwendungszweck,Betrag\r\n"
                               "01.06.2024,Kiosk,\"Zeitung, Juni\",\"-3,50\"\r\n"
                               "02.06.2024,Kiosk,Zeitung,\"-2,00\"\r\n");
        QCOMPARE(comma.size(), 2);
        QCOMPARE(comma.first().text, QStringLiteral("Zeitung, Juni"));
        QCOMPARE(comma.first().amount, eur(-3.5));
        const auto tab = csv("Datum\tEmpfänger\tVerwendungszweck\tBetrag\n01.06.2024\tKiosk\tZeitung\t-3,50\n");
        QCOMPARE(tab.size(), 1);

        const QByteArray own = "Tag;Wer;Was;Wie viel\n01.06.2024;Kiosk;Zeitung;-3,50\n02.06.2024;Bäcker;Brot;-4,10\n";
        ReadResult r = read(m_f->dm.db, own);
        QVERIFY(!r.knownProfile);
        QCOMPARE(r.profileName, QStringLiteral("Eigenes Format"));
        QCOMPARE(r.mapping.missing(), QStringLiteral("Bitte die Spalten zuordnen: Buchungsdatum, Betrag (oder Soll und Haben), "
                                                     "Verwendungszweck oder Empfänger."));
        QVERIFY(r.entries.isEmpty());
        CsvStatement::ColumnMapping m;
        m.date = 0;
        m.counterparty = 1;
        m.text = 2;
        m.amount = 3;
        BankProfiles::remember(m_f->dm.db, CsvStatement::headerKey(r.table), "Meine Bank", m);
        BankProfiles::remember(m_f->dm.db, CsvStatement::headerKey(r.table), "Meine Bank", m);
        QCOMPARE(m_f->storedCount("bankprofil"), 1);

        r = read(m_f->dm.db, own);
        QVERIFY(r.knownProfile);
        QCOMPARE(r.profileName, QStringLiteral("Meine Bank"));
        QCOMPARE(r.mapping, m);
        QCOMPARE(r.entries.size(), 2);
        QCOMPARE(r.entries.at(1).counterparty, QStringLiteral("Bäcker"));
    }

    // Layouts as banks write them, each with what made it hard: the header found by its
    // words under a preamble, the other party by the sign, an S/H column without a name,
    // trailing separators, English headers with a decimal point, rows that are no bookings.
    void layouts_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QList<Money>>("amounts");
        QTest::addColumn<QStringList>("parties");
        QTest::addColumn<QString>("firstText");
        QTest::addColumn<QString>("leftOut");
        QTest::newRow("DKB seit 2023") << "dkb2023.csv" << "DKB" << QList<Money>{eur(2310), eur(-1040), eur(-65.90)}
                                       << QStringList{"Arbeitgeber Muster GmbH", "Hausverwaltung Sonnenhof", "Frischemarkt Nord"}
                                       << "Gehalt Februar"
                                       << "Ausgelassen, weil keine Buchungen: 1 vorgemerkter, noch nicht gebuchter Umsatz.";
        QTest::newRow("DKB bis 2023") << "dkb2018.csv" << "DKB" << QList<Money>{eur(250), eur(-98)}
                                      << QStringList{"Kindergeldkasse", "Stadtwerke Beispielstadt"} << "Kindergeld März" << "";
        QTest::newRow("Postbank") << "postbank.csv" << "Postbank" << QList<Money>{eur(1350), eur(-12.50), eur(-87.50)}
                                  << QStringList{"Deutsche Rentenversicherung", "Sportverein Beispiel e.V.", "Hausverwaltung Sonnenhof"}
                                  << "Rente März"
                                  << "Ausgelassen, weil keine Buchungen: 2 geplante Umsätze (Terminaufträge).";
        QTest::newRow("Volksbank mit S/H") << "volksbank2012.csv" << "Volksbank/Raiffeisenbank"
                                           << QList<Money>{eur(-36.90), eur(2050)}
                                           << QStringList{"Musterversicherung AG", "Arbeitgeber Muster GmbH"}
                                           << "Basislastschrift Hausrat 2. Quartal"
                                           << "Ausgelassen, weil keine Buchungen: 2 Zeilen mit Kontoständen (Salden).";
        QTest::newRow("N26 englisch") << "n26.csv" << "N26" << QList<Money>{eur(2100), eur(-45.50)}
                                      << QStringList{"Arbeitgeber Muster GmbH", "Bergbahn Zermatt"} << "Salary April" << "";
    }
    void layouts()
    {
        QFETCH(QString, file);
        QFETCH(QString, profile);
        QFETCH(QList<Money>, amounts);
        QFETCH(QStringList, parties);
        QFETCH(QString, firstText);
        QFETCH(QString, leftOut);
        const ReadResult r = readFile(m_f->dm.db, sample(file));
        QCOMPARE(r.profileName, profile);
        QCOMPARE(r.mapping.missing(), QString());
        QList<Money> gotAmounts;
        QStringList gotParties;
        for (const StatementEntry &e : r.entries) {
            gotAmounts << e.amount;
            gotParties << e.counterparty;
        }
        QCOMPARE(gotAmounts, amounts);
        QCOMPARE(gotParties, parties);
        QCOMPARE(r.entries.first().text, firstText);
        QCOMPARE(r.leftOut.text(), leftOut);
    }

    // Details of single layouts: the payment abroad, the header narrower than its rows,
    // a named S/H column, synonyms of a bank we know nothing about.
    void layoutDetails()
    {
        const ReadResult n26 = readFile(m_f->dm.db, sample("n26.csv"));
        QCOMPARE(n26.entries.at(1).foreign, QStringLiteral("44,30 CHF"));
        QVERIFY(n26.entries.at(1).inEuro());

        const QString utf16 = QStringLiteral("Buchungstag;Verwendungszweck;Betrag\n01.06.2024;Brötchen;-3,50\n"
                                             "02.06.2024;Milch;-1,10\n");
        QByteArray utf16Bytes("\xFF\xFE");
        utf16Bytes.append(reinterpret_cast<const char *>(utf16.utf16()), utf16.size() * 2);
        const ReadResult fromUtf16 = read(m_f->dm.db, utf16Bytes);
        QCOMPARE(fromUtf16.entries.size(), 2);
        QCOMPARE(fromUtf16.entries.first().text, QStringLiteral("Brötchen"));

        const auto trailing = csv("Buchungstag;Verwendungszweck;Betrag\n01.06.2024;Brot;-3,50;\n02.06.2024;Milch;-1,10;\n");
        QCOMPARE(trailing.size(), 2);

        const auto named = csv("Datum;Text;Betrag;Soll/Haben\n01.06.2024;Brot;3,50;S\n02.06.2024;Lohn;100,00;H\n"
                               "03.06.2024;Pfand;0,25;+\n");
        QCOMPARE((QList<Money>{named.at(0).amount, named.at(1).amount, named.at(2).amount}),
                 (QList<Money>{eur(-3.5), eur(100), eur(0.25)}));
        QVERIFY_THROWS_EXCEPTION(ImportError, csv("Datum;Text;Betrag;S/H\n01.06.2024;Brot;3,50;X\n02.06.2024;Lohn;1,00;H\n"));

        const auto unknownBank = csv("Booking Date;Sender / Empfänger;Buchungsinformationen;Amount (EUR);IBAN\n"
                                     "2024-06-01;Kiosk;Zeitung;-3.50;DE00\n2024-06-02;Bäckerei;Brot;-4.10;DE00\n");
        QCOMPARE(unknownBank.size(), 2);
        QCOMPARE(unknownBank.at(1).counterparty, QStringLiteral("Bäckerei"));
        QCOMPARE(unknownBank.at(1).amount, eur(-4.10));

        // A Sparkasse export whose header reads like ING's is named after the bank it names.
        const ReadResult sparkasse = read(m_f->dm.db, "Sparkasse Musterstadt;Umsätze\n\nBuchungstag;Valuta;Auftraggeber/Empfänger;"
                                                      "Verwendungszweck;Betrag\n02.01.2024;02.01.2024;Kiosk;Zeitung;-3,50\n");
        QCOMPARE(sparkasse.profileName, QStringLiteral("Sparkasse"));

        // A booking in another currency in a CSV has no euro amount: it cannot be taken.
        const auto usd = csv("Buchungstag;Verwendungszweck;Betrag;Währung\n01.06.2024;App;-9,99;USD\n02.06.2024;Brot;-1,00;EUR\n");
        Money euro;
        QVERIFY(!usd.at(0).euroAmount(&euro));
        QVERIFY(usd.at(1).euroAmount(&euro));
    }

    // camt.052 like camt.053, pending entries left out, every account of a file apart, and
    // a foreign currency with the euro amount the bank reports.
    void camtAccountsAndCurrencies()
    {
        const ReadResult report = readFile(m_f->dm.db, sample("camt052.xml"));
        QCOMPARE(report.profileName, QStringLiteral("CAMT.052"));
        QCOMPARE(report.entries.size(), 1);
        QCOMPARE(report.entries.first().amount, eur(-42.10));
        QCOMPARE(report.entries.first().counterparty, QStringLiteral("Frischemarkt Nord"));
        QCOMPARE(report.leftOut.pending, 1);
        QCOMPARE(report.accounts.first().title(), QStringLiteral("DE00 5001 0517 0000 0000 03 – Erika Beispiel (EUR)"));

        ReadResult r = readFile(m_f->dm.db, sample("camt053-konten.xml"));
        QCOMPARE(r.accounts.size(), 2);
        QCOMPARE(r.account, 0);
        QCOMPARE(r.accounts.at(1).title(), QStringLiteral("US-0099 – Erika Beispiel (USD)"));
        QCOMPARE(r.entries.size(), 3);
        const StatementEntry &chf = r.entries.at(1);
        QCOMPARE(chf.currency, QStringLiteral("CHF"));
        QCOMPARE(chf.amount, eur(-97.40));
        Money euro;
        QVERIFY(chf.euroAmount(&euro));
        QCOMPARE(euro, eur(-101.25));
        QVERIFY(!r.entries.at(2).euroAmount(&euro));   // USD without a euro amount

        // In the book: the euro booking is taken, the others are the adviser's to confirm;
        // the one without euro amount cannot be taken at all.
        QVector<Row> rows = prepare(m_f->dm.db, m_book, r.entries);
        QCOMPARE((QList<bool>{rows.at(0).take, rows.at(1).take, rows.at(2).take}), (QList<bool>{true, false, false}));
        QCOMPARE(rowNote(rows.at(1)), QStringLiteral("Fremdwährung -97,40 CHF, in Euro -101,25\u00A0€"));
        QCOMPARE(rowNote(rows.at(2)), QStringLiteral("-30,00 USD: kein Euro-Betrag der Bank, bitte von Hand buchen"));
        rows[1].take = true;
        fileUncategorised(rows, "Allgemeine Kosten");
        QCOMPARE(store(m_f->dm.db, m_book, rows).stored, 2);
        QCOMPARE(m_f->scalar("select Betrag from hhbuch where RubText = 'Zimmer 12'").toDouble(), 101.25);
        rows[2].take = true;
        try {
            store(m_f->dm.db, m_book, rows);
            QFAIL("stored without a euro amount");
        } catch (const ImportError &e) {
            QCOMPARE(e.message(), QStringLiteral("Die Buchung vom 06.07.2024 über -30,00 USD hat keinen Euro-Betrag und kann "
                                                 "nicht übernommen werden."));
        }

        r.chooseAccount(1);
        QCOMPARE(r.entries.size(), 1);
        QCOMPARE(r.entries.first().currency, QStringLiteral("USD"));
    }

    // No booking without a category: the import refuses, or files them all under one; a
    // booking of a recurring series a few days off is a probable duplicate, not taken.
    void categoriesAndSeries()
    {
        m_f->addBooking(m_book, QDate(2024, 2, 1), "Wohnkosten", "Konto", 590, "Miete (Dauerauftrag)");
        m_f->addBooking(m_book, QDate(2024, 2, 5), "Verkehrskosten", "Konto", 49, "Monatskarte");
        m_f->addBooking(m_book, QDate(2024, 1, 1), "Wohnkosten", "Konto", 590, "Miete Nutzungsgebühr");
        m_f->dm.db.exec("update hhbuch set Partner = 'Wohnungsbau eG' where RubText = 'Miete Nutzungsgebühr'");
        const ReadResult r = readFile(m_f->dm.db, sample("volksbank.csv"));
        QVector<Row> rows = prepare(m_f->dm.db, m_book, r.entries);
        // the rent of 02.02. (Wohnkosten by its payee) is the series booking of 01.02.
        QCOMPARE(rows.at(1).rubrik, QStringLiteral("Wohnkosten"));
        QVERIFY(rows.at(1).probable);
        QVERIFY(!rows.at(1).take);
        QCOMPARE(rowNote(rows.at(1)), QStringLiteral("vermutlich schon gebucht (Buchung vom 01.02.2024)"));
        QVERIFY(!rows.at(2).probable);   // the ticket has no category yet: nothing to compare
        QCOMPARE(rows.at(2).rubrik, QString());

        try {
            store(m_f->dm.db, m_book, rows);
            QFAIL("stored without categories");
        } catch (const ImportError &e) {
            QCOMPARE(e.message(), QStringLiteral("4 Buchungen haben noch keine Kategorie. Bitte wählen Sie für jede eine, oder "
                                                 "legen Sie eine Kategorie für alle Buchungen ohne Kategorie fest."));
        }
        QCOMPARE(m_f->storedCount("hhbuch"), 3);
        QCOMPARE(fileUncategorised(rows, "Allgemeine Kosten"), 4);
        const Result stored = store(m_f->dm.db, m_book, rows);
        QCOMPARE(stored.stored, 4);
        QCOMPARE(stored.leftOut, 1);
        QCOMPARE(m_f->scalar("select count(*) from hhbuch where Rubrik is null or Rubrik = ''").toInt(), 0);
    }

    // What is no statement ends at once with a German message that says what was found.
    void badFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        const QString expected = QStringLiteral("Die Datei auszug.csv ist kein Kontoauszug (erwartet: CSV-Export oder "
                                                "CAMT.052/053).\rGefunden: %1.");
        QTest::newRow("PDF") << QByteArray("%PDF-1.7\n%\xE2\xE3\xCF\xD3\n1 0 obj") << expected.arg("ein PDF-Dokument");
        QByteArray noise(4096, '\0');
        for (int i = 0; i < noise.size(); ++i)
            noise[i] = char((i * 7919 + 13) % 256);
        QTest::newRow("Zufallsbytes") << noise << expected.arg("Binärdaten, kein Text");
        QTest::newRow("HTML") << QByteArray("<!DOCTYPE html>\n<html><body><table><tr><td>01.01.2024</td><td>-1,00</td></tr>"
                                            "</table></body></html>")
                              << expected.arg("eine HTML-Seite");
        QTest::newRow("andere XML") << QByteArray("<?xml version=\"1.0\"?><rss><channel/></rss>")
                                    << expected.arg("eine XML-Datei ohne Kontoauszug (<rss>)");
        const QString dtd = QStringLiteral("Die Datei auszug.csv enthält eine Dokumenttyp-Definition (DTD) und wird nicht "
                                           "gelesen: Kontoauszüge der Banken enthalten keine, und ihre Entitäten könnten "
                                           "andere Dateien lesen oder den Speicher füllen.");
        QByteArray laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE Document [<!ENTITY x \"" + QByteArray(4000, 'x')
                            + "\">]>\n<Document><BkToCstmrStmt><Stmt><Ntry><AddtlNtryInf>";
        while (laughs.size() < 80 * 1024)
            laughs += "&x;";
        laughs += "</AddtlNtryInf></Ntry></Stmt></BkToCstmrStmt></Document>";
        QTest::newRow("Entität 25.000-fach") << laughs << dtd;
        QTest::newRow("externe Entität")
            << QByteArray("<?xml version=\"1.0\"?>\n<!DOCTYPE Document [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>\n"
                          "<Document><BkToCstmrStmt><Stmt><Ntry><AddtlNtryInf>&x;</AddtlNtryInf></Ntry></Stmt>"
                          "</BkToCstmrStmt></Document>")
            << dtd;
        QByteArray many = "Buchungstag;Verwendungszweck;Betrag\n";
        for (int i = 0; i < Statement::MaxRows; ++i)
            many += "01.01.2024;A;-1,00\n";
        QTest::newRow("zu viele Zeilen") << many
                                         << "Die Datei auszug.csv hat 100.001 Zeilen; ein Kontoauszug wird bis 100.000 Zeilen gelesen.";
    }
    void badFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath("auszug.csv");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        try {
            readFile(m_f->dm.db, path);
            QFAIL("read without error");
        } catch (const ImportError &e) {
            QCOMPARE(e.message(), message);
        }
    }

    // A file above 20 MB is refused by its size, before it is read.
    void tooLarge()
    {
        QTemporaryDir dir;
        QFile f(dir.filePath("gross.csv"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(Statement::MaxBytes + 1024 * 1024));   // sparse: nothing is written
        f.close();
        try {
            readFile(m_f->dm.db, f.fileName());
            QFAIL("read without error");
        } catch (const ImportError &e) {
            QCOMPARE(e.message(), QStringLiteral("Die Datei gross.csv ist mit 21,0 MB zu groß für einen Kontoauszug (höchstens 20 MB)."));
        }
    }

    // Files that cannot be read say why, naming the line.
    void unreadableFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::newRow("kein Datum") << QByteArray("Buchungstag;Verwendungszweck;Betrag\n01.01.2024;A;-1,00\n"
                                                  "32.01.2024;B;-2,00\n")
                                    << "Zeile 3: '32.01.2024' ist kein gültiges Datum.";
        QTest::newRow("kein Betrag") << QByteArray("Buchungstag;Verwendungszweck;Betrag\n01.01.2024;A;-1,00\n"
                                                   "02.01.2024;B;zwei\n")
                                     << "Zeile 3: 'zwei' ist kein gültiger Betrag.";
        QTest::newRow("Betrag fehlt") << QByteArray("Buchungstag;Verwendungszweck;Betrag\n01.01.2024;A;-1,00\n"
                                                    "02.01.2024;B;\n")
                                      << "Zeile 3: Die Buchung hat keinen Betrag.";
        QTest::newRow("verrutschte Zeile") << QByteArray("Buchungstag;Verwendungszweck;Betrag\n01.01.2024;A;-1,00\n"
                                                         "02.01.2024;B;C;-2,00\n")
                                           << "Zeile 3: Die Zeile hat 4 statt 3 Felder.";
        QTest::newRow("keine Tabelle") << QByteArray("Hallo\nWelt\n")
                                       << "In der Datei wurde keine Tabelle mit Buchungen gefunden.";
        QTest::newRow("camt.052 ohne Bericht")
            << QByteArray("<?xml version=\"1.0\"?><Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:"
                          "camt.052.001.02\"><BkToCstmrAcctRpt/></Document>")
            << "Die Datei ist kein Kontoauszug im Format CAMT.052 oder CAMT.053.";
        QTest::newRow("beschädigt") << QByteArray("<Document><BkToCstmrStmt><Stmt><Ntry>\n<Amt>1.00</Amt>\n</Stmt>")
                                    << "Die Datei ist beschädigt oder unvollständig (Zeile 3).";
        QTest::newRow("Betrag mit Komma")
            << QByteArray("<Document><BkToCstmrStmt><Stmt>\n<Ntry><Amt Ccy=\"EUR\">1,00</Amt><CdtDbtInd>DBIT</CdtDbtInd>"
                          "<Sts>BOOK</Sts><BookgDt><Dt>2024-01-01</Dt></BookgDt></Ntry></Stmt></BkToCstmrStmt></Document>")
            << "Zeile 2: '1,00' ist kein gültiger Betrag.";
    }
    void unreadableFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        try {
            read(m_f->dm.db, content);
            QFAIL("read without error");
        } catch (const ImportError &e) {
            QCOMPARE(e.message(), message);
        }
    }
};

QTEST_GUILESS_MAIN(TestStatementImport)
#include "tst_statementimport.moc"
