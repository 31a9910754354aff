#include "HhbookFixture.h"

#include "data/DataError.h"
#include "hhbook/import/CamtReader.h"
#include "hhbook/import/CategorySuggester.h"
#include "hhbook/import/CsvStatement.h"
#include "hhbook/import/StatementImport.h"

#include <QFile>
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
        QCOMPARE(Statement::parseAmount(text, &m), ok);
        if (ok)
            QCOMPARE(m, amount);
        QCOMPARE(Statement::parseDate("31.12.23"), QDate(2023, 12, 31));
        QCOMPARE(Statement::parseDate("1.2.2024"), QDate(2024, 2, 1));
        QCOMPARE(Statement::parseDate("2024-02-01"), QDate(2024, 2, 1));
        QVERIFY(!Statement::parseDate("31.02.2024").isValid());
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
        QTest::newRow("camt.052") << QByteArray("<?xml version=\"1.0\"?><Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:"
                                                "camt.052.001.02\"><BkToCstmrAcctRpt/></Document>")
                                  << "Die Datei ist kein Kontoauszug im Format CAMT.053.";
        QTest::newRow("beschädigt") << QByteArray("<Document><BkToCstmrStmt><Stmt><Ntry>\n<Amt>1.00</Amt>\n</Stmt>")
                                    << "Die Datei ist beschädigt oder unvollständig (Zeile 3).";
        QTest::newRow("Fremdwährung")
            << QByteArray("<Document><BkToCstmrStmt><Stmt>\n<Ntry><Amt Ccy=\"CHF\">1.00</Amt><CdtDbtInd>DBIT</CdtDbtInd>"
                          "<Sts>BOOK</Sts><BookgDt><Dt>2024-01-01</Dt></BookgDt></Ntry></Stmt></BkToCstmrStmt></Document>")
            << "Zeile 2: Der Kontoauszug ist nicht in Euro geführt (CHF).";
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
