#include "support/GuiTest.h"
#include "support/TempDatabase.h"

#include "app/TFormAbout.h"
#include "app/TFormMain.h"
#include "core/GermanFormat.h"
#include "data/DataModules.h"
#include "ui/RecordDialog.h"
#include "ui/ScriptedDialogs.h"

#include <QAction>
#include <QComboBox>
#include <QToolButton>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QStackedWidget>
#include <QTreeWidget>

// A program folder in a temporary directory: the database and the folders beside it.
class ProgramFolder
{
public:
    explicit ProgramFolder(const QStringList &folders = {"Reportvorlagen", "Reportausgabe", "Infothek/Formulare",
                                                         "Infothek/Infothek", "Infothek/Musterbriefe"})
    {
        for (const QString &f : folders)
            QDir(m_db.dir()).mkpath(f);
        // The copied database names the folders of the file it was copied from.
        auto db = m_db.connect();
        db->exec("update firma set FReportIn = :i, FReportOut = :o",
                 {{"i", exeDir() + "Reportvorlagen/"}, {"o", exeDir() + "Reportausgabe/"}});
    }
    QString exeDir() const { return QDir(m_db.dir()).absolutePath() + '/'; }
    TempDatabase &db() { return m_db; }

private:
    TempDatabase m_db;
};

class TestMainWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScriptedDialogs> m_dialogs;

    // Logs in as sb/sb as soon as the login window shows.
    static void loginWhenShown(const QString &user = "sb", const QString &password = "sb")
    {
        RecordDialog::whenShown([user, password](QDialog *dlg) {
            auto *cb = GuiTest::find<QComboBox>(dlg, "cbUser");
            cb->setCurrentText(user);
            GuiTest::find<QLineEdit>(dlg, "ePasswort")->setText(password);
            GuiTest::find<QPushButton>(dlg, "btnAnmelden")->click();
        });
    }

    static QString panel(TFormMain &w, int i) { return GuiTest::find<QLabel>(&w, QStringLiteral("stbFmPanel%1").arg(i))->text(); }

private slots:
    void aboutIsGerman()
    {
        TFormAbout about;
        QCOMPARE(about.windowTitle(), QStringLiteral("Über Finorra ..."));
    }

    void init() { m_dialogs = std::make_unique<ScriptedDialogs>(); }
    void cleanup() { m_dialogs.reset(); }

    void startShowsHomeWithStatusTexts()
    {
        ProgramFolder folder;
        DataModules dm;
        TFormMain w(dm, folder.exeDir());
        loginWhenShown();
        QVERIFY(w.start());
        QCOMPARE(w.windowTitle(), QStringLiteral("Finorra 1.0 (Pro) - [Home]"));
        QCOMPARE(w.AktSbKurz, QStringLiteral("sb"));
        QCOMPARE(panel(w, 1), QStringLiteral("  SB: [sb] ") + w.AktSbLang);
        QCOMPARE(panel(w, 0), QStringLiteral("   Eigene Beratungsstelle"));
        QCOMPARE(panel(w, 2), QStringLiteral("  ") + QDir::toNativeSeparators(folder.db().filePath()));
        // Paths already at their defaults: no question. Three default rubrics were made.
        QVERIFY(m_dialogs->log().isEmpty());
        QCOMPARE(dm.db.scalar("select count(*) from inforubrik").toInt(), 3);
        QCOMPARE(dm.db.scalar("select Pfad from inforubrik where Rubrik = 'Musterbriefe'").toString(),
                 folder.exeDir() + "Infothek/Musterbriefe/");
        QVERIFY(!dm.dmExtras->qrInfoRubrik->isOpen());
        QVERIFY(dm.dmMP->qrAktUser->isOpen());
    }

    void pathQuestionWithOnlyTheOutputFolder()
    {
        ProgramFolder folder({"Reportausgabe", "Infothek/Musterbriefe"});
        {
            auto db = folder.db().connect();
            db->exec("update firma set FReportIn = '/anderswo/', FReportOut = '/anderswo/'");
        }
        DataModules dm;
        TFormMain w(dm, folder.exeDir());
        loginWhenShown();
        m_dialogs->answer(true);
        QVERIFY(w.start());
        const QString missing = QDir::toNativeSeparators(folder.exeDir());
        QCOMPARE(m_dialogs->texts(),
                 QStringList({"Soll der Pfad für die Reportvorlagen neu gesetzt werden?",
                              "Verzeichnis " + missing + "Reportvorlagen/ existiert nicht!\r"
                                                         "Überprüfen Sie die Einstellungen in <Eigene Anschrift>",
                              "Verzeichnis " + missing + "Infothek/Formulare/ existiert nicht!\r"
                                                         "Überprüfen Sie die Einstellungen in <Info-Rubrik>",
                              "Verzeichnis " + missing + "Infothek/Infothek/ existiert nicht!\r"
                                                         "Überprüfen Sie die Einstellungen in <Info-Rubrik>"}));
        QCOMPARE(dm.db.scalar("select FReportIn from firma").toString(), QStringLiteral("/anderswo/"));
        QCOMPARE(dm.db.scalar("select FReportOut from firma").toString(), folder.exeDir() + "Reportausgabe/");
        QCOMPARE(dm.db.scalar("select Rubrik from inforubrik").toString(), QStringLiteral("Musterbriefe"));
        QCOMPARE(dm.db.scalar("select count(*) from inforubrik").toInt(), 1);
    }

    void templatePathAtDefaultIsNotAsked()
    {
        ProgramFolder folder;
        {
            auto db = folder.db().connect();
            db->exec("update firma set FReportOut = '/anderswo/'");
            db->exec("insert into inforubrik (Rubrik, Pfad) values ('Eigene', '/x/')");
        }
        DataModules dm;
        TFormMain w(dm, folder.exeDir());
        loginWhenShown();
        QVERIFY(w.start());
        QVERIFY(m_dialogs->log().isEmpty());
        QCOMPARE(dm.db.scalar("select count(*) from inforubrik").toInt(), 1);
    }

    void withoutOwnAddress()
    {
        ProgramFolder folder(QStringList{});
        {
            auto db = folder.db().connect();
            db->exec("delete from firma");
        }
        DataModules dm;
        TFormMain w(dm, folder.exeDir());
        loginWhenShown();
        QVERIFY(w.start());
        QCOMPARE(m_dialogs->texts(),
                 QStringList({"Sie haben keine eigenen Adressdaten angelegt!\rÜber <Datei> <Globale Einstellungen> "
                              "<Eigene Anschrift> können Sie die Adressdaten festlegen."}));
        QCOMPARE(panel(w, 0), QStringLiteral("Achtung: Keine eigenen Adressdaten."));
        QCOMPARE(panel(w, 2), QString());
        QCOMPARE(dm.db.scalar("select count(*) from inforubrik").toInt(), 0);
    }

    void unreadableDatabaseEndsCleanly()
    {
        QTemporaryDir dir;
        {
            QFile f(dir.filePath("Finorra.abs"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
        }
        const QByteArray before = TempDatabase::fileHash(dir.filePath("Finorra.abs"));
        DataModules dm;
        TFormMain w(dm, QDir(dir.path()).absolutePath() + '/');
        QVERIFY(!w.start());
        QCOMPARE(m_dialogs->log().size(), 1);
        QCOMPARE(m_dialogs->log().first().kind, mkError);
        QVERIFY(m_dialogs->lastText().contains("Finorra.abs"));
        QVERIFY(m_dialogs->lastText().endsWith("Die Datei ist keine Datenbank."));
        QCOMPARE(TempDatabase::fileHash(dir.filePath("Finorra.abs")), before);
    }

    void pageGuardSavesAndStaysWhileTheTreeSwitchesAtOnce()
    {
        ProgramFolder folder;
        {
            auto db = folder.db().connect();
            db->exec("insert into budget (BudTitel, User_id) values ('Plan', 1)");
            db->exec("insert into bud_einkommen (Bud_id, Ek_bez, Ek_Betrag) values (1, 'Lohn', 100)");
        }
        DataModules dm;
        TFormMain w(dm, folder.exeDir());
        loginWhenShown();
        QVERIFY(w.start());
        w.ActivatePage(TFormMain::Budget);
        QCOMPARE(w.windowTitle(), QStringLiteral("Finorra 1.0 (Pro) - [Budgetplanung]"));
        DataSet *items = dm.dmHh->qrBudEinkommen;
        QCOMPARE(items->recordCount(), 1);

        items->edit();
        items->setValue("Ek_bez", "Gehalt");
        auto *briefe = GuiTest::find<QPushButton>(&w, "btntbsBriefe");
        briefe->click();
        QCOMPARE(w.currentPage(), int(TFormMain::Budget));
        QVERIFY(!items->isPending());
        QCOMPARE(dm.db.scalar("select Ek_bez from bud_einkommen").toString(), QStringLiteral("Gehalt"));
        briefe->click();
        QCOMPARE(w.currentPage(), int(TFormMain::Briefe));
        QCOMPARE(w.windowTitle(), QStringLiteral("Finorra 1.0 (Pro) - [Schriftwechsel]"));

        // The tree switches at once, but what was typed is saved on the way.
        w.ActivatePage(TFormMain::Budget);
        items->edit();
        items->setValue("Ek_bez", "offen");
        auto *tree = GuiTest::find<QTreeWidget>(&w, "tvMain");
        tree->setCurrentItem(tree->topLevelItem(TFormMain::Briefe));
        QCOMPARE(w.currentPage(), int(TFormMain::Briefe));
        QVERIFY(!items->isPending());
        QCOMPARE(dm.db.scalar("select Ek_bez from bud_einkommen").toString(), QStringLiteral("offen"));
        QVERIFY(GuiTest::find<QPushButton>(&w, "btntbsBriefe")->isChecked());
    }

    // Leaving the Budget page by button, tree or menu saves what was typed there, with the
    // rollup into the plan, so the totals in the file match the items.
    void leavingTheBudgetPageKeepsTotalsConsistent_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("button") << "button";
        QTest::newRow("tree") << "tree";
        QTest::newRow("menu") << "menu";
    }
    void leavingTheBudgetPageKeepsTotalsConsistent()
    {
        QFETCH(QString, way);
        ProgramFolder folder;
        {
            auto db = folder.db().connect();
            db->exec("insert into budget (BudTitel, User_id, Sum_Ek, Eksum01) values ('Plan', 1, 2000, 2000)");
            db->exec("insert into bud_einkommen (Bud_id, Ek_bez, Ek_Betrag, Ek_monat, Ek_zahlung) "
                     "values (1, 'Lohn', 2000, '01', 'monatlich')");
        }
        DataModules dm;
        TFormMain w(dm, folder.exeDir());
        loginWhenShown();
        QVERIFY(w.start());
        auto *tree = GuiTest::find<QTreeWidget>(&w, "tvMain");
        auto leaveAndComeBack = [&] {
            if (way == "button") {
                auto *home = GuiTest::find<QPushButton>(&w, "btntbsHome");
                home->click();   // saves and stays
                QCOMPARE(w.currentPage(), int(TFormMain::Budget));
                home->click();
            } else if (way == "tree") {
                tree->setCurrentItem(tree->topLevelItem(TFormMain::Home));
            } else {
                GuiTest::find<QAction>(&w, "miHaushaltsbuch")->trigger();
            }
            QVERIFY(w.currentPage() != int(TFormMain::Budget));
            tree->setCurrentItem(tree->topLevelItem(TFormMain::Budget));
            QCOMPARE(w.currentPage(), int(TFormMain::Budget));
        };
        w.ActivatePage(TFormMain::Budget);
        QWidget *page = w.pageWidget(TFormMain::Budget);

        // An unsaved housing credit.
        GuiTest::find<QToolButton>(page, "hkTbutNeu")->click();
        QWidget *bez = GuiTest::find<QWidget>(page, "hkdbeBez");
        if (auto *cb = qobject_cast<QComboBox *>(bez))
            bez = cb->lineEdit();
        GuiTest::type(bez, "Baudarlehen");
        for (const auto &[name, value] : {std::pair{"hkcbMonat", "01"}, std::pair{"hkcbZahlung", "vierteljährlich"}}) {
            auto *cb = GuiTest::find<QComboBox>(page, name);
            cb->setCurrentIndex(cb->findText(QString::fromUtf8(value)));
            emit cb->activated(cb->currentIndex());
        }
        GuiTest::type(GuiTest::find<QLineEdit>(page, "hkdbeBetrag"), "1.500,00");
        leaveAndComeBack();
        QCOMPARE(dm.db.scalar("select count(*) from bud_hauskredite where Bud_id = 1").toInt(), 1);
        QCOMPARE(dm.db.scalar("select Sum_Hk from budget").toDouble(), 500.0);
        QCOMPARE(dm.db.scalar("select Hksum01 from budget").toDouble(), 1500.0);
        QCOMPARE(GuiTest::find<QLabel>(page, "dbeDefizit")->text(), GermanFormat::currency(1500.0));

        // A typed net income on the plan itself.
        auto *netto = GuiTest::find<QLineEdit>(page, "dbeNetto");
        netto->clear();
        GuiTest::type(netto, "2.100,00");
        leaveAndComeBack();
        QCOMPARE(dm.db.scalar("select PfandNetto from budget").toDouble(), 2100.0);
        QVERIFY(m_dialogs->log().isEmpty());
    }

    void refusedSaveKeepsThePage()
    {
        ProgramFolder folder;
        {
            auto db = folder.db().connect();
            db->exec("insert into budget (BudTitel, User_id, Sum_Ek) values ('Plan', 1, 99999999999000)");
            db->exec("insert into bud_einkommen (Bud_id, Ek_bez, Ek_Betrag, Ek_monat, Ek_zahlung) "
                     "values (1, 'Lohn', 99999999999000, '01', 'monatlich')");
        }
        DataModules dm;
        TFormMain w(dm, folder.exeDir());
        loginWhenShown();
        QVERIFY(w.start());
        w.ActivatePage(TFormMain::Budget);
        DataSet *items = dm.dmHh->qrBudEinkommen;
        items->append();
        items->setValue("Ek_bez", "Zuschlag");
        items->setValue("Ek_Betrag", 1000.0);
        items->setValue("Ek_zahlung", "monatlich");
        auto *tree = GuiTest::find<QTreeWidget>(&w, "tvMain");
        tree->setCurrentItem(tree->topLevelItem(TFormMain::Home));
        // The total would leave the money range: refused with the amount in German form.
        QCOMPARE(m_dialogs->texts(),
                 QStringList({"Der Betrag 100.000.000.000.000,00 liegt außerhalb des gültigen Bereichs"}));
        QCOMPARE(w.currentPage(), int(TFormMain::Budget));
        QCOMPARE(tree->currentItem(), tree->topLevelItem(TFormMain::Budget));
        QVERIFY(items->isPending());
        QCOMPARE(dm.db.scalar("select count(*) from bud_einkommen").toInt(), 1);
        QCOMPARE(dm.db.scalar("select Sum_Ek from budget").toDouble(), 99999999999000.0);
        QCOMPARE(dm.dmHh->qrBudget->state(), DataSet::State::Browse);

        // Closing the program is refused the same way; cancelling the item lets it go.
        m_dialogs->clear();
        w.show();
        m_dialogs->answer(true);
        w.close();
        QVERIFY(w.isVisible());
        items->cancel();
        m_dialogs->answer(true);
        w.close();
        QVERIFY(!w.isVisible());
    }

    // A new plan still being typed: its first income item is stored under the plan's key,
    // whichever of the two is saved first.
    void firstItemOfANewPlanKeepsItsPlan_data()
    {
        QTest::addColumn<bool>("planFirst");
        QTest::newRow("item saved first") << false;
        QTest::newRow("plan saved first") << true;
    }
    void firstItemOfANewPlanKeepsItsPlan()
    {
        QFETCH(bool, planFirst);
        ProgramFolder folder;
        DataModules dm;
        TFormMain w(dm, folder.exeDir());
        loginWhenShown();
        QVERIFY(w.start());
        w.ActivatePage(TFormMain::Budget);
        QWidget *page = w.pageWidget(TFormMain::Budget);
        GuiTest::type(GuiTest::find<QLineEdit>(page, "dbeBudTitel"), "Familie Muster");
        QCOMPARE(dm.dmHh->qrBudget->state(), DataSet::State::Insert);
        auto *bez = GuiTest::find<QComboBox>(page, "ekdbeBez");
        GuiTest::type(bez->lineEdit(), "Lohn");
        auto *rhythm = GuiTest::find<QComboBox>(page, "ekcbZahlung");
        rhythm->setCurrentIndex(rhythm->findText("monatlich"));
        emit rhythm->activated(rhythm->currentIndex());
        GuiTest::type(GuiTest::find<QLineEdit>(page, "ekdbeBetrag"), "1.800,00");
        if (planFirst)
            GuiTest::find<QToolButton>(page, "budtbutSpeichern")->click();
        GuiTest::find<QToolButton>(page, "ekTbutSpeichern")->click();
        // A plan stored without a net income asks for it (its garnishable amount needs one).
        QCOMPARE(m_dialogs->texts(), planFirst ? QStringList{"Kein Nettogehalt eingegeben!"} : QStringList());
        QCOMPARE(dm.db.scalar("select count(*) from bud_einkommen where Bud_id is null").toInt(), 0);
        QCOMPARE(dm.db.scalar("select count(*) from bud_einkommen b join budget p on p.Bud_id = b.Bud_id "
                              "where p.BudTitel = 'Familie Muster'").toInt(), 1);
        QCOMPARE(dm.db.scalar("select Sum_Ek from budget").toDouble(), 1800.0);
        QCOMPARE(dm.dmHh->qrBudEinkommen->recordCount(), 1);
    }

    void startMarksHome()
    {
        ProgramFolder folder;
        DataModules dm;
        TFormMain w(dm, folder.exeDir());
        loginWhenShown();
        QVERIFY(w.start());
        QVERIFY(GuiTest::find<QPushButton>(&w, "btntbsHome")->isChecked());
        // Only the page entered so far is built.
        QVERIFY(w.pageWidget(TFormMain::Home));
        QVERIFY(!w.pageWidget(TFormMain::Budget));
    }

    void termineShowsTodayAndExitAsks()
    {
        ProgramFolder folder;
        DataModules dm;
        TFormMain w(dm, folder.exeDir());
        loginWhenShown();
        QVERIFY(w.start());
        auto *tree = GuiTest::find<QTreeWidget>(&w, "tvMain");
        tree->setCurrentItem(tree->topLevelItem(TFormMain::Termine));
        const QString today = GermanFormat::longDate(QDate::currentDate());
        QCOMPARE(GuiTest::find<QLabel>(&w, "auflbDatum")->text(), today);
        QCOMPARE(w.terminHeading, today);
        QVERIFY(dm.dmExtras->qrTermine->isOpen());
        QCOMPARE(dm.dmExtras->qrTermine->recordCount(), 0);
        QCOMPARE(w.windowTitle(), QStringLiteral("Finorra 1.0 (Pro) - [Aufgaben-/Terminverwaltung]"));

        w.show();
        m_dialogs->answer(false);
        w.close();
        QVERIFY(w.isVisible());
        m_dialogs->answer(true);
        w.close();
        QVERIFY(!w.isVisible());
        QCOMPARE(m_dialogs->texts(), QStringList({"Möchten Sie das Programm beenden?", "Möchten Sie das Programm beenden?"}));
    }

    // "Infothek- Rubrik" closes the document list for the rubric window; a document being
    // edited there is stored first.
    void rubricWindowKeepsADocumentBeingEdited()
    {
        ProgramFolder folder;
        DataModules dm;
        TFormMain w(dm, folder.exeDir());
        loginWhenShown();
        QVERIFY(w.start());
        dm.db.exec("insert into Infothek (Kurz, Rubrik_id, Datei) select 'Merkblatt', min(Rubrik_id), 'merkblatt.rtf' "
                   "from Inforubrik");
        w.ActivatePage(TFormMain::Infothek);
        DataSet *documents = dm.dmExtras->qrInfos;
        QVERIFY(documents->locate("Kurz", "Merkblatt"));
        documents->edit();
        documents->setValue("Kurz", "Merkblatt neu");
        m_dialogs->answer(true);
        RecordDialog::whenShown([](QDialog *dlg) { dlg->close(); });
        GuiTest::find<QAction>(&w, "miInfoRubrik")->trigger();
        QCOMPARE(dm.db.scalar("select count(*) from Infothek where Kurz = 'Merkblatt neu'").toInt(), 1);
    }

    // On a fresh start, before the Infothek page was ever shown, the rubric window opens
    // and a rubric made there is stored; the catalogue holds the shipped sample documents.
    void rubricWindowBeforeTheInfothekPage()
    {
        ProgramFolder folder;
        const QString shipped = qEnvironmentVariable("FINORRA_SOURCE_DIR") + "/resources/Infothek/";
        for (const char *rubric : {"Formulare", "Infothek", "Musterbriefe"})
            for (const QString &f : QDir(shipped + rubric).entryList(QDir::Files | QDir::Hidden))
                QVERIFY(QFile::copy(shipped + rubric + '/' + f, folder.exeDir() + "Infothek/" + rubric + '/' + f));
        DataModules dm;
        TFormMain w(dm, folder.exeDir());
        loginWhenShown();
        QVERIFY(w.start());
        QStringList catalogue;
        QSqlQuery q = dm.db.exec("select r.Rubrik, i.Kurz, i.Datei from Infothek i, Inforubrik r "
                                 "where i.Rubrik_id = r.Rubrik_id order by i.Info_id");
        while (q.next())
            catalogue << q.value(0).toString() + ": " + q.value(1).toString() + " (" + q.value(2).toString() + ")";
        QCOMPARE(catalogue, QStringList({"Formulare: Fragebogen zum Haushaltsbudget (Fragebogen_Haushaltsbudget.rtf)",
                                         "Infothek: Informationsblatt P-Konto (P-Konto_Informationsblatt.rtf)",
                                         "Musterbriefe: Musterbrief Bitte um Ratenzahlung (Musterbrief_Ratenzahlung.rtf)"}));

        m_dialogs->clear();
        m_dialogs->answer(true);
        bool shown = false;
        RecordDialog::whenShown([&](QDialog *dlg) {
            shown = true;
            GuiTest::find<QAbstractButton>(dlg, "irTbutNeu")->click();
            GuiTest::type(GuiTest::find<QLineEdit>(dlg, "irdbeRubrik"), "Merkblätter");
            dlg->close();
        });
        GuiTest::find<QAction>(&w, "miInfoRubrik")->trigger();
        QVERIFY(shown);
        QCOMPARE(m_dialogs->texts(), QStringList{"Möchten Sie die Infothek-Rubriken wirklich ändern?"});
        QCOMPARE(dm.db.scalar("select count(*) from Inforubrik where Rubrik = 'Merkblätter'").toInt(), 1);
    }

    void menuQuestionsComeFirst()
    {
        ProgramFolder folder;
        DataModules dm;
        TFormMain w(dm, folder.exeDir());
        loginWhenShown();
        QVERIFY(w.start());
        auto trigger = [&w](const char *name) { GuiTest::find<QAction>(&w, name)->trigger(); };
        QString opened;
        RecordDialog::whenShown([&](QDialog *dlg) {
            opened = dlg->objectName();
            dlg->reject();
        });
        trigger("miDatenbank");
        QCOMPARE(opened, QStringLiteral("FormDatenbank"));
        m_dialogs->answer(false);
        trigger("miEigeneAnschrift");
        m_dialogs->answer(false);
        trigger("miBenutzer");
        m_dialogs->answer(false);
        trigger("miBundesland");
        QCOMPARE(m_dialogs->texts(), QStringList({"Möchten Sie die eigene Anschrift wirklich ändern?",
                                                  "Möchten Sie die Benutzerdaten wirklich ändern?",
                                                  "Möchten Sie die Bundesländer wirklich ändern?"}));
        trigger("miPfaendungstabelle");
        QCOMPARE(w.currentPage(), int(TFormMain::Pfaendung));
        QCOMPARE(w.windowTitle(), QStringLiteral("Finorra 1.0 (Pro) - [Pfändungstabelle]"));

        // The user window ends the program once it is closed with users present.
        m_dialogs->clear();
        m_dialogs->answer(true);
        RecordDialog::whenShown([](QDialog *dlg) { GuiTest::find<QToolButton>(dlg, "tbutEnde")->click(); });
        trigger("miBenutzer");
        QCOMPARE(m_dialogs->texts(), QStringList({"Möchten Sie die Benutzerdaten wirklich ändern?",
                                                  "Programm muss neu gestartet werden!"}));
        QVERIFY(w.programEnded());
    }

    void reorganisationRebuildsAndEnds()
    {
        ProgramFolder folder;
        {
            auto db = folder.db().connect();
            db->exec("insert into tbau (TKurz) values ('bleibt')");
        }
        DataModules dm;
        TFormMain w(dm, folder.exeDir());
        loginWhenShown();
        QVERIFY(w.start());
        w.show();
        m_dialogs->answer(true);
        w.reorganize();
        QCOMPARE(m_dialogs->texts(),
                 QStringList({"Soll die Datenbank reorganisiert werden?",
                              "Die Datenbank wurde erfolgreich reorganisiert.\rDas Programm muss neu gestartet werden."}));
        QVERIFY(w.programEnded());
        QVERIFY(!QFile::exists(folder.db().filePath() + ".tmp"));
        QCOMPARE(dm.db.scalar("select TKurz from tbau").toString(), QStringLiteral("bleibt"));
    }

    // Every end of the program leaves a backup; one chosen through the menu is put back (the
    // file as it was is saved first) and the program starts anew on it.
    void backupAtEndAndRestoreThroughTheMenu()
    {
        ProgramFolder folder;
        const QString backups = folder.exeDir() + "Datensicherung";
        {
            DataModules dm;
            TFormMain w(dm, folder.exeDir());
            loginWhenShown();
            QVERIFY(w.start());
            dm.db.exec("insert into tbau (TKurz) values ('vorher')");
            w.show();
            m_dialogs->answer(true);
            w.close();
            QVERIFY(!w.isVisible());
        }
        const QStringList written = QDir(backups).entryList({"Finorra-*.abs"});
        QCOMPARE(written.size(), 1);

        DataModules dm;
        TFormMain w(dm, folder.exeDir());
        loginWhenShown();
        QVERIFY(w.start());
        dm.db.exec("update tbau set TKurz = 'nachher'");
        bool restarted = false;
        TFormMain::setRestarter([&restarted] { restarted = true; });
        m_dialogs->clear();
        m_dialogs->answers({backups + '/' + written.first(), true});
        GuiTest::find<QAction>(&w, "miSicherungZurueckspielen")->trigger();
        TFormMain::setRestarter({});
        QCOMPARE(m_dialogs->texts(),
                 QStringList({"Datensicherung zurückspielen",
                              QStringLiteral("Soll die Datensicherung \"%1\" zurückgespielt werden?\rDie jetzige "
                                             "Datenbank wird vorher selbst gesichert; danach startet das Programm neu.")
                                  .arg(written.first()),
                              "Die Datensicherung wurde zurückgespielt.\rDas Programm startet jetzt neu."}));
        QVERIFY(restarted);
        QVERIFY(w.programEnded());
        QCOMPARE(QDir(backups).entryList({"Finorra-*.abs"}).size(), 2);
        auto db = folder.db().connect();
        QCOMPARE(db->scalar("select TKurz from tbau").toString(), QStringLiteral("vorher"));
    }

    // Finorra.ini beside the program chooses the office's server.
    void serverChosenInTheSettingsFile()
    {
        ProgramFolder folder;
        {
            QFile ini(folder.exeDir() + "Finorra.ini");
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write("[Datenbank]\nTyp=PostgreSQL\nHost=127.0.0.1\nPort=1\nDatenbank=buero\nBenutzer=beratung\n");
        }
        {
            DataModules dm;
            TFormMain w(dm, folder.exeDir());
            QVERIFY(!w.start());
            QCOMPARE(m_dialogs->texts(),
                     QStringList({"Die Datenbank \"PostgreSQL: 127.0.0.1/buero\" kann nicht geöffnet werden.\rDer "
                                  "Datenbankserver 127.0.0.1 (Port 1) ist nicht erreichbar."}));
        }
        if (qEnvironmentVariableIsEmpty("FINORRA_TEST_PG"))
            QSKIP("Kein PostgreSQL-Testserver (FINORRA_TEST_PG ist nicht gesetzt); der Start am Server läuft mit \"make test\".");
        qputenv("FINORRA_TEST_BACKEND", "postgres");
        TempDatabase server;
        qunsetenv("FINORRA_TEST_BACKEND");
        const ServerSettings s = server.server();
        {
            QFile ini(folder.exeDir() + "Finorra.ini");
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write(QStringLiteral("[Datenbank]\nTyp=PostgreSQL\nHost=%1\nPort=%2\nDatenbank=%3\nBenutzer=%4\n")
                          .arg(s.host).arg(s.port).arg(s.database, s.user).toUtf8());
        }
        m_dialogs->clear();
        DataModules dm;
        TFormMain w(dm, folder.exeDir());
        loginWhenShown();
        QVERIFY(w.start());
        QCOMPARE(panel(w, 2), QStringLiteral("  PostgreSQL: %1/%2").arg(s.host, s.database));
        auto *restore = GuiTest::find<QAction>(&w, "miSicherungZurueckspielen");
        QCOMPARE(restore->text(), QStringLiteral("Datensicherung zurückspielen (Sache der Serververwaltung)"));
        QVERIFY(!restore->isEnabled());
        QVERIFY(!GuiTest::find<QAction>(&w, "miSicherungErstellen")->isEnabled());
        // The server reorganises in place and the program goes on.
        m_dialogs->clear();
        m_dialogs->answer(true);
        w.reorganize();
        QCOMPARE(m_dialogs->texts(), QStringList({"Soll die Datenbank reorganisiert werden?",
                                                  "Die Datenbank wurde erfolgreich reorganisiert."}));
        QVERIFY(!w.programEnded());
        QVERIFY(dm.db.isOpen());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
