#include "AdminFixture.h"
#include "support/GuiTest.h"

#include "admin/TFormFirma.h"
#include "ui/DbEdit.h"

#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

class TestFirma : public QObject
{
    Q_OBJECT

    std::unique_ptr<AdminFixture> f;
    QString m_exeDir;

    QString stored(const QString &column) const
    {
        return f->text(QStringLiteral("select %1 from firma").arg(column));
    }

private slots:
    void tabGoesFromPostcodeToTown()
    {
        TFormFirma w(f->dm, m_exeDir);
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        GuiTest::find<DbEdit>(&w, "eStrasse")->setFocus();
        QStringList order;
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order, QStringList({"ePlz", "eOrt", "ePoplz", "ePoFach", "eTelefon"}));
    }

    void init()
    {
        f = std::make_unique<AdminFixture>();
        m_exeDir = f->tmp.dir() + '/';
    }
    void cleanup() { f.reset(); }

    void chosenDirectoryIsStoredWithTrailingDelimiter_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("chosen");     // empty: the chooser was cancelled
        QTest::addColumn<QString>("expected");   // empty: nothing changes
        QTest::addColumn<QString>("message");

        const QString longPath = "/daten/" + QString(150, u'x');
        QTest::newRow("Vorlagen") << "btnVorlagen" << "FReportIn" << "/daten/Vorlagen" << "/daten/Vorlagen/" << "";
        QTest::newRow("Ausgabe, delimiter already there")
            << "btnAusgabe" << "FReportOut" << "/daten/Ausgabe/" << "/daten/Ausgabe/" << "";
        QTest::newRow("umlauts and blanks") << "btnAusgabe" << "FReportOut" << "/home/jörg/Meine Briefe"
                                            << "/home/jörg/Meine Briefe/" << "";
        QTest::newRow("cancelled") << "btnVorlagen" << "FReportIn" << "" << "" << "";
        QTest::newRow("too long for the column")
            << "btnVorlagen" << "FReportIn" << longPath << ""
            << "Der Pfad\r" + longPath + "/\rist zu lang: höchstens 150 Zeichen sind möglich.";
    }

    void chosenDirectoryIsStoredWithTrailingDelimiter()
    {
        QFETCH(QString, button);
        QFETCH(QString, column);
        QFETCH(QString, chosen);
        QFETCH(QString, expected);
        QFETCH(QString, message);

        const QString before = stored(column);
        TFormFirma w(f->dm, m_exeDir);
        w.show();
        auto *save = GuiTest::find<QToolButton>(&w, "tbutSpeichern");
        f->dialogs.answer(chosen);
        GuiTest::find<QPushButton>(&w, button)->click();
        QCOMPARE(f->dialogs.log().first().call, QStringLiteral("chooseDirectory"));
        if (!message.isEmpty())
            QCOMPARE(f->dialogs.lastText(), message);
        auto *edit = GuiTest::find<DbEdit>(&w, "e" + column);
        if (expected.isEmpty()) {
            QVERIFY(!save->isEnabled());
            QCOMPARE(edit->text(), before);
            QCOMPARE(f->dm.dmFirma->qrFirma->state(), DataSet::State::Browse);
        } else {
            QVERIFY(save->isEnabled());
            QCOMPARE(edit->text(), expected);
        }
        // Closing the window stores the choice without "Speichern".
        GuiTest::find<QToolButton>(&w, "tbutEnde")->click();
        QVERIFY(!w.isVisible());
        QCOMPARE(stored(column), expected.isEmpty() ? before : expected);
    }

    void fourDigitPostcodeIsRefused()
    {
        TFormFirma w(f->dm, m_exeDir);
        w.show();
        auto *plz = GuiTest::find<DbEdit>(&w, "ePlz");
        plz->setFocus();
        plz->selectAll();
        QTest::keyClick(plz, Qt::Key_Backspace);
        GuiTest::type(plz, "7909");
        GuiTest::leave(plz);
        QCOMPARE(f->dialogs.lastText(), QStringLiteral("'7909_' ist kein gültiger Eingabewert"));
        w.close();
        QVERIFY(w.isVisible());   // nothing typed is thrown away
        QCOMPARE(stored("Plz"), QStringLiteral("12345"));
        GuiTest::type(plz, "8");
        GuiTest::find<QToolButton>(&w, "tbutEnde")->click();
        QVERIFY(!w.isVisible());
        QCOMPARE(stored("Plz"), QStringLiteral("79098"));
    }

    void formChoiceAndBankFlagsAreStored()
    {
        TFormFirma w(f->dm, m_exeDir);
        auto *intern = GuiTest::find<QRadioButton>(&w, "rbInternesFormular");
        QVERIFY(!intern->isChecked());
        intern->click();
        GuiTest::find<QAbstractButton>(&w, "cbBank2Verwenden")->click();
        GuiTest::find<QToolButton>(&w, "tbutSpeichern")->click();
        QCOMPARE(stored("Briefkopfwahl"), QStringLiteral("Internes Formular"));
        QCOMPARE(f->count("select Bank2Verwenden from firma"), 1);
        QVERIFY(intern->isChecked());
        QVERIFY(!GuiTest::find<QRadioButton>(&w, "rbStandardformular")->isChecked());
    }

    // The banks take IBAN and BIC: a wrong check digit is refused naming the field, the
    // window keeps what was typed, and a BIC of eleven places is stored whole.
    void banksTakeIbanAndBic()
    {
        TFormFirma w(f->dm, m_exeDir);
        w.show();
        QVERIFY(!w.findChild<DbEdit *>("eBank1Ktonr"));
        auto *iban = GuiTest::find<DbEdit>(&w, "eBank1Iban");
        auto *bic = GuiTest::find<DbEdit>(&w, "eBank1Bic");
        GuiTest::type(iban, "DE89 3704 0044 0532 0103 00");
        GuiTest::leave(iban);
        GuiTest::type(bic, "COBADEFF370");
        GuiTest::leave(bic);
        QCOMPARE(bic->text(), QStringLiteral("COBADEFF370"));
        GuiTest::find<QToolButton>(&w, "tbutSpeichern")->click();
        QCOMPARE(f->dialogs.texts(), QStringList{"Die Eingabe im Feld „IBAN (Bank 1)“ ist keine gültige IBAN: die Prüfziffer "
                                                 "stimmt nicht; bitte vergleichen Sie die IBAN mit dem Kontoauszug."});
        w.close();
        QVERIFY(w.isVisible());
        QCOMPARE(iban->text(), QStringLiteral("DE89 3704 0044 0532 0103 00"));
        iban->selectAll();
        GuiTest::type(iban, "DE89 3704 0044 0532 0130 00");
        GuiTest::leave(iban);
        GuiTest::find<QToolButton>(&w, "tbutEnde")->click();
        QVERIFY(!w.isVisible());
        QCOMPARE(stored("Bank1Iban"), QStringLiteral("DE89370400440532013000"));
        QCOMPARE(stored("Bank1Bic"), QStringLiteral("COBADEFF370"));
    }

    void deletedRecordIsStartedAnewByTyping()
    {
        TFormFirma w(f->dm, m_exeDir);
        w.show();
        f->dialogs.answer(true);
        GuiTest::find<QToolButton>(&w, "tbutLoeschen")->click();
        QCOMPARE(f->dialogs.texts(), QStringList{"Datensatz löschen?"});
        QCOMPARE(f->count("select count(*) from firma"), 0);
        auto *name1 = GuiTest::find<DbEdit>(&w, "eName1");
        QCOMPARE(name1->text(), QString());
        GuiTest::type(name1, "Beratungsstelle Süd");
        QCOMPARE(f->dm.dmFirma->qrFirma->state(), DataSet::State::Insert);
        w.close();
        QCOMPARE(stored("Name1"), QStringLiteral("Beratungsstelle Süd"));
    }
};

QTEST_MAIN(TestFirma)
#include "tst_admin_firma.moc"
