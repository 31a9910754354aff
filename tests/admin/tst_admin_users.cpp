#include "AdminFixture.h"
#include "support/GuiTest.h"

#include "admin/TFormPasswort.h"
#include "admin/TFormUser.h"
#include "core/PasswordHash.h"
#include "ui/DbEdit.h"
#include "ui/DbGrid.h"
#include "ui/FieldLabel.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QPushButton>
#include <QToolButton>

#include <functional>

class TestUsers : public QObject
{
    Q_OBJECT

    std::unique_ptr<AdminFixture> f;

    // Opens the capture window by "Bearbeiten" and lets `work` drive it.
    static void capture(TFormUser &users, std::function<void(QDialog *)> work)
    {
        bool ran = false;
        RecordDialog::whenShown([&](QDialog *dlg) {
            ran = true;
            QCOMPARE(dlg->windowTitle(), QStringLiteral("Benutzer erfassen"));
            work(dlg);
            if (dlg->isVisible())
                GuiTest::find<QToolButton>(dlg, "tbutEnde")->click();
        });
        GuiTest::find<QToolButton>(&users, "tbutBearbeiten")->click();
        QVERIFY(ran);
    }
    static void click(QWidget *root, const char *name) { GuiTest::find<QAbstractButton>(root, name)->click(); }
    static void type(QWidget *root, const char *name, const QString &text)
    {
        GuiTest::type(GuiTest::find<QLineEdit>(root, name), text);
    }

private slots:
    void init() { f = std::make_unique<AdminFixture>(); }
    void cleanup() { f.reset(); }

    void addingAUserEndsTheProgram()
    {
        TFormUser users(f->dm);
        users.show();
        auto *grid = GuiTest::find<DbGrid>(&users, "gridUser");
        QVERIFY(grid->isReadOnly());
        QCOMPARE(grid->model()->rowCount(), 1);
        capture(users, [&](QDialog *dlg) {
            click(dlg, "tbutNeu");
            type(dlg, "eSbKurz", "tom");
            type(dlg, "eSbLang", "Neue Beraterin");
            type(dlg, "ePasswort", "Passwört");
            QCOMPARE(GuiTest::find<QLineEdit>(dlg, "ePasswort")->echoMode(), QLineEdit::Normal);
            QCOMPARE(FieldLabel::of(GuiTest::find<QLineEdit>(dlg, "ePasswort")), QStringLiteral("Passwort"));
            QCOMPARE(GuiTest::find<QPushButton>(dlg, "btnUebernehmen")->text(), QStringLiteral("Übernehmen"));
            click(dlg, "btnUebernehmen");
            QVERIFY(!dlg->isVisible());
        });
        QCOMPARE(grid->model()->rowCount(), 2);
        QCOMPARE(f->dm.dmMP->qrUser->asString("SbKurz"), QStringLiteral("tom"));   // still the one just stored
        const QString stored = f->storedPassword("tom");
        QVERIFY(PasswordHash::isHash(stored));
        QVERIFY(PasswordHash::verify("Passwört", stored));
        QVERIFY(f->dialogs.log().isEmpty());

        click(&users, "tbutEnde");
        QCOMPARE(f->dialogs.texts(), QStringList{"Programm muss neu gestartet werden!"});
        QCOMPARE(f->dialogs.log().first().kind, mkWarning);
        QVERIFY(!users.isVisible());
        QVERIFY(users.programMustEnd());
        QVERIFY(!f->dm.dmMP->qrUser->isOpen());
    }

    void passwordFieldKeepsOrSetsThePassword()
    {
        TFormUser users(f->dm);
        users.show();
        // Changing the name only keeps the password; the field never shows the stored hash.
        capture(users, [&](QDialog *dlg) {
            QCOMPARE(GuiTest::find<QLineEdit>(dlg, "eSbKurz")->text(), QStringLiteral("sb"));
            QCOMPARE(GuiTest::find<QLineEdit>(dlg, "ePasswort")->text(), QString());
            auto *lang = GuiTest::find<QLineEdit>(dlg, "eSbLang");
            lang->setFocus();
            QTest::keyClick(lang, Qt::Key_End);
            GuiTest::type(lang, " Nord");
            click(dlg, "btnUebernehmen");
        });
        QVERIFY(PasswordHash::verify("sb", f->storedPassword("sb")));
        QCOMPARE(f->text("select SbLang from benutzer where SbKurz = 'sb'"), QStringLiteral("Sachbearbeiter Nord"));

        // Typing into the password field alone starts editing and sets a new password.
        capture(users, [&](QDialog *dlg) {
            type(dlg, "ePasswort", "neu!");
            QCOMPARE(f->dm.dmMP->qrUser->state(), DataSet::State::Edit);
            click(dlg, "btnUebernehmen");
        });
        QVERIFY(PasswordHash::verify("neu!", f->storedPassword("sb")));

        // A new user whose field stays empty gets the empty password, stored as a hash.
        capture(users, [&](QDialog *dlg) {
            click(dlg, "tbutNeu");
            type(dlg, "eSbKurz", "ohne");
            click(dlg, "btnUebernehmen");
        });
        QVERIFY(PasswordHash::isHash(f->storedPassword("ohne")));
        QVERIFY(PasswordHash::verify("", f->storedPassword("ohne")));

        // "Neu" and "Übernehmen" without typing store no nameless user.
        capture(users, [&](QDialog *dlg) {
            click(dlg, "tbutNeu");
            click(dlg, "btnUebernehmen");
        });
        QCOMPARE(f->count("select count(*) from benutzer"), 2);
    }

    void lastUserDeletedKeepsTheWindowOpen()
    {
        TFormUser users(f->dm);
        users.show();
        capture(users, [&](QDialog *dlg) {
            f->dialogs.answer(false);
            click(dlg, "tbutLoeschen");
            QCOMPARE(f->count("select count(*) from benutzer"), 1);
            f->dialogs.answer(true);
            click(dlg, "tbutLoeschen");
            QCOMPARE(f->count("select count(*) from benutzer"), 0);
            // A new user typed but left by "Ende" is not stored, so it does not count.
            click(dlg, "tbutNeu");
            type(dlg, "eSbKurz", "halb");
        });
        QCOMPARE(f->dialogs.texts(), QStringList({"User aus der Datenbank löschen?", "User aus der Datenbank löschen?"}));
        QCOMPARE(f->dialogs.log().first().kind, mkWarning);
        f->dialogs.clear();
        users.close();
        QCOMPARE(f->dialogs.texts(), QStringList{"Es muss mindestens ein Benutzer vorhanden sein!"});
        QVERIFY(users.isVisible());
        QVERIFY(!users.programMustEnd());
        QCOMPARE(f->count("select count(*) from benutzer"), 0);

        // With a user again the window closes and the program must end.
        capture(users, [&](QDialog *dlg) {
            type(dlg, "eSbKurz", "da");
            click(dlg, "btnUebernehmen");
        });
        f->dialogs.clear();
        QTest::keyClick(&users, Qt::Key_Escape);
        QCOMPARE(f->dialogs.texts(), QStringList{"Programm muss neu gestartet werden!"});
        QVERIFY(users.programMustEnd());
        QCOMPARE(f->count("select count(*) from benutzer where SbKurz = 'da'"), 1);
    }

    void abbrechenDropsTheChange()
    {
        TFormUser users(f->dm);
        capture(users, [&](QDialog *dlg) {
            type(dlg, "eSbLang", "X");
            type(dlg, "ePasswort", "anders");
            click(dlg, "btnAbbrechen");
            QVERIFY(!dlg->isVisible());
        });
        QCOMPARE(f->text("select SbLang from benutzer where SbKurz = 'sb'"), QStringLiteral("Sachbearbeiter"));
        QVERIFY(PasswordHash::verify("sb", f->storedPassword("sb")));
        QCOMPARE(f->dm.dmMP->qrUser->state(), DataSet::State::Browse);
    }

    void shortNamesThatCouldNeverLogInAreRefused_data()
    {
        QTest::addColumn<QString>("kurz");
        QTest::addColumn<QString>("message");
        const QString taken = QStringLiteral("Das Benutzer-Kürzel \"sb\" ist bereits vergeben.\r"
                                             "Bitte wählen Sie ein anderes Kürzel.");
        const QString empty = QStringLiteral("Bitte geben Sie ein Benutzer-Kürzel ein.\r"
                                             "Ohne Kürzel kann sich der Benutzer nicht anmelden.");
        QTest::newRow("taken") << "sb" << taken;
        QTest::newRow("taken, other case") << "SB" << taken;
        QTest::newRow("empty") << "" << empty;
        QTest::newRow("blanks") << "   " << empty;
        const QString path = QStringLiteral("Das Benutzer-Kürzel darf die Zeichen / \\ : und .. nicht enthalten.\r"
                                            "Bitte wählen Sie ein anderes Kürzel.");
        QTest::newRow("parent folder") << "../x" << path;
        QTest::newRow("backslash") << "a\\b" << path;
        QTest::newRow("drive colon") << "c:x" << path;
    }

    void shortNamesThatCouldNeverLogInAreRefused()
    {
        QFETCH(QString, kurz);
        QFETCH(QString, message);
        TFormUser users(f->dm);
        capture(users, [&](QDialog *dlg) {
            click(dlg, "tbutNeu");
            type(dlg, "eSbKurz", kurz);
            type(dlg, "eSbLang", "Zweite Beraterin");
            type(dlg, "ePasswort", "geheim");
            click(dlg, "btnUebernehmen");
            QVERIFY(dlg->isVisible());
            // "Neu" over the typed user would store it as well.
            click(dlg, "tbutNeu");
            QCOMPARE(f->dialogs.texts(), QStringList({message, message}));
            QCOMPARE(f->dialogs.log().first().kind, mkWarning);
            QCOMPARE(f->count("select count(*) from benutzer"), 1);
            QCOMPARE(f->dm.dmMP->qrUser->state(), DataSet::State::Insert);
            // With a name of its own the user is stored.
            auto *eKurz = GuiTest::find<QLineEdit>(dlg, "eSbKurz");
            eKurz->clear();
            type(dlg, "eSbKurz", "sb2");
            click(dlg, "btnUebernehmen");
            QVERIFY(!dlg->isVisible());
        });
        QCOMPARE(f->text("select SbLang from benutzer where SbKurz = 'sb2'"), QStringLiteral("Zweite Beraterin"));
        QCOMPARE(f->count("select count(*) from benutzer"), 2);
        // The check leaves the user list as it found it.
        QVERIFY(!f->dm.dmMP->qrUser->beforePost);
    }

    void listShowsLongShortNamesWhole()
    {
        const QString longest(20, u'W');
        f->addUser(longest, "x", "Breit");
        TFormUser users(f->dm);
        users.show();
        auto *grid = GuiTest::find<DbGrid>(&users, "gridUser");
        QVERIFY(grid->columnWidth(0) >= grid->fontMetrics().horizontalAdvance(longest) + 8);
        QVERIFY(users.width() >= grid->horizontalHeader()->length());
    }
};

QTEST_MAIN(TestUsers)
#include "tst_admin_users.moc"
