#include "ContactsFixture.h"

#include "support/GuiTest.h"
#include "support/RecordingDocumentOpener.h"

#include "contacts/ChooseContact.h"
#include "contacts/ContactsModule.h"
#include "contacts/PlzEdit.h"
#include "contacts/TFormKontakteErfassen.h"
#include "ui/DbEdit.h"
#include "ui/Printout.h"
#include "ui/RecordDialog.h"
#include "ui/ScriptedDialogs.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

namespace {

QString readRtf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
}

void click(QWidget *root, const QString &name)
{
    GuiTest::find<QAbstractButton>(root, name)->click();
}

// Replaces what an input shows by typed text and leaves it, as the user does.
void retype(QLineEdit *e, const QString &text)
{
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    e->setCursorPosition(0);
    GuiTest::type(e, text);
    GuiTest::leave(e);
}

} // namespace

class TestContactWindows : public QObject
{
    Q_OBJECT

    std::unique_ptr<ContactsFixture> m_f;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<ContactsModule> m_module;
    RecordingDocumentOpener m_opener;

    DataSet *contacts() { return m_f->contacts(); }
    QString current(const char *field) { return contacts()->asString(QLatin1String(field)); }

    // Runs the selection window: `work` inside it, then the button that closes it.
    int choose(const std::function<void(QDialog *)> &work, const QString &closeWith)
    {
        bool ran = false;
        RecordDialog::whenShown([&](QDialog *dlg) {
            dlg->activateWindow();
            [&] { QVERIFY(QTest::qWaitForWindowActive(dlg)); }();
            work(dlg);
            ran = true;
            click(dlg, closeWith);
        });
        const int id = ChooseContact(m_f->dm);
        [&] { QVERIFY(ran); }();
        return id;
    }
    static void search(QDialog *dlg, const QString &filter, const QString &text)
    {
        click(dlg, filter);
        GuiTest::find<QLineEdit>(dlg, "eSuchen")->setText(text);
        click(dlg, "butGo");
    }
    static QString hits(QDialog *dlg) { return GuiTest::find<QLabel>(dlg, "lblTreffer")->text(); }

    // Opens the capture window and runs `work` in it; closes it afterwards if still open.
    void capture(const std::function<void(QDialog *)> &work)
    {
        bool ran = false;
        RecordDialog::whenShown([&](QDialog *dlg) {
            // Focus checks need the window active, which offscreen takes a moment.
            dlg->activateWindow();
            [&] { QVERIFY(QTest::qWaitForWindowActive(dlg)); }();
            work(dlg);
            ran = true;
            if (dlg->isVisible())
                click(dlg, "kontTbutSchliessen");
            // A failed check may leave a row that cannot be stored; the window must not hang.
            if (dlg->isVisible()) {
                contacts()->cancel();
                dlg->reject();
            }
        });
        TFormKontakteErfassen window(m_f->dm);
        window.exec();
        QVERIFY(ran);
    }

private slots:
    void init()
    {
        m_f = std::make_unique<ContactsFixture>();
        m_dialogs = std::make_unique<ScriptedDialogs>();
        m_module = std::make_unique<ContactsModule>(m_f->dm);
        m_module->activate();
        Printout::installOpener(&m_opener);
        m_opener.opened.clear();
    }
    void cleanup()
    {
        Printout::installOpener(nullptr);
        m_module.reset();
        m_dialogs.reset();
        m_f.reset();
    }

    // Before any search the list holds nothing, so nothing is chosen.
    void chooseBeforeSearchGivesZero()
    {
        QCOMPARE(choose([](QDialog *) {}, "kwTbutEnde"), 0);
        QVERIFY(!ContactTakenOver());
    }

    void searchShowsHitsAndTakesOver()
    {
        const int id = choose(
            [](QDialog *dlg) {
                QCOMPARE(dlg->windowTitle(), QStringLiteral("Kontaktadressen wählen ..."));
                QVERIFY(GuiTest::find<QRadioButton>(dlg, "rbSuchname")->isChecked());
                search(dlg, "rbOrt", "berlin");
                QCOMPARE(hits(dlg), QStringLiteral("  1 Kontakt(e)"));
                QCOMPARE(GuiTest::find<QLabel>(dlg, "lblname1")->text(), QStringLiteral("Erika"));
                search(dlg, "rbSuchname", "o'");
                QCOMPARE(hits(dlg), QStringLiteral("  1 Kontakt(e)"));
                QVERIFY(GuiTest::find<QLineEdit>(dlg, "eSuchen")->hasFocus());
            },
            "butUebernehmen");
        QCOMPARE(id, 3);
        QVERIFY(ContactTakenOver());
    }

    // "&Ende" clears the mark, yet the caller gets the row current in the list; the list
    // keeps the last search for the next opening, whose hit count starts empty.
    void endClearsMarkButReturnsCurrentRow()
    {
        choose([](QDialog *dlg) { search(dlg, "rbPlz", "12"); }, "butUebernehmen");
        QVERIFY(ContactTakenOver());
        const int id = choose(
            [](QDialog *dlg) {
                QCOMPARE(hits(dlg), QString());
                QCOMPARE(GuiTest::find<QLabel>(dlg, "lblname1")->text(), QStringLiteral("Ärztehaus"));
            },
            "kwTbutEnde");
        QCOMPARE(id, 4);
        QVERIFY(!ContactTakenOver());
    }

    void searchWithoutHitsGivesZero()
    {
        const int id = choose(
            [](QDialog *dlg) {
                search(dlg, "rbName1", "%zz");
                QCOMPARE(hits(dlg), QStringLiteral("  0 Kontakt(e)"));
            },
            "butUebernehmen");
        QCOMPARE(id, 0);
    }

    // A known postcode fills in the town that sorts first; storing it asks nothing.
    void postcodeCompletesTownOfNewContact()
    {
        capture([this](QDialog *dlg) {
            QCOMPARE(dlg->windowTitle(), QStringLiteral("Kontakte Schnellerfassung"));
            click(dlg, "kontTbutNeu");
            QCOMPARE(contacts()->state(), DataSet::State::Insert);
            GuiTest::type(GuiTest::find<QLineEdit>(dlg, "dbeName1"), QStringLiteral("Jürgen"));
            retype(GuiTest::find<QLineEdit>(dlg, "dbePlz"), QStringLiteral("34117"));
            QCOMPARE(current("Ort"), QStringLiteral("Kassel"));
            QCOMPARE(GuiTest::find<QLineEdit>(dlg, "dbePoOrt")->text(), QStringLiteral("Kassel"));
            click(dlg, "kontTbutSpeichern");
            QCOMPARE(contacts()->state(), DataSet::State::Browse);
        });
        QVERIFY(m_dialogs->log().isEmpty());
        QCOMPARE(m_f->value("select Ort from adressen where Name1 = 'Jürgen'").toString(), QStringLiteral("Kassel"));
        QCOMPARE(m_f->value("select Erfdat from adressen where Name1 = 'Jürgen'").toString(),
                 QDate::currentDate().toString(Qt::ISODate));
    }

    // Leaving the postcode of a contact that is not being edited changes nothing; once
    // the contact is being edited, the same leaving fills in the town.
    void postcodeCompletesOnlyWhileEditing()
    {
        m_f->dm.db.exec("update adressen set Buland = 'Hessen' where Suna = 'Jobcenter Kassel'");
        contacts()->reopen();
        contacts()->locate("Suna", "Jobcenter Kassel");
        capture([this](QDialog *dlg) {
            QCOMPARE(GuiTest::find<QComboBox>(dlg, "dbcBuland")->currentText(), QStringLiteral("Hessen"));
            auto *plz = GuiTest::find<QLineEdit>(dlg, "dbePlz");
            plz->setFocus();
            GuiTest::leave(plz);
            QCOMPARE(contacts()->state(), DataSet::State::Browse);
            QCOMPARE(current("Ort"), QStringLiteral("Kassel-Wilhelmshöhe"));
            GuiTest::type(GuiTest::find<QLineEdit>(dlg, "dbeTelefon"), QStringLiteral("0561 1"));
            GuiTest::leave(plz);
            QCOMPARE(current("Ort"), QStringLiteral("Kassel"));
            click(dlg, "kontTbutAbbruch");
        });
    }

    // A half-typed postcode keeps the focus and does not complete; Escape gives back the
    // stored one.
    void incompletePostcodeIsRefused()
    {
        contacts()->locate("Suna", "Jobcenter Kassel");
        capture([this](QDialog *dlg) {
            auto *plz = GuiTest::find<QLineEdit>(dlg, "dbePlz");
            retype(plz, QStringLiteral("341"));
            QCOMPARE(m_dialogs->texts(), QStringList{PlzEdit::InvalidMessage});
            QCOMPARE(m_dialogs->log().first().kind, mkError);
            QVERIFY(plz->hasFocus());
            QCOMPARE(current("Plz"), QStringLiteral("34117"));
            QCOMPARE(current("Ort"), QStringLiteral("Kassel-Wilhelmshöhe"));
            QTest::keyClick(plz, Qt::Key_Escape);
            QVERIFY(dlg->isVisible());
            QCOMPARE(plz->text(), QStringLiteral("34117"));
            click(dlg, "kontTbutAbbruch");
        });
        QCOMPARE(m_dialogs->log().size(), 1);
    }

    // An unknown postcode is offered for the list when the contact is stored by closing.
    void closingStoresAndOffersUnknownPostcode()
    {
        m_dialogs->answer(true);
        capture([](QDialog *dlg) {
            click(dlg, "kontTbutNeu");
            GuiTest::type(GuiTest::find<QLineEdit>(dlg, "dbeSuna"), QStringLiteral("Neu, Anna"));
            retype(GuiTest::find<QLineEdit>(dlg, "dbePlz"), QStringLiteral("99998"));
            // The post-box line edits the same town.
            retype(GuiTest::find<QLineEdit>(dlg, "dbePoOrt"), QStringLiteral("Neustadt"));
            QCOMPARE(GuiTest::find<QLineEdit>(dlg, "dbeOrt")->text(), QStringLiteral("Neustadt"));
        });
        QCOMPARE(m_dialogs->texts(), QStringList{"99998 Neustadt nicht vorhanden!\rAufnehmen?"});
        QCOMPARE(m_dialogs->log().first().kind, mkConfirm);
        QCOMPARE(m_f->count("select count(*) from adressen where Suna = 'Neu, Anna' and Ort = 'Neustadt'"), 1);
        QCOMPARE(m_f->value("select Ort from plzort where Plz = '99998'").toString(), QStringLiteral("Neustadt"));
    }

    void deleteAsksAndFailsOnEmptyTable()
    {
        m_f->dm.db.exec("delete from adressen");
        contacts()->reopen();
        m_dialogs->answer(true);
        capture([](QDialog *dlg) { click(dlg, "kontTbutLoeschen"); });
        QCOMPARE(m_dialogs->texts(),
                 (QStringList{"Datensatz löschen?", "Operation bei leerer Datenmenge nicht ausführbar"}));
        QCOMPARE(m_dialogs->log().first().kind, mkWarning);
    }

    // Choosing from the capture window stores the pending contact first, and "&Ende"
    // still moves to the contact current in the list.
    void chooseFromCaptureWindowMovesCursor()
    {
        contacts()->locate("Suna", "Jobcenter Kassel");
        capture([this](QDialog *dlg) {
            GuiTest::type(GuiTest::find<QLineEdit>(dlg, "dbeName3"), QStringLiteral("Team 2"));
            RecordDialog::whenShown([](QDialog *wahl) {
                search(wahl, "rbName2", "must");
                click(wahl, "kwTbutEnde");
            });
            click(dlg, "butKontaktWaehlen");
            QCOMPARE(current("Suna"), QStringLiteral("Mustermann, Erika"));
            QCOMPARE(GuiTest::find<QLabel>(dlg, "lblSuchname")->text(), QStringLiteral("Mustermann, Erika"));
        });
        QCOMPARE(m_f->value("select Name3 from adressen where Suna = 'Jobcenter Kassel'").toString(),
                 QStringLiteral("Team 2"));
    }

    // The page shows the current contact; choosing with "&Ende" still moves it.
    void pageChoosesAndShowsContact()
    {
        std::unique_ptr<QWidget> page(m_module->createPage(nullptr));
        contacts()->first();
        QCOMPARE(GuiTest::find<QLabel>(page.get(), "lblSuna")->text(), QStringLiteral("Jobcenter Kassel"));
        RecordDialog::whenShown([](QDialog *wahl) {
            search(wahl, "rbSuchname", "o'");
            click(wahl, "kwTbutEnde");
        });
        click(page.get(), "adrtbutAuswaehlen");
        QCOMPARE(GuiTest::find<QLabel>(page.get(), "lblSuna")->text(), QStringLiteral("O'Brien, Sean"));
        QCOMPARE(GuiTest::find<QLabel>(page.get(), "lblPoOrt")->text(), QStringLiteral("Bernau"));
    }

    // The card prints the row as it stands, a value typed but not stored included.
    void cardPrintsPendingRowWithoutStoring()
    {
        contacts()->locate("Suna", "Jobcenter Kassel");
        capture([this](QDialog *dlg) {
            GuiTest::type(GuiTest::find<QLineEdit>(dlg, "dbeTelefon"), QStringLiteral("0561 2"));
            auto *notes = GuiTest::find<QWidget>(dlg, "dbmNotizen");
            GuiTest::type(notes, QStringLiteral("Ruft vormittags an"));
            QTest::keyClick(notes, Qt::Key_Return);
            GuiTest::type(notes, QStringLiteral("Termin nur dienstags"));
            click(dlg, "kontTbutKarteikarte");
            QCOMPARE(m_dialogs->log().size(), 0);
            click(dlg, "kontTbutAbbruch");
        });
        const QString out = m_f->out.filePath("sbKontKarteiKarte.rtf");
        QCOMPARE(m_opener.opened, QStringList{out});
        const QString rtf = readRtf(out);
        for (const char *seen : {"Jobcenter Kassel", "Gr\\'FCner Weg", "34117", "Kassel-Wilhelmsh\\'F6he", "0561 2",
                                 "Ruft vormittags an\\par Termin nur dienstags"})
            QVERIFY2(rtf.contains(QLatin1String(seen)), seen);
        QVERIFY(!rtf.contains("ekAdr"));
        QVERIFY(m_f->value("select Telefon from adressen where Suna = 'Jobcenter Kassel'").isNull());
    }

    void cardOfEmptyTableHasEmptyFields()
    {
        m_f->dm.db.exec("delete from adressen");
        contacts()->reopen();
        std::unique_ptr<QWidget> page(m_module->createPage(nullptr));
        click(page.get(), "adrtbutKarteikarte");
        QCOMPARE(m_dialogs->log().size(), 0);
        const QString rtf = readRtf(m_f->out.filePath("sbKontKarteiKarte.rtf"));
        QVERIFY(rtf.contains("Karteikarte"));
        QVERIFY(!rtf.contains("ekAdr"));
    }

    void listPrintsEveryContactInSearchNameOrder()
    {
        std::unique_ptr<QWidget> page(m_module->createPage(nullptr));
        click(page.get(), "adrtbutKontaktliste");
        QCOMPARE(m_dialogs->log().size(), 0);
        const QString out = m_f->out.filePath("sbKontaktliste.rtf");
        QCOMPARE(m_opener.opened, QStringList{out});
        const QString rtf = readRtf(out);
        qsizetype at = 0;
        for (const char *name : {"Jobcenter Kassel", "Mustermann, Erika", "O'Brien, Sean", "Praxis am Park"}) {
            at = rtf.indexOf(QLatin1String(name), at);
            QVERIFY2(at > 0, name);
        }
        QVERIFY(rtf.contains(Printout::CreditLine));
        QVERIFY(!rtf.contains("qrKontakte"));
    }
};

QTEST_MAIN(TestContactWindows)
#include "tst_contactwindows.moc"
