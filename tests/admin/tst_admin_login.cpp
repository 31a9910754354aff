#include "AdminFixture.h"
#include "support/GuiTest.h"

#include "admin/TFormPassHilfe.h"
#include "admin/TFormPasswort.h"
#include "core/PasswordHash.h"
#include "ui/AccessKeyGuard.h"
#include "ui/FieldLabel.h"
#include "ui/RecordDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

class TestLogin : public QObject
{
    Q_OBJECT

    std::unique_ptr<AdminFixture> f;

    // Fills in the login window and presses "&Anmelden".
    static void enter(TFormPasswort &form, const QString &name, const QString &password)
    {
        auto *cb = GuiTest::find<QComboBox>(&form, "cbUser");
        if (name == "<Alle>") {
            cb->setCurrentIndex(cb->findText(name));
        } else {
            cb->lineEdit()->clear();
            GuiTest::type(cb->lineEdit(), name);
        }
        auto *pw = GuiTest::find<QLineEdit>(&form, "ePasswort");
        pw->clear();
        GuiTest::type(pw, password);
        GuiTest::find<QPushButton>(&form, "btnAnmelden")->click();
    }

private slots:
    void initTestCase() { AccessKeyGuard::install(); }

    void init()
    {
        // Hashing is slow on purpose; every test reuses the same few hashes.
        static const QString empty = PasswordHash::hash(QString());
        static const QString geheim = PasswordHash::hash("Geheim1");
        static const QString gruesse = PasswordHash::hash("Grüße");
        f = std::make_unique<AdminFixture>();
        f->addUser("leer", empty, "Ohne Passwort");
        f->addUser("MüLLer", geheim, "Erika Müller");
        f->addUser("jö", gruesse, "Jörg Öztürk");
        f->addUser("dup", geheim);
        f->addUser("dup", geheim);
    }
    void cleanup() { f.reset(); }

    // The login names its fields in German.
    void germanLabels()
    {
        TFormPasswort login(f->dm);
        QCOMPARE(FieldLabel::of(GuiTest::find<QComboBox>(&login, "cbUser")), QStringLiteral("Benutzer"));
        QCOMPARE(FieldLabel::of(GuiTest::find<QLineEdit>(&login, "ePasswort")), QStringLiteral("Passwort"));
    }

    void login_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");   // empty: the login is accepted
        QTest::addColumn<QString>("kurz");
        QTest::addColumn<QString>("lang");

        const QString unknown = "Benutzer nicht vorhanden!";
        const QString wrong = "Falsches Passwort!";
        QTest::newRow("initial user") << "sb" << "sb" << "" << "sb" << "Sachbearbeiter";
        QTest::newRow("maintenance in upper case") << "QOVTAR" << "WF" << "" << "qovtar" << "";
        QTest::newRow("maintenance, empty password") << "qovtar" << "" << wrong << "" << "";
        QTest::newRow("maintenance, wrong password") << "Qovtar" << "sb" << wrong << "" << "";
        QTest::newRow("empty password") << "leer" << "" << "" << "leer" << "Ohne Passwort";
        QTest::newRow("empty password refuses text") << "leer" << "x" << wrong << "" << "";
        QTest::newRow("upper-case short name") << "MüLLer" << "Geheim1" << "" << "müller" << "Erika Müller";
        QTest::newRow("short name differs in case") << "müller" << "Geheim1" << unknown << "" << "";
        QTest::newRow("password is case-sensitive") << "MüLLer" << "geheim1" << wrong << "" << "";
        QTest::newRow("umlauts in name and password") << "jö" << "Grüße" << "" << "jö" << "Jörg Öztürk";
        QTest::newRow("unknown name") << "niemand" << "sb" << unknown << "" << "";
        QTest::newRow("<Alle> from the list") << "<Alle>" << "" << unknown << "" << "";
        QTest::newRow("duplicate short name") << "dup" << "Geheim1" << unknown << "" << "";
    }

    void login()
    {
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(QString, message);
        QFETCH(QString, kurz);
        QFETCH(QString, lang);

        TFormPasswort form(f->dm);
        form.show();
        enter(form, name, password);
        if (!message.isEmpty()) {
            QCOMPARE(f->dialogs.texts(), QStringList{message});
            QCOMPARE(f->dialogs.log().first().kind, mkError);
            QVERIFY(form.isVisible());
            QCOMPARE(form.result(), int(QDialog::Rejected));
            return;
        }
        QVERIFY(f->dialogs.log().isEmpty());
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(form.aktSbKurz(), kurz);
        QCOMPARE(form.aktSbLang(), lang);
        DataSet *akt = f->dm.dmMP->qrAktUser;
        QVERIFY(akt->isOpen());
        QCOMPARE(akt->state(), DataSet::State::Browse);
        if (kurz == "qovtar") {
            QCOMPARE(akt->recordCount(), 0);
            QCOMPARE(form.aktSbTelefon(), QString());
        } else {
            QCOMPARE(akt->recordCount(), 1);
            QCOMPARE(akt->asString("SbKurz"), name);
            QCOMPARE(form.aktSbTelefon(), akt->asString("SbTelefon"));
        }
    }

    void wrongThenRightPasswordInOneWindow()
    {
        TFormPasswort form(f->dm);
        form.show();
        enter(form, "sb", "falsch");
        enter(form, "sb", "sb");
        QCOMPARE(f->dialogs.texts(), QStringList{"Falsches Passwort!"});
        QCOMPARE(form.result(), int(QDialog::Accepted));
    }

    void plainTextPasswordIsReplacedByItsHash()
    {
        f->addUser("alt", "Kennwört");
        {
            TFormPasswort form(f->dm);
            form.show();
            enter(form, "alt", "kennwört");
            QCOMPARE(f->dialogs.lastText(), QStringLiteral("Falsches Passwort!"));
            QCOMPARE(f->storedPassword("alt"), QStringLiteral("Kennwört"));   // a failed try changes nothing
            enter(form, "alt", "Kennwört");
            QCOMPARE(form.result(), int(QDialog::Accepted));
        }
        const QString stored = f->storedPassword("alt");
        QVERIFY(PasswordHash::isHash(stored));
        QVERIFY(PasswordHash::verify("Kennwört", stored));
        QCOMPARE(f->dm.dmMP->qrAktUser->asString("Passwort"), stored);
        QCOMPARE(f->dm.dmMP->qrAktUser->state(), DataSet::State::Browse);

        // The next start logs in against the hash.
        f->dialogs.clear();
        TFormPasswort again(f->dm);
        again.show();
        enter(again, "alt", "Kennwört");
        QCOMPARE(again.result(), int(QDialog::Accepted));
        QCOMPARE(f->storedPassword("alt"), stored);
    }

    void nameListStartsWithAlleAndKeepsTypedName()
    {
        TFormPasswort form(f->dm);
        form.show();
        auto *cb = GuiTest::find<QComboBox>(&form, "cbUser");
        QStringList items;
        for (int i = 0; i < cb->count(); ++i)
            items << cb->itemText(i);
        // In the order of the user list: by short name.
        QCOMPARE(items, QStringList({"<Alle>", "dup", "dup", "jö", "leer", "MüLLer", "sb"}));
        QCOMPARE(cb->currentText(), QString());
        QVERIFY(!f->dm.dmMP->qrUser->isOpen());

        // Coming back from the help window refills the list but keeps what was typed.
        GuiTest::type(cb->lineEdit(), "jö");
        RecordDialog::whenShown([](QDialog *help) {
            QCOMPARE(help->windowTitle(), QStringLiteral("Wenn Sie sich zum ersten Mal anmelden..."));
            const QString text = GuiTest::find<QLabel>(help, "lbHilfeText")->text();
            QVERIFY(text.contains("<b>Benutzer: sb</b>"));
            QVERIFY(text.contains("<b>Passwort: sb</b>"));
            GuiTest::find<QPushButton>(help, "btnOK")->click();
        });
        GuiTest::find<QPushButton>(&form, "btnHilfe")->click();
        QVERIFY(form.isVisible());
        QCOMPARE(cb->currentText(), QStringLiteral("jö"));
        QCOMPARE(cb->count(), 7);
    }

    void helpTextLines()
    {
        const QStringList lines = TFormPassHilfe::lines();
        QCOMPARE(lines.first(), QStringLiteral("Melden  Sie sich zum ersten Mal an, dann:"));
        QCOMPARE(lines.mid(1, 2), QStringList({"Benutzer: sb", "Passwort: sb"}));
        QCOMPARE(lines.last(), QStringLiteral("Sie melden sich unter Ihren eigenen Benutzernamen an."));
        QCOMPARE(lines.size(), 18);
    }

    void escapeAndAbbrechenReject()
    {
        for (const bool byEscape : {true, false}) {
            TFormPasswort form(f->dm);
            RecordDialog::whenShown([byEscape](QDialog *dlg) {
                if (byEscape)
                    QTest::keyClick(dlg, Qt::Key_Escape);
                else
                    GuiTest::find<QPushButton>(dlg, "btnAbbrechen")->click();
            });
            QCOMPARE(form.exec(), int(QDialog::Rejected));
            QVERIFY(f->dialogs.log().isEmpty());
        }
    }

    void centredOnTheScreenAndStrayAccessKeysTypeNothing()
    {
        // At start the main window exists but is not shown yet.
        QWidget hiddenMain;
        hiddenMain.setGeometry(0, 0, 3000, 2000);
        TFormPasswort form(f->dm, &hiddenMain);
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        const QPoint offset = form.frameGeometry().center() - form.screen()->availableGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 4, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));

        auto *pw = GuiTest::find<QLineEdit>(&form, "ePasswort");
        GuiTest::type(GuiTest::find<QComboBox>(&form, "cbUser")->lineEdit(), "jö");
        GuiTest::type(pw, "Grüße");
        // No button answers to Alt+S: the letter is not typed into the password.
        QTest::keyClick(pw, Qt::Key_S, Qt::AltModifier);
        QCOMPARE(pw->text(), QStringLiteral("Grüße"));
        QVERIFY(f->dialogs.log().isEmpty());
        GuiTest::find<QPushButton>(&form, "btnAnmelden")->click();
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(form.aktSbKurz(), QStringLiteral("jö"));
    }

    void doubleClickLogsInOnce()
    {
        f->addUser("alt", "pw");
        int lookups = 0;
        connect(f->dm.dmMP->qrAktUser, &DataSet::opened, this, [&] { ++lookups; });
        TFormPasswort form(f->dm);
        RecordDialog::whenShown([](QDialog *dlg) {
            GuiTest::type(GuiTest::find<QComboBox>(dlg, "cbUser")->lineEdit(), "alt");
            GuiTest::type(GuiTest::find<QLineEdit>(dlg, "ePasswort"), "pw");
            auto *button = GuiTest::find<QPushButton>(dlg, "btnAnmelden");
            // The events of a real double click, the second press arriving as a double click.
            const QPointF at = button->rect().center();
            for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                             QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
                QMouseEvent event(type, at, button->mapToGlobal(at), Qt::LeftButton,
                                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(button, &event);
            }
        });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        QCOMPARE(lookups, 1);
        QVERIFY(f->dialogs.log().isEmpty());
        QCOMPARE(form.aktSbKurz(), QStringLiteral("alt"));
        QCOMPARE(f->dm.dmMP->qrAktUser->recordCount(), 1);
        QVERIFY(PasswordHash::verify("pw", f->storedPassword("alt")));
    }
};

QTEST_MAIN(TestLogin)
#include "tst_admin_login.moc"
