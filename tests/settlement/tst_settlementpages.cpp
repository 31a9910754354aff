#include "support/GuiTest.h"
#include "support/ReadFile.h"
#include "support/RecordingDocumentOpener.h"
#include "support/TempDatabase.h"

#include "contacts/ContactsModule.h"
#include "contacts/ContactsPage.h"
#include "core/DateUtil.h"
#include "core/GermanFormat.h"
#include "data/DataModules.h"
#include "settlement/SettlementPrintouts.h"
#include "settlement/SettlementSetup.h"
#include "settlement/rules/PlanRules.h"
#include "settlement/rules/SettlementData.h"
#include "ui/DbComboBox.h"
#include "ui/DbEdit.h"
#include "ui/Printout.h"
#include "ui/RecordDialog.h"
#include "ui/ScriptedDialogs.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QTabWidget>

class TestSettlementPages : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempDatabase> m_tmp;
    std::unique_ptr<QTemporaryDir> m_out;
    std::unique_ptr<DataModules> m_dm;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<ContactsModule> m_module;
    std::unique_ptr<QWidget> m_page;
    RecordingDocumentOpener m_opener;
    int m_client = 0;

    void click(QWidget *root, const QString &name) { GuiTest::find<QAbstractButton>(root, name)->click(); }
    void type(QWidget *root, const QString &name, const QString &text)
    {
        auto *e = GuiTest::find<QLineEdit>(root, name);
        e->selectAll();
        GuiTest::type(e, text);
        GuiTest::leave(e);
    }
    QString label(QWidget *root, const QString &name) { return GuiTest::find<QLabel>(root, name)->text(); }
    // Closes the window however the checks inside it end, so a failed check cannot block.
    struct CloseAtEnd
    {
        QDialog *dlg;
        ~CloseAtEnd() { QMetaObject::invokeMethod(dlg, "close", Qt::QueuedConnection); }
    };
    SettlementData &data() { return SettlementData::of(*m_dm); }
    QString output(const QString &file) { return QString::fromLatin1(readFile(m_out->filePath("sb" + file))); }

    // The access keys of the visible buttons under `root`, each with the captions using it;
    // empty when every key is used once.
    static QStringList clashingKeys(QWidget *root)
    {
        QMap<QChar, QStringList> byKey;
        int keys = 0;
        for (QAbstractButton *b : root->findChildren<QAbstractButton *>()) {
            if (!b->isVisibleTo(root))
                continue;
            const QString t = b->text();
            const qsizetype amp = t.indexOf(u'&');
            if (amp >= 0 && amp + 1 < t.size() && t.at(amp + 1) != u'&') {
                byKey[t.at(amp + 1).toLower()] << t;
                ++keys;
            }
        }
        if (keys < 5)
            return {QStringLiteral("(nur %1 Tasten gefunden)").arg(keys)};
        QStringList clashes;
        for (auto it = byKey.cbegin(); it != byKey.cend(); ++it)
            if (it.value().size() > 1)
                clashes << it.value().join(" / ");
        return clashes;
    }
    void makeClient()
    {
        m_dm->db.exec("update adressen set akunde = :k where adr_id = :id", {{"k", true}, {"id", m_client}});
        m_dm->dmAdressen->qrKontakte->reopen();
        QVERIFY(m_dm->dmAdressen->qrKontakte->locate("Adr_id", m_client));
    }

    int addContact(const QString &name1, const QString &suna, const QString &street, const QString &town)
    {
        m_dm->db.exec("insert into adressen (Name1, Suna, Strasse, Hausnr, Plz, Ort, Akunde, Geburtstag) "
                      "values (:n, :s, :st, '1', '28195', :o, :k, :g)",
                      {{"n", name1}, {"s", suna}, {"st", street}, {"o", town}, {"k", false}, {"g", QVariant(QDate())}});
        return m_dm->db.scalar("select max(adr_id) from adressen").toInt();
    }
    void addClaim(int creditor, const QString &reference, double amount)
    {
        m_dm->db.exec("insert into forderung (Kunde_id, Glaeub_id, Aktenzeichen, Art, Hauptforderung, Zinsen, Kosten) "
                      "values (:k, :g, :az, 'Bankkredit', :h, 0, 0)",
                      {{"k", m_client}, {"g", creditor}, {"az", reference}, {"h", amount}});
    }

private slots:
    void init()
    {
        m_tmp = std::make_unique<TempDatabase>();
        m_out = std::make_unique<QTemporaryDir>();
        m_dm = std::make_unique<DataModules>();
        m_tmp->openIn(m_dm->db);
        m_dm->db.exec("update benutzer set SbLang = 'Susanne Berger', SbTelefon = '0421 12345' where SbKurz = 'sb'");
        m_dm->db.exec("update firma set Name1 = 'Schuldnerberatung Bremen-Mitte', FReportIn = :in, FReportOut = :out",
                      {{"in", qEnvironmentVariable("FINORRA_SOURCE_DIR") + "/resources/Reportvorlagen/"},
                       {"out", m_out->path() + '/'}});
        m_dm->db.exec("insert into plzort (Plz, Ort) values ('28195', 'Bremen')");
        QVERIFY(m_dm->dmMP->lookupUser("sb"));
        m_client = addContact("Anna Müller", "Müller, Anna", "Hauptstraße", "Bremen");
        m_dialogs = std::make_unique<ScriptedDialogs>();
        Printout::installOpener(&m_opener);
        m_opener.opened.clear();
        m_module = std::make_unique<ContactsModule>(*m_dm, SettlementSetup::contactTabs(*m_dm));
        m_page.reset(m_module->createPage(nullptr));
        m_module->activate();
        QVERIFY(m_dm->dmAdressen->qrKontakte->locate("Adr_id", m_client));
    }
    void cleanup()
    {
        m_page.reset();
        m_module.reset();
        Printout::installOpener(nullptr);
        m_dialogs.reset();
        m_dm.reset();
        m_tmp.reset();
    }

    // The tab marks a contact as client, then takes its claims with the record toolbar.
    void claimsOfAClientOnTheContactsPage()
    {
        const int bank = addContact("Sparkasse Nord", "Sparkasse Nord", "Am Markt", "Bremen");
        auto *tabs = GuiTest::find<QTabWidget>(m_page.get(), "adrTabs");
        QCOMPARE(tabs->tabText(1), QString("Gläubiger"));
        QWidget *tab = GuiTest::find<QWidget>(m_page.get(), "glTab");
        QVERIFY(!GuiTest::find<QAbstractButton>(tab, "gltbutNeu")->isEnabled());

        GuiTest::find<QCheckBox>(tab, "glcbKlient")->click();
        QVERIFY(m_dm->db.scalar("select akunde from adressen where adr_id = :id", {{"id", m_client}}).toBool());

        click(tab, "gltbutNeu");
        RecordDialog::whenShown([this](QDialog *dlg) {
            GuiTest::find<QLineEdit>(dlg, "eSuchen")->setText("spar");
            click(dlg, "butGo");
            click(dlg, "butUebernehmen");
        });
        click(tab, "glbutGlaeubiger");
        QCOMPARE(label(tab, "gllbGlaeubiger"), QString("Sparkasse Nord"));
        type(tab, "dbeGlAktenzeichen", "KTO-4711/Ü");
        type(tab, "dbeGlHaupt", "2500,50");
        type(tab, "dbeGlZinsen", "-5");
        click(tab, "gltbutSpeichern");
        QCOMPARE(m_dialogs->lastText(), QString("Der Betrag der Zinsen darf nicht negativ sein."));
        type(tab, "dbeGlZinsen", "120,25");
        click(tab, "gltbutSpeichern");
        QCOMPARE(m_dialogs->texts(), QStringList{"Der Betrag der Zinsen darf nicht negativ sein."});
        QCOMPARE(m_dm->db.scalar("select glaeub_id from forderung").toInt(), bank);
        QCOMPARE(label(tab, "gllbSumme"), QString("1 Forderung(en), zusammen 2.620,75\u00a0€"));

        // A contact that is no client offers no claims.
        m_dm->dmAdressen->qrKontakte->reopen();
        QVERIFY(m_dm->dmAdressen->qrKontakte->locate("Adr_id", bank));
        QVERIFY(!GuiTest::find<QCheckBox>(tab, "glcbKlient")->isChecked());
        QVERIFY(!GuiTest::find<QAbstractButton>(tab, "gltbutNeu")->isEnabled());
    }

    // Six creditors get a plan, one letter each in one document and stored with each of
    // them, and the certificate once the attempt has failed.
    void planLettersAndFailure()
    {
        const QStringList creditors = {"Sparkasse Nord", "Stadtwerke Bremen AG", "Jürgen Şahin (Vermieter)",
                                       "Finanzamt Bremen", "Inkasso Schuhmann GmbH", "Versandhaus Nordlicht"};
        const double amounts[] = {8200.00, 1240.37, 2100.00, 930.10, 455.55, 1274.00};
        m_dm->db.exec("update adressen set akunde = :k where adr_id = :id", {{"k", true}, {"id", m_client}});
        QList<int> ids;
        for (int i = 0; i < creditors.size(); ++i) {
            ids << addContact(creditors.at(i), creditors.at(i), "Weg", "Bremen");
            addClaim(ids.last(), QString("AZ-%1").arg(i + 1), amounts[i]);
        }
        m_dm->db.exec("insert into budget (BudTitel, User_id, Pfand, Sum_Ek, Sum_Lk) values ('Haushalt Müller', 1, 240, 1900, 1700)");
        m_dm->dmAdressen->qrKontakte->reopen();
        QVERIFY(m_dm->dmAdressen->qrKontakte->locate("Adr_id", m_client));
        QWidget *tab = GuiTest::find<QWidget>(m_page.get(), "glTab");

        bool shown = false;
        RecordDialog::whenShown([&](QDialog *dlg) {
            shown = true;
            CloseAtEnd closing{dlg};
            click(dlg, "sbtbutNeu");
            click(dlg, "sbbutRate");
            QCOMPARE(GuiTest::find<QLineEdit>(dlg, "dbeSbRate")->text(), QString("240,00\u00a0€"));
            click(dlg, "sbtbutSpeichern");
            click(dlg, "sbbutAufteilen");
            QCOMPARE(label(dlg, "sblbSumme"),
                     QString("6 Gläubiger · Forderungen 14.200,02\u00a0€ · Rate mtl. 240,00\u00a0€ · Gesamt 8.640,00\u00a0€ · "
                             "Quote 60,84 %"));
            click(dlg, "sbbutPlanDruck");
            click(dlg, "sbbutAnschreiben");
            QCOMPARE(m_dialogs->lastText(), QString("6 Anschreiben wurden erstellt und bei den Briefen der Gläubiger gespeichert."));
            click(dlg, "sbbutScheitern");
            QCOMPARE(m_dialogs->lastText(), QString("Für 6 von 6 Forderungen ist noch keine Antwort des Gläubigers eingetragen."));
            DataSet *lines = data().qrSbPosten;
            const QStringList answers = {"zugestimmt", "abgelehnt", "zugestimmt", "keine Antwort", "zugestimmt", "zugestimmt"};
            for (int i = 0; i < 6; ++i) {
                lines->moveTo(i);
                auto *answer = GuiTest::find<DbComboBox>(dlg, "dbcSbAntwort");
                answer->setCurrentIndex(answer->findText(answers.at(i)));
                emit answer->activated(answer->currentIndex());
                click(dlg, "sbbutAntwort");
            }
            // The answer period of the creditor who did not answer still runs.
            click(dlg, "sbbutScheitern");
            QCOMPARE(m_dialogs->lastText(), QString("Die Antwortfrist von Finanzamt Bremen läuft noch bis zum %1; erst danach "
                                                    "ist der Einigungsversuch gescheitert.")
                                                .arg(GermanFormat::shortDate(DateUtil::today().addDays(28))));
            m_dm->db.exec("update schrift set erfdat = :d where projekt = 'Einigungsversuch'",
                          {{"d", DateUtil::today().addDays(-35)}});
            click(dlg, "sbbutScheitern");
            click(dlg, "sbtbutSchliessen");
        });
        click(tab, "gltbutPlan");
        QVERIFY(shown);

        QCOMPARE(m_opener.opened.size(), 3);
        const QString plan = output("Schuldenbereinigungsplan.rtf");
        QVERIFY(plan.contains("Schuldenbereinigungsplan"));
        QVERIFY(plan.contains("Anna M\\'FCller"));
        QVERIFY(plan.contains("\\u350?ahin"));   // a letter outside Windows-1252
        QVERIFY(plan.contains("8.640,00"));

        const QString letters = output("Glaeubigeranschreiben.rtf");
        // Each letter a section of its own that counts its pages: the letter and its enclosure.
        QCOMPARE(letters.count("\\sect "), 5);
        QCOMPARE(letters.count("\\pgnrestart"), 6);
        QCOMPARE(letters.count("{\\field{\\*\\fldinst SECTIONPAGES}{\\fldrslt 2}}"), 6);
        QCOMPARE(letters.count("Sehr geehrte Damen und Herren"), 6);
        QCOMPARE(m_dm->db.scalar("select count(*) from schrift where projekt = 'Einigungsversuch'").toInt(), 6);
        for (int id : ids)
            QCOMPARE(m_dm->db.scalar("select count(*) from schrift where emp_id = :id", {{"id", id}}).toInt(), 1);
        QCOMPARE(m_dm->db.scalar("select count(*) from sbposten where schrift_id is null").toInt(), 0);

        const QString failure = output("BescheinigungScheitern.rtf");
        QVERIFY(failure.contains("Von 6 Gl\\'E4ubigern hat 1 den Plan abgelehnt, 1 hat nicht geantwortet."));
        QVERIFY(!m_dm->db.scalar("select scheiterdat from sbplan").isNull());
        // The refusal was entered today, after the answer period had ended.
        QCOMPARE(m_dm->db.scalar("select scheiterdat from sbplan").toDate(), DateUtil::today());
    }

    // Every window of the counselling uses each access key once: the Gläubiger tab with the
    // page around it, the plan window and the account window.
    void oneAccessKeyPerWindow()
    {
        makeClient();
        // A tool bar lays out its buttons only when shown.
        m_page->show();
        auto *tabs = GuiTest::find<QTabWidget>(m_page.get(), "adrTabs");
        tabs->setCurrentIndex(1);
        QCoreApplication::processEvents();
        QWidget *tab = GuiTest::find<QWidget>(m_page.get(), "glTab");
        QCOMPARE(clashingKeys(m_page.get()), QStringList());
        for (const char *window : {"gltbutPlan", "gltbutPKonto"}) {
            QStringList clashes{"(nicht geöffnet)"};
            RecordDialog::whenShown([&](QDialog *dlg) {
                CloseAtEnd closing{dlg};
                clashes = clashingKeys(dlg);
            });
            click(tab, window);
            QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(", ")));
        }
    }

    // A plan saved with its rate from the surplus shows that source again, so taking the
    // rate once more takes the surplus, not the garnishable amount.
    void reopenedPlanKeepsTheSourceOfItsRate()
    {
        makeClient();
        const int bank = addContact("Sparkasse Nord", "Sparkasse Nord", "Am Markt", "Bremen");
        addClaim(bank, "AZ-1", 5000);
        m_dm->db.exec("insert into budget (BudTitel, User_id, Pfand, Sum_Ek, Sum_Lk) values ('Haushalt Müller', 1, 0, 1900, 1725)");
        QWidget *tab = GuiTest::find<QWidget>(m_page.get(), "glTab");
        RecordDialog::whenShown([&](QDialog *dlg) {
            CloseAtEnd closing{dlg};
            click(dlg, "sbtbutNeu");
            auto *source = GuiTest::find<QComboBox>(dlg, "sbcbQuelle");
            source->setCurrentIndex(source->findText("Überschuss"));
            click(dlg, "sbbutRate");
            click(dlg, "sbtbutSpeichern");
            click(dlg, "sbtbutSchliessen");
        });
        click(tab, "gltbutPlan");
        QCOMPARE(m_dm->db.scalar("select ratenquelle from sbplan").toString(), QString("Überschuss"));
        QString shown;
        RecordDialog::whenShown([&](QDialog *dlg) {
            CloseAtEnd closing{dlg};
            shown = GuiTest::find<QComboBox>(dlg, "sbcbQuelle")->currentText();
            type(dlg, "dbeSbRate", "1,00");
            click(dlg, "sbbutRate");
            click(dlg, "sbtbutSpeichern");
            click(dlg, "sbtbutSchliessen");
        });
        click(tab, "gltbutPlan");
        QCOMPARE(shown, QString("Überschuss"));
        QCOMPARE(m_dm->db.scalar("select rate from sbplan").toDouble(), 175.0);
        QCOMPARE(m_dialogs->texts(), QStringList());
    }

    // A one-off payment above all claims is lowered to them, and window and printout say so;
    // a woman is the debtor in the printout.
    void oneOffPaymentLoweredToTheClaims()
    {
        makeClient();
        const int bank = addContact("Sparkasse Nord", "Sparkasse Nord", "Am Markt", "Bremen");
        const int power = addContact("Stadtwerke", "Stadtwerke", "Weg", "Bremen");
        addClaim(bank, "AZ-1", 2000);
        addClaim(power, "AZ-2", 1000);
        QWidget *tab = GuiTest::find<QWidget>(m_page.get(), "glTab");
        auto *salutation = GuiTest::find<QComboBox>(tab, "glcbAnrede");
        QVERIFY(salutation->isEnabled());
        salutation->setCurrentIndex(salutation->findText("Frau"));
        emit salutation->activated(salutation->currentIndex());
        QCOMPARE(m_dm->db.scalar("select anrede from adressen where adr_id = :id", {{"id", m_client}}).toString(), QString("Frau"));
        QString note;
        RecordDialog::whenShown([&](QDialog *dlg) {
            CloseAtEnd closing{dlg};
            click(dlg, "sbtbutNeu");
            auto *kind = GuiTest::find<DbComboBox>(dlg, "dbcSbPlanart");
            kind->setCurrentIndex(kind->findText("Einmalzahlung"));
            emit kind->activated(kind->currentIndex());
            type(dlg, "dbeSbRate", "5000");
            click(dlg, "sbtbutSpeichern");
            click(dlg, "sbbutAufteilen");
            note = label(dlg, "sblbHinweis");
            click(dlg, "sbbutPlanDruck");
            click(dlg, "sbtbutSchliessen");
        });
        click(tab, "gltbutPlan");
        const QString lowered = "Der Betrag von 5.000,00\u00a0€ übersteigt die Forderungen von zusammen 3.000,00\u00a0€; er wurde auf "
                                "3.000,00\u00a0€ gesenkt.";
        QCOMPARE(m_dialogs->texts(), QStringList{lowered});
        QCOMPARE(note, lowered);
        QCOMPARE(m_dm->db.scalar("select sum(gesamt) from sbposten").toDouble(), 3000.0);
        const QString plan = output("Schuldenbereinigungsplan.rtf");
        QVERIFY(plan.contains("Der angegebene Betrag von 5.000,00"));
        QVERIFY(plan.contains("Schuldnerin:"));
        QVERIFY(!plan.contains("Schuldner/in"));
    }

    // The certificate names the day of the latest refusal, not the day it is printed; a
    // day before it is refused in the window.
    void failureDatedByTheLatestRefusal()
    {
        makeClient();
        const int bank = addContact("Sparkasse Nord", "Sparkasse Nord", "Am Markt", "Bremen");
        const int power = addContact("Stadtwerke", "Stadtwerke", "Weg", "Bremen");
        addClaim(bank, "AZ-1", 2000);
        addClaim(power, "AZ-2", 1000);
        const QDate refused = DateUtil::today().addDays(-30);
        QWidget *tab = GuiTest::find<QWidget>(m_page.get(), "glTab");
        RecordDialog::whenShown([&](QDialog *dlg) {
            CloseAtEnd closing{dlg};
            click(dlg, "sbtbutNeu");
            type(dlg, "dbeSbRate", "50");
            click(dlg, "sbtbutSpeichern");
            click(dlg, "sbbutAufteilen");
            m_dm->db.exec("update sbposten set antwort = 'abgelehnt', antwortdat = :d where glaeub_id = :g",
                          {{"d", refused}, {"g", bank}});
            m_dm->db.exec("update sbposten set antwort = 'zugestimmt', antwortdat = :d where glaeub_id = :g",
                          {{"d", refused.addDays(-5)}, {"g", power}});
            data().qrSbPosten->reopen();
            type(dlg, "dbeSbScheiterdat", GermanFormat::shortDate(refused.addDays(-1)));
            click(dlg, "sbtbutSpeichern");
            QCOMPARE(m_dialogs->lastText(), QString("Der Einigungsversuch kann nicht vor dem %1 gescheitert sein: "
                                                    "an diesem Tag hat Sparkasse Nord abgelehnt.")
                                                .arg(GermanFormat::shortDate(refused)));
            click(dlg, "sbtbutAbbruch");
            click(dlg, "sbbutScheitern");
            click(dlg, "sbtbutSchliessen");
        });
        click(tab, "gltbutPlan");
        QCOMPARE(m_dm->db.scalar("select scheiterdat from sbplan").toDate(), refused);
        QVERIFY(output("BescheinigungScheitern.rtf").contains(GermanFormat::shortDate(refused)));
    }

    // A small claim paid in full drops out; the plan shows from which month the split
    // changes, and its totals are what is really paid.
    void planPrintoutShowsTheMonthsOfChange()
    {
        makeClient();
        const int power = addContact("Stadtwerke", "Stadtwerke", "Weg", "Bremen");
        const int bank = addContact("Sparkasse Nord", "Sparkasse Nord", "Am Markt", "Bremen");
        addClaim(power, "AZ-1", 0.31);
        addClaim(bank, "AZ-2", 3000);
        m_dm->db.exec("insert into sbplan (Kunde_id, Planart, Plandat, Laufzeit, Rate) values (:k, 'Ratenplan', :d, 36, 50)",
                      {{"k", m_client}, {"d", QDate(2026, 12, 1)}});
        const int plan = m_dm->db.scalar("select max(plan_id) from sbplan").toInt();
        PlanRules::computeLines(*&m_dm->db, plan);
        QCOMPARE(m_dm->db.scalar("select gesamt from sbposten where glaeub_id = :g", {{"g", power}}).toDouble(), 0.31);
        QCOMPARE(m_dm->db.scalar("select quote from sbposten where glaeub_id = :g", {{"g", power}}).toDouble(), 100.0);
        SettlementPrintouts::printPlan(*m_dm, plan);
        const QString doc = output("Schuldenbereinigungsplan.rtf");
        QVERIFY(doc.contains("Verlauf der Zahlungen"));
        QVERIFY(doc.contains("Monate 1 bis 31: monatlich 50,00\\'A0\\'80 (Stadtwerke 0,01\\'A0\\'80, Sparkasse Nord 49,99\\'A0\\'80); "
                             "danach vollst\\'E4ndig bezahlt: Stadtwerke"));
        QVERIFY(doc.contains("Monate 32 bis 36: monatlich 50,00\\'A0\\'80 (Sparkasse Nord 50,00\\'A0\\'80)"));
        QVERIFY(doc.contains("1.800,00"));
    }

    // Two children: the basic amount, both increases and the child benefit typed.
    void pkontoCertificate()
    {
        m_dm->db.exec("update adressen set akunde = :k, anrede = 'Frau' where adr_id = :id", {{"k", true}, {"id", m_client}});
        m_dm->dmAdressen->qrKontakte->reopen();
        QVERIFY(m_dm->dmAdressen->qrKontakte->locate("Adr_id", m_client));
        QWidget *tab = GuiTest::find<QWidget>(m_page.get(), "glTab");
        bool shown = false;
        RecordDialog::whenShown([&](QDialog *dlg) {
            shown = true;
            CloseAtEnd closing{dlg};
            click(dlg, "pktbutNeu");
            QCOMPARE(GuiTest::find<QLineEdit>(dlg, "dbePkInhaber")->text(), QString("Anna Müller"));
            type(dlg, "dbePkBank", "Sparkasse Nord");
            type(dlg, "dbePkIban", "DE02 2905 0101 0001 2345 67");
            type(dlg, "dbePkPersonen", "2");
            type(dlg, "dbePkKindergeld", "518,00");
            click(dlg, "pktbutSpeichern");
            QCOMPARE(m_dialogs->texts(), QStringList{"Die Eingabe im Feld „IBAN“ ist keine gültige IBAN: die Prüfziffer "
                                                     "stimmt nicht; bitte vergleichen Sie die IBAN mit dem Kontoauszug."});
            QVERIFY(data().qrPKonto->isPending());
            m_dialogs->clear();
            type(dlg, "dbePkIban", "de21 2905 0101 0001 2345 67");
            click(dlg, "pktbutSpeichern");
            QCOMPARE(label(dlg, "pklbFreibetrag"),
                     QString("Grundfreibetrag 1.590,00\u00a0€ + erste Person 597,42\u00a0€ + 1 weitere 332,83\u00a0€ + "
                             "Kindergeld 518,00\u00a0€\n= monatlicher Freibetrag 3.038,25\u00a0€"));
            click(dlg, "pktbutDrucken");
            click(dlg, "pktbutSchliessen");
        });
        click(tab, "gltbutPKonto");
        QVERIFY(shown);
        QCOMPARE(m_dialogs->log().size(), 0);
        const QString doc = output("PKontoBescheinigung.rtf");
        for (const char *amount : {"1.590,00", "597,42", "332,83", "518,00", "3.038,25"})
            QVERIFY2(doc.contains(amount), amount);
        QVERIFY(doc.contains("DE21 2905 0101 0001 2345 67"));
        QVERIFY(doc.contains("Die Kontoinhaberin"));
        QVERIFY(!doc.contains("Kontoinhaber/in"));
        QCOMPARE(m_dm->db.scalar("select iban from pkonto").toString(), QString("DE21290501010001234567"));
    }
};

QTEST_MAIN(TestSettlementPages)
#include "tst_settlementpages.moc"
