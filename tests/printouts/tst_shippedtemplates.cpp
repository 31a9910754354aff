// Every template the program ships is rendered by the printout that uses it, with a sample
// office: no field stays unreplaced, no data set is missing, and the word processor reads
// the result.
#include "support/ReadFile.h"
#include "support/RecordingDocumentOpener.h"
#include "support/TempDatabase.h"

#include "appointments/TerminePrintout.h"
#include "appointments/rules/AppointmentRules.h"
#include "budget/BudgetPrintouts.h"
#include "budget/rules/BudgetHandlers.h"
#include "contacts/ContactPrintouts.h"
#include "data/DataModules.h"
#include "garnish/GarnishPrintout.h"
#include "letters/LetterPrintout.h"
#include "help/HelpPrintout.h"
#include "help/rules/HelpTexts.h"
#include "hhbook/HhbookPrintout.h"
#include "hhbook/PlanActualPrintout.h"
#include "settlement/SettlementPrintouts.h"
#include "settlement/rules/PlanRules.h"
#include "ui/Printout.h"
#include "ui/ScriptedDialogs.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <functional>

namespace {

QString templateDir()
{
    return qEnvironmentVariable("FINORRA_SOURCE_DIR") + QStringLiteral("/resources/Reportvorlagen/");
}

struct Item
{
    const char *query, *description;
    double amount;
    const char *month, *rhythm;
    double remainingDebt = 0;
};

} // namespace

class TestShippedTemplates : public QObject
{
    Q_OBJECT

    TempDatabase m_tmp;
    QTemporaryDir m_out;
    DataModules m_dm;
    ScriptedDialogs m_dialogs;
    RecordingDocumentOpener m_opener;

    // The printout that fills each shipped template, and what a reader must find in it.
    struct Printer
    {
        std::function<void()> print;
        QStringList seen;
        bool landscape = false;
    };
    QMap<QString, Printer> printers()
    {
        DataModules &dm = m_dm;
        return {
            {BudgetPrintouts::HouseholdPlanTemplate,
             {[&dm] { BudgetPrintouts::printHouseholdPlan(dm); },
              {"Familie Müller-Lüdenscheidt", "3 Person(en)", "Überschuss", "Kindergeld", "Ratenkredit Sparkasse",
               "8.450,00 €", "Summe im Monat", "3.730,50 €"}}},
            {BudgetPrintouts::BudgetPlanTemplate,
             {[&dm] { BudgetPrintouts::printBudgetPlan(dm); },
              {"Budgetplan", "Erstellt am 01.12.2026 – Zuletzt", "Dezember", "---", "120,00 €"},
              true}},
            {BudgetPrintouts::BlankFormTemplate,
             {[&dm] { BudgetPrintouts::printBlankForm(dm); },
              {"Erfassungsbogen", "Gebäudeversicherung", "Öffentlicher Verkehr"}}},
            {ContactPrintouts::CardTemplate,
             {[this] { printContact(&ContactPrintouts::printCard); },
              {"Karteikarte", "Müller-Lüdenscheidt, Jürgen", "Königstraße 5", "34117 Kassel", "www.example.org"}}},
            {ContactPrintouts::ListTemplate,
             {[this] { printContact(&ContactPrintouts::printList); },
              {"Kontaktliste", "Müller-Lüdenscheidt, Jürgen", "Postfach 1234, 34111 Kassel", "Mobil 0170 1234567"},
              true}},
            {GarnishPrintout::TemplateName,
             {[&dm] {
                  dm.dmExtras->qrPfaendung->reopen();
                  GarnishPrintout::print(dm);
              },
              {"Pfändungstabelle", "ist voll pfändbar"}}},
            {HelpPrintout::TemplateName,
             {[&dm] {
                  HelpTexts::show(*dm.dmFirma->qrProgInfo, HelpTexts::filterSql(QStringLiteral("Briefe")), true);
                  HelpPrintout::print(dm);
              },
              {"Briefe - Schriftwechsel", "So gehen Sie vor:", "Textbausteine"}}},
            {TerminePrintout::TemplateName,
             {[&dm] {
                  dm.db.exec(QStringLiteral("insert into termine (WvDatum, Uhrzeit, WvKurz, WvLang, WvErledigt, WvErldat, User_id) "
                                            "values ('2026-12-14', '09:30:00', 'Erstgespräch Familie Müller', "
                                            "'Kontoauszüge mitbringen', 1, '2026-12-14', 1), "
                                            "('2026-12-15', null, 'Rückruf Städtische Werke', null, 0, null, 1)"));
                  dm.dmExtras->qrTermine->replaceSql(AppointmentRules::allDatesSql(AppointmentRules::OpenAndDone));
                  TerminePrintout::print(dm, QStringLiteral("Montag, 14. Dezember 2026"));
              },
              {"Terminliste", "Alle Termine, offene und erledigte", "Erstgespräch Familie Müller", "09:30 Uhr",
               "Kontoauszüge mitbringen", "am 14.12.2026", "Rückruf Städtische Werke", "offen"}}},
            {LetterPrintout::StandardTemplate,
             {[this] { printLetter(LetterPrintValues::Form::Standard); },
              {"Stadtwerke Bremen AG", "Theodor-Heuss-Allee 20", "Ratenzahlung", "Sehr geehrte Frau Şahin,", "Ihr Zeichen"}}},
            {LetterPrintout::InternalTemplate,
             {[this] { printLetter(LetterPrintValues::Form::Internal); },
              {"Interne Mitteilung", "Stadtwerke Bremen AG", "Ratenzahlung", "Sehr geehrte Frau Şahin,"}}},
            {HhbookPrintout::TemplateName,
             {[&dm] {
                  dm.db.exec(QStringLiteral("insert into hhplan (Erfdat, Bezeichnung, User_id) "
                                            "values ('2026-01-02', 'Haushaltsbuch von Familie Müller-Lüdenscheidt', 1)"));
                  dm.db.exec(QStringLiteral("insert into hhbuch (Hhplan_id, Buchdat, Rubrik, Rubdet, Betrag, RubText) values "
                                            "(1, '2026-01-01', 'Einkommen', 'Konto', 2150, 'Netto P 1'), "
                                            "(1, '2026-01-03', 'Wohnkosten', 'Konto', 780, 'Kaltmiete')"));
                  dm.dmHh->qrHhplan->reopen();
                  dm.dmHh->qrHhbuch->reopen();
                  HhbookPrintout::print(dm, HhbookRules::ComputeHouseholdBook(*dm.dmHh->qrHhbuch, *dm.dmHh->qrHhplan));
              },
              {"Haushaltsbuch von Familie Müller-Lüdenscheidt", "Kaltmiete", "1.370,00 €", "Überschuss"}}},
            {PlanActualPrintout::TemplateName,
             {[&dm] {
                  PlanActual::Comparison c;
                  c.year = 2026;
                  PlanActual::Line income{0, {}, {}}, rent{1, {}, {}};
                  income.planned.fill(Money::fromCents(215000));
                  income.actual[0] = Money::fromCents(215000);
                  rent.planned.fill(Money::fromCents(78000));
                  rent.actual[0] = Money::fromCents(91000);
                  c.lines = {income, rent};
                  PlanActualPrintout::print(dm, c, QStringLiteral("Haushaltsbuch von Familie Müller-Lüdenscheidt"),
                                            QStringLiteral("Familie Müller-Lüdenscheidt"));
              },
              {"Soll und Ist 2026", "Haushaltsbuch von Familie Müller-Lüdenscheidt", "Wohnkosten", "Januar",
               "910,00 €", "130,00 €", "über Plan", "Jahr 2026", "9.360,00 €"}}},
            {SettlementPrintouts::PlanTemplate,
             {[this] { SettlementPrintouts::printPlan(m_dm, settlementPlan()); },
              {"Schuldenbereinigungsplan", "Anna Müller", "Jürgen Şahin", "3.600,00 €", "Regelungen des Plans"}}},
            {SettlementPrintouts::LettersTemplate,
             {[this] {
                  SettlementPrintouts::printLetters(m_dm, settlementPlan());
                  // The letters stored with the creditors would stand in for the sample letter.
                  m_dm.db.exec(QStringLiteral("delete from schrift where projekt = 'Einigungsversuch'"));
              },
              {"Sehr geehrte Damen und Herren", "Sparkasse Nord", "Jürgen Şahin", "Anlage: Schuldenbereinigungsplan"}}},
            {SettlementPrintouts::FailureTemplate,
             {[this] { SettlementPrintouts::printFailure(m_dm, settlementPlan()); },
              {"Bescheinigung über das Scheitern", "Anna Müller", "abgelehnt", "keine Antwort"}}},
            {SettlementPrintouts::PKontoTemplate,
             {[this] {
                  settlementPlan();
                  m_dm.db.exec(QStringLiteral("insert into pkonto (Kunde_id, Personen, Kindergeld, Kontoinhaber, "
                                              "Kreditinstitut, Iban, Gueltigab, Ausstelldat) values ((select min(adr_id) "
                                              "from adressen where suna = 'Z Müller, Anna'), 2, 518, 'Anna Müller', "
                                              "'Sparkasse Nord', 'DE02 2905 0101 0001 2345 67', :d, :d)"),
                               {{QStringLiteral("d"), QDate(2026, 12, 1)}});
                  SettlementPrintouts::printPKonto(m_dm, m_dm.db.scalar(QStringLiteral("select max(pk_id) from pkonto")).toInt());
              },
              {"Pfändungsschutzkonto", "1.590,00 €", "597,42 €", "332,83 €", "518,00 €", "3.038,25 €"}}},
        };
    }

    // A client with three creditors and a failed plan; made once, its key every time. Their
    // search names sort after the sample contact, which the index card prints as the first.
    int settlementPlan()
    {
        const QVariant existing = m_dm.db.scalar(QStringLiteral("select max(plan_id) from sbplan"));
        if (!existing.isNull())
            return existing.toInt();
        m_dm.db.exec(QStringLiteral("insert into adressen (Name1, Suna, Strasse, Hausnr, Plz, Ort, Akunde) values "
                                    "('Anna Müller', 'Z Müller, Anna', 'Hauptstraße', '1', '28195', 'Bremen', :k)"),
                     {{QStringLiteral("k"), true}});
        const int client = m_dm.db.scalar(QStringLiteral("select max(adr_id) from adressen")).toInt();
        int n = 0;
        for (const QString &creditor : {QStringLiteral("Sparkasse Nord"), QStringLiteral("Jürgen Şahin"), QStringLiteral("Stadtwerke")}) {
            m_dm.db.exec(QStringLiteral("insert into adressen (Name1, Suna, Strasse, Plz, Ort) values (:n, :s, 'Weg 1', '28195', 'Bremen')"),
                         {{QStringLiteral("n"), creditor}, {QStringLiteral("s"), QStringLiteral("Z ") + creditor}});
            m_dm.db.exec(QStringLiteral("insert into forderung (Kunde_id, Glaeub_id, Aktenzeichen, Hauptforderung, Zinsen, Kosten) "
                                        "values (:k, (select max(adr_id) from adressen), :az, 2000, 0, 0)"),
                         {{QStringLiteral("k"), client}, {QStringLiteral("az"), QStringLiteral("AZ-%1").arg(++n)}});
        }
        m_dm.db.exec(QStringLiteral("insert into sbplan (Kunde_id, Planart, Plandat, Laufzeit, Rate) values (:k, 'Ratenplan', :d, 36, 100)"),
                     {{QStringLiteral("k"), client}, {QStringLiteral("d"), QDate(2026, 12, 1)}});
        const int plan = m_dm.db.scalar(QStringLiteral("select max(plan_id) from sbplan")).toInt();
        PlanRules::computeLines(m_dm.db, plan);
        m_dm.db.exec(QStringLiteral("update sbposten set antwort = 'zugestimmt', antwortdat = :d"), {{QStringLiteral("d"), QDate(2026, 12, 20)}});
        m_dm.db.exec(QStringLiteral("update sbposten set antwort = 'abgelehnt' where aktenzeichen = 'AZ-1'"));
        m_dm.db.exec(QStringLiteral("update sbposten set antwort = 'keine Antwort' where aktenzeichen = 'AZ-2'"));
        return plan;
    }

    // A contact with every field the printouts show, printed by `print`.
    void printContact(void (*print)(DataModules &))
    {
        if (m_dm.db.scalar(QStringLiteral("select count(*) from adressen where Suna like 'Müller%'")).toInt() == 0)
            m_dm.db.exec(QStringLiteral(
                "insert into adressen (Name1, Name2, Suna, Strasse, Hausnr, Plz, Ort, Buland, Telefon, Telefax, Mobil, "
                "Email, Internet, Poplz, Pofach) values ('Jürgen Müller-Lüdenscheidt', 'Rechtsanwalt', "
                "'Müller-Lüdenscheidt, Jürgen', 'Königstraße', '5', '34117', 'Kassel', 'Hessen', '0561 10203', "
                "'0561 10204', '0170 1234567', 'kanzlei@example.org', 'www.example.org', '34111', '1234')"));
        m_dm.dmAdressen->qrKontakte->reopen();
        print(m_dm);
    }

    // A letter to a contact with a name outside Windows-1252, printed through `form`.
    void printLetter(LetterPrintValues::Form form)
    {
        if (m_dm.db.scalar(QStringLiteral("select count(*) from schrift")).toInt() == 0) {
            m_dm.db.exec(QStringLiteral("insert into adressen (Name1, Name2, Suna, Land, Plz, Ort, Strasse, Hausnr) values "
                                        "('Stadtwerke Bremen AG', 'Forderungsmanagement', 'STADTWERKE', 'D', '28215', "
                                        "'Bremen', 'Theodor-Heuss-Allee', '20')"));
            m_dm.db.exec(QStringLiteral("insert into schrift (Erfdat, Emp_id, Emp_Anpa, IhrZeichen, Betreff, Text, SB, "
                                        "SBTelefon, User_id) values ('2026-12-03', (select max(Adr_id) from adressen), 'Frau Şahin', 'KD-4711', "
                                        "'Ratenzahlung', :text, 'Susanne Berger', '0421 12345', 1)"),
                         {{QStringLiteral("text"), QStringLiteral("Sehr geehrte Frau Şahin,\n\nwir bitten um Ratenzahlung.")}});
            m_dm.db.exec(QStringLiteral("update firma set Bank1Name1 = 'Sparkasse Bremen', Bank1Ktonr = '1234567', "
                                        "Bank1BLZ = '29050101', Bank1Verwenden = 1"));
            m_dm.dmFirma->qrFirma->reopen();
        }
        m_dm.dmSchrift->openLetters();
        LetterPrintout::print(m_dm, form);
    }

    void addItem(const Item &item)
    {
        DataSet *q = m_dm.dmHh->findChild<DataSet *>(QLatin1String(item.query));
        QVERIFY2(q, item.query);
        q->append();
        for (const Field &f : q->fields()) {
            const QString n = f.name.toLower();
            if (n.endsWith("_bez"))
                q->setValue(f.name, QString::fromUtf8(item.description));
            else if (n.endsWith("_betrag"))
                q->setValue(f.name, item.amount);
            else if (n.endsWith("_monat"))
                q->setValue(f.name, QString::fromLatin1(item.month));
            else if (n.endsWith("_zahlung"))
                q->setValue(f.name, QString::fromUtf8(item.rhythm));
            else if (n.endsWith("_valuta"))
                q->setValue(f.name, item.remainingDebt);
        }
        q->post();
    }

private slots:
    void initTestCase()
    {
        m_tmp.openIn(m_dm.db);
        new BudgetHandlers(*m_dm.dmHh, *m_dm.dmMP);
        m_dm.db.exec(QStringLiteral("update firma set FReportIn = :in, FReportOut = :out"),
                     {{QStringLiteral("in"), templateDir()}, {QStringLiteral("out"), m_out.path() + '/'}});
        QVERIFY(m_dm.dmMP->lookupUser(QStringLiteral("sb")));
        Printout::installOpener(&m_opener);

        TdmHh &hh = *m_dm.dmHh;
        hh.qrBudget->reopen();
        for (DataSet *q : hh.budgetItemQueries())
            q->reopen();
        hh.qrBudget->append();
        hh.qrBudget->setValue(QStringLiteral("BudTitel"), QStringLiteral("Familie Müller-Lüdenscheidt"));
        hh.qrBudget->setValue(QStringLiteral("Bud_Personen"), 3);
        hh.qrBudget->setValue(QStringLiteral("Bud_dat"), QDate(2026, 12, 1));
        hh.qrBudget->post();
        for (const Item &i : std::initializer_list<Item>{
                 {"qrBudEinkommen", "Netto P 1", 2150.00, "01", "monatlich"},
                 {"qrBudEinkommen", "Netto P 2", 980.50, "01", "monatlich"},
                 {"qrBudEinkommen", "Kindergeld", 500.00, "01", "monatlich"},
                 {"qrBudEinkommen", "Weihnachtsgeld", 1200.00, "11", "jährlich"},
                 {"qrBudWohnkosten", "Kaltmiete", 780.00, "01", "monatlich"},
                 {"qrBudWohnkosten", "Heizung", 95.00, "01", "monatlich"},
                 {"qrBudWohnkosten", "Grundsteuer", 120.00, "02", "vierteljährlich"},
                 {"qrBudVersicherungen", "Haftpflicht", 120.00, "03", "jährlich"},
                 {"qrBudAllgemein", "Rundfunkgebühren", 55.08, "01", "vierteljährlich"},
                 {"qrBudLebenshaltung", "Haushaltsgeld", 900.00, "01", "monatlich"},
                 {"qrBudSonstKredite", "Ratenkredit Sparkasse", 245.00, "01", "monatlich", 8450.00},
             })
            addItem(i);
    }
    void cleanupTestCase() { Printout::installOpener(nullptr); }

    void everyTemplateIsFilledByItsPrintout()
    {
        const QStringList shipped = QDir(templateDir()).entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name);
        QVERIFY(shipped.size() >= 4);
        const auto all = printers();
        for (const QString &name : shipped) {
            QVERIFY2(all.contains(name), qPrintable(QStringLiteral("no printout fills ") + name));
            m_dialogs.clear();
            m_opener.opened.clear();
            all[name].print();
            QVERIFY2(m_dialogs.texts().isEmpty(), qPrintable(name + ": " + m_dialogs.texts().join('|')));
            const QString out = m_out.filePath(QStringLiteral("sb") + name);
            QCOMPARE(m_opener.opened, QStringList{out});
            const QByteArray rtf = readFile(out);
            QVERIFY(rtf.startsWith("{\\rtf1"));
            // A field the printout does not fill stays in the document between its backslashes.
            QVERIFY2(!rtf.contains("\\\\"), qPrintable(name + QStringLiteral(" keeps an unfilled field")));
        }
    }

    void wordProcessorReadsEveryPrintout()
    {
        const QString office = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
        if (office.isEmpty())
            QSKIP("LibreOffice is not installed");
        const auto all = printers();
        QTemporaryDir converted, profile;
        QStringList outputs;
        for (auto it = all.cbegin(); it != all.cend(); ++it)
            outputs << m_out.filePath(QStringLiteral("sb") + it.key());
        for (const QString &format : {QStringLiteral("pdf"), QStringLiteral("txt:Text (encoded):UTF8")}) {
            QProcess p;
            p.start(office, QStringList{QStringLiteral("-env:UserInstallation=file://") + profile.path(),
                                        QStringLiteral("--headless"), QStringLiteral("--convert-to"), format,
                                        QStringLiteral("--outdir"), converted.path()}
                                + outputs);
            QVERIFY(p.waitForFinished(240000));
        }
        const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
        for (auto it = all.cbegin(); it != all.cend(); ++it) {
            const QString base = converted.filePath(QStringLiteral("sb") + QFileInfo(it.key()).completeBaseName());
            QVERIFY2(QFileInfo(base + ".pdf").size() > 1000, qPrintable(it.key() + " did not convert to PDF"));
            const QString text = QString::fromUtf8(readFile(base + ".txt")).replace(QChar(0x00A0), u' ');
            for (const QString &seen : it.value().seen)
                QVERIFY2(text.contains(QString(seen).replace(QChar(0x00A0), u' ')),
                         qPrintable(it.key() + ": " + seen + " not found in\n" + text));
            if (pdfinfo.isEmpty())
                continue;
            QProcess info;
            info.start(pdfinfo, {base + ".pdf"});
            QVERIFY(info.waitForFinished(30000));
            const QString size = QString::fromUtf8(info.readAllStandardOutput());
            // A4: 595 x 842 points, turned for the twelve months side by side.
            const QRegularExpression a4(it.value().landscape ? QStringLiteral("Page size:\\s+84[12][.\\d]* x 59[56]")
                                                             : QStringLiteral("Page size:\\s+59[56][.\\d]* x 84[12]"));
            QVERIFY2(a4.match(size).hasMatch(),
                     qPrintable(it.key() + ": " + size));
        }
    }
};

QTEST_GUILESS_MAIN(TestShippedTemplates)
#include "tst_shippedtemplates.moc"
