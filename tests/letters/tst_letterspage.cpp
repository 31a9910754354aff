#include "support/GuiTest.h"
#include "support/ReadFile.h"
#include "support/RecordingDocumentOpener.h"
#include "support/TempDatabase.h"

#include "core/DateUtil.h"
#include "data/DataModules.h"
#include "letters/LetterPrintout.h"
#include "letters/LettersModule.h"
#include "ui/DbLabel.h"
#include "ui/Printout.h"
#include "ui/RecordDialog.h"
#include "ui/ScriptedDialogs.h"

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

class TestLettersPage : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempDatabase> m_tmp;
    std::unique_ptr<QTemporaryDir> m_out;
    std::unique_ptr<DataModules> m_dm;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<LettersModule> m_module;
    std::unique_ptr<QWidget> m_page;
    RecordingDocumentOpener m_opener;

    DataSet *letters() { return m_dm->dmSchrift->qrSchrift; }
    void click(QWidget *root, const QString &name) { GuiTest::find<QAbstractButton>(root, name)->click(); }
    void click(const QString &name) { click(m_page.get(), name); }
    QString shown(const QString &label) { return GuiTest::find<DbLabel>(m_page.get(), label)->text(); }
    // Searches the contacts for `text` in the selection window and closes it by `button`.
    void chooseWhenShown(const QString &text, const QString &button)
    {
        RecordDialog::whenShown([this, text, button](QDialog *dlg) {
            auto *search = GuiTest::find<QLineEdit>(dlg, "eSuchen");
            search->setText(text);
            click(dlg, "butGo");
            click(dlg, button);
        });
    }

private slots:
    void init()
    {
        m_tmp = std::make_unique<TempDatabase>();
        m_out = std::make_unique<QTemporaryDir>();
        {
            auto db = m_tmp->connect();
            db->exec("update benutzer set SbLang = 'Susanne Berger', SbTelefon = '0421 12345' where SbKurz = 'sb'");
            db->exec("insert into benutzer (SbKurz, Passwort) values ('mk', '')");
            db->exec("update firma set FReportIn = :in, FReportOut = :out, Bank2Name1 = 'Volksbank', Bank2Ktonr = '987', "
                     "Bank2Blz = '29190024', Bank2Verwenden = 1, Bank1Verwenden = 0",
                     {{"in", qEnvironmentVariable("FINORRA_SOURCE_DIR") + "/resources/Reportvorlagen/"},
                      {"out", m_out->path() + '/'}});
            db->exec("insert into adressen (Name1, Name2, Suna, Land, Plz, Ort, Strasse, Hausnr) values "
                     "('Stadtwerke Bremen AG', 'Forderungsmanagement', 'STADTWERKE', 'D', '28215', 'Bremen', "
                     "'Theodor-Heuss-Allee', '20')");
            db->exec("insert into adressen (Name1, Suna, Land, Poplz, Pofach, Ort, Poverwenden) values "
                     "('Amtsgericht Bremen', 'AMTSGERICHT', 'D', '28001', '10 11 22', 'Bremen', 1)");
            db->exec("insert into schrift (Erfdat, Emp_id, Titel, SB, SBKurz, SBTelefon, UnserZeichen, Text, User_id) "
                     "values ('2026-11-02', 1, 'Stadtwerke - Raten', 'Alte Beraterin', 'ab', '0421 999', 'AB/7', "
                     "'Sehr geehrte Damen und Herren,', 1)");
            db->exec("insert into schrift (Erfdat, Titel, User_id) values ('2026-11-05', 'ohne Empfänger', 1)");
            db->exec("insert into tbau (TKurz, TTitel, TText) values ('ANSCHR', 'Anschreiben', 'wir vertreten Familie M.')");
            db->exec("insert into tbau (TKurz, TTitel, TText) values ('GRUSS', 'Grußformel', 'Mit freundlichen Grüßen')");
        }
        m_dm = std::make_unique<DataModules>();
        m_tmp->openIn(m_dm->db);
        QVERIFY(m_dm->dmMP->lookupUser("sb"));
        m_dialogs = std::make_unique<ScriptedDialogs>();
        Printout::installOpener(&m_opener);
        m_opener.opened.clear();
        m_module = std::make_unique<LettersModule>(*m_dm);
        m_page.reset(m_module->createPage(nullptr));
        m_module->activate();
        letters()->first();
    }
    void cleanup()
    {
        m_page.reset();
        m_module.reset();
        Printout::installOpener(nullptr);
        m_dialogs.reset();
        m_dm.reset();
        m_out.reset();
        m_tmp.reset();
    }

    void recipientPanelFollowsTheLetter()
    {
        QCOMPARE(shown("brlblname1"), QStringLiteral("Stadtwerke Bremen AG"));
        QCOMPARE(shown("brlblSchreibenAn"), QStringLiteral("STADTWERKE"));
        letters()->next();
        QCOMPARE(shown("brlblname1"), QString());
        click("brbutTitel");
        QCOMPARE(letters()->asString("Titel"), QStringLiteral(" - "));
        letters()->cancel();

        // A deleted contact leaves the letter its number and an empty panel.
        letters()->first();
        m_dm->db.exec("delete from adressen where Adr_id = 1");
        m_module->activate();
        QCOMPARE(letters()->value("Emp_id").toInt(), 1);
        QCOMPARE(shown("brlblname1"), QString());
    }

    // The title button leaves the cursor after the dash, also when the window comes back
    // to the front afterwards (as it does after the contact selection has closed).
    void typingAfterTheTitleButtonContinuesTheTitle()
    {
        m_page->show();
        QApplication::setActiveWindow(m_page.get());
        QVERIFY(QTest::qWaitForWindowActive(m_page.get()));
        click("brbutTitel");
        auto *title = GuiTest::find<QLineEdit>(m_page.get(), "brdbeTitel");
        QVERIFY(title->hasFocus());
        QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(title, &out);
        QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(title, &in);
        QVERIFY(!title->hasSelectedText());
        GuiTest::type(title, "Raten");
        QCOMPARE(title->text(), QStringLiteral("STADTWERKE - Raten"));
    }

    void choosingARecipientAsksBeforeReplacingOne()
    {
        chooseWhenShown("amts", "butUebernehmen");
        click("brbutEmpfaenger");   // answered No
        QCOMPARE(m_dialogs->texts(), QStringList{"Adresse überschreiben?"});
        QCOMPARE(letters()->value("Emp_id").toInt(), 1);
        QVERIFY(!letters()->isPending());
        QCOMPARE(m_dm->dmAdressen->qrKontakte->value("Adr_id").toInt(), 2);

        m_dialogs->clear();
        m_dialogs->answer(true);
        chooseWhenShown("amts", "butUebernehmen");
        click("brbutEmpfaenger");
        QCOMPARE(letters()->value("Emp_id").toInt(), 2);
        QVERIFY(letters()->value("Emp_Mako").toBool());
        QCOMPARE(shown("brlblpofach"), QStringLiteral("10 11 22"));
        QCOMPARE(shown("brlblPoOrt"), QStringLiteral("Bremen"));

        // "&Ende" changes nothing in the letter, but the contacts follow the list.
        letters()->next();
        m_dialogs->clear();
        chooseWhenShown("stadt", "kwTbutEnde");
        click("brbutEmpfaenger");
        QCOMPARE(m_dialogs->texts(), QStringList());
        QVERIFY(letters()->value("Emp_id").isNull());
        QCOMPARE(m_dm->dmAdressen->qrKontakte->value("Adr_id").toInt(), 1);
    }

    void copyKeepsTheAdviserOfTheOriginal()
    {
        m_dialogs->answer(true);
        GuiTest::find<QTabWidget>(m_page.get(), "brTabs")->setCurrentIndex(2);
        click("brbutTextKopieren");
        QCOMPARE(m_dialogs->texts(), QStringList{"Text in einen neuen Datensatz kopieren?"});
        QCOMPARE(GuiTest::find<QTabWidget>(m_page.get(), "brTabs")->currentIndex(), 0);
        QCOMPARE(letters()->state(), DataSet::State::Insert);
        QCOMPARE(letters()->asString("SB"), QStringLiteral("Alte Beraterin"));
        QCOMPARE(letters()->asString("SBKurz"), QStringLiteral("ab"));
        QCOMPARE(letters()->asString("SBTelefon"), QStringLiteral("0421 999"));
        QCOMPARE(letters()->asString("UnserZeichen"), QStringLiteral("AB/7"));
        QCOMPARE(letters()->asString("Text"), QStringLiteral("Sehr geehrte Damen und Herren,"));
        QCOMPARE(letters()->asDate("Erfdat"), DateUtil::today());
        QVERIFY(letters()->value("Emp_id").isNull());
        QVERIFY(letters()->asString("Titel").isEmpty());
        letters()->post();
        QCOMPARE(m_dm->db.scalar("select count(*) from schrift").toInt(), 3);
    }

    void textModuleIsAppendedOnlyWhenTakenOver()
    {
        RecordDialog::whenShown([this](QDialog *dlg) {
            GuiTest::find<QLineEdit>(dlg, "tbeSuchen")->setText("gr");
            QCOMPARE(m_dm->dmSchrift->qrTbau->asString("TKurz"), QStringLiteral("GRUSS"));
            GuiTest::find<QLineEdit>(dlg, "tbeSuchen")->setText("xy");   // no match: stays
            QCOMPARE(m_dm->dmSchrift->qrTbau->asString("TKurz"), QStringLiteral("GRUSS"));
            click(dlg, "tbTbutUebernehmen");
        });
        click("brTbutTextbau");
        QCOMPARE(letters()->asString("Text"), QStringLiteral("Sehr geehrte Damen und Herren,\nMit freundlichen Grüßen"));
        letters()->post();

        RecordDialog::whenShown([this](QDialog *dlg) { click(dlg, "tbTbutOhne"); });
        click("brTbutTextbau");
        QVERIFY(!letters()->isPending());
        QCOMPARE(letters()->asString("Text"), QStringLiteral("Sehr geehrte Damen und Herren,\nMit freundlichen Grüßen"));
    }

    void printsThroughTheChosenForm()
    {
        letters()->edit();
        letters()->setValue("Betreff", "Ratenzahlung");   // pending: stored before printing
        click("brTbutDrucken");
        QCOMPARE(m_dialogs->texts(), QStringList());
        QVERIFY(!letters()->isPending());
        const QString standard = m_out->filePath("sbStandardbrief.rtf");
        QCOMPARE(m_opener.opened, QStringList{standard});
        QByteArray rtf = readFile(standard);
        QVERIFY(rtf.contains("Stadtwerke Bremen AG"));
        QVERIFY(rtf.contains("Ratenzahlung"));
        QVERIFY(rtf.contains("Volksbank * Konto 987 * BLZ 29190024"));
        QVERIFY(!rtf.contains("\\\\ek"));

        GuiTest::find<QRadioButton>(m_page.get(), "rbIntern")->setChecked(true);
        click("brTbutDrucken");
        rtf = readFile(m_out->filePath("sbInternerbrief.rtf"));
        QVERIFY(rtf.contains("Bankleitzahl 29190024"));
        QVERIFY(!rtf.contains("\\\\ek"));
        QCOMPARE(m_opener.opened.size(), 2);
    }

    void userWithoutLetters()
    {
        QVERIFY(m_dm->dmMP->lookupUser("mk"));
        m_module->activate();
        QCOMPARE(letters()->recordCount(), 0);
        click("brTbutDrucken");
        QCOMPARE(m_dialogs->texts(), QStringList{LetterPrintout::NoLetterWarning});
        QVERIFY(QDir(m_out->path()).isEmpty());

        // "Datum" on no letter at all starts one, with its creation defaults.
        click("brbutDatum");
        QCOMPARE(letters()->state(), DataSet::State::Insert);
        QCOMPARE(letters()->asString("SBKurz"), QStringLiteral("mk"));
        QCOMPARE(letters()->asDate("Erfdat"), DateUtil::today());
    }
};

QTEST_MAIN(TestLettersPage)
#include "tst_letterspage.moc"
