#include "HhbookFixture.h"

#include "hhbook/StatementImportDialog.h"
#include "support/GuiTest.h"
#include "ui/ScriptedDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

QString sample(const QString &name)
{
    return QStringLiteral(STATEMENT_SAMPLES "/") + name;
}

} // namespace

class TestStatementImportDialog : public QObject
{
    Q_OBJECT

    std::unique_ptr<HhbookFixture> m_f;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    int m_book = 0;

    // Runs the import of `path` and works the modal window with `work` while it is open.
    bool runWith(const QString &path, const std::function<void(QDialog *)> &work)
    {
        m_dialogs->answer(path);
        bool worked = false;
        QTimer::singleShot(0, [&] {
            QDialog *dialog = nullptr;
            if (!QTest::qWaitFor([&] { return (dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())); }))
                return;
            work(dialog);
            worked = true;
            if (dialog->isVisible())
                dialog->reject();
        });
        const bool stored = StatementImportDialog::run(m_f->dm, nullptr);
        if (!worked)
            qWarning("the import window did not open");
        return stored;
    }

    // The adviser files every booking without a category under "Allgemeine Kosten".
    static void fileTheRest(QDialog *d)
    {
        GuiTest::find<QComboBox>(d, "cbKategorieAlle")->setCurrentText("Allgemeine Kosten");
        GuiTest::find<QPushButton>(d, "butKategorieAlle")->click();
    }

private slots:
    void init()
    {
        m_f = std::make_unique<HhbookFixture>();
        m_dialogs = std::make_unique<ScriptedDialogs>();
        m_book = m_f->addBook(QStringLiteral("Haushaltsbuch von Erika Beispiel"));
        m_f->addBooking(m_book, QDate(2023, 11, 2), "Einkommen", "Konto", 2100, "Gehalt 10/2023");
        m_f->dm.db.exec("update hhbuch set Partner = 'Arbeitgeber Muster GmbH'");
        m_f->enter();
    }
    void cleanup()
    {
        m_dialogs.reset();
        m_f.reset();
    }

    // The preview shows each booking with its proposed category; the adviser changes one,
    // leaves one out, and the rest is stored and listed at once.
    void previewThenTakeOver()
    {
        const bool stored = runWith(sample("volksbank.csv"), [](QDialog *d) {
            auto *table = GuiTest::find<QTableWidget>(d, "twVorschau");
            QCOMPARE(table->rowCount(), 5);
            QCOMPARE(GuiTest::find<QLabel>(d, "lbBankprofil")->text(), QStringLiteral("Bankprofil: Volksbank/Raiffeisenbank"));
            QCOMPARE(table->item(0, 1)->text(), QStringLiteral("01.02.2024"));
            QCOMPARE(table->item(0, 2)->text(), QStringLiteral("1.980,45\u00A0€"));
            QCOMPARE(table->item(0, 5)->text(), QStringLiteral("Einkommen"));   // by the employer
            QCOMPARE(table->item(1, 5)->text(), QString());                      // nothing like it yet
            table->item(1, 5)->setText("Wohnkosten");
            table->item(3, 0)->setCheckState(Qt::Unchecked);
            fileTheRest(d);
            QCOMPARE(table->item(2, 5)->text(), QStringLiteral("Allgemeine Kosten"));
            QCOMPARE(table->item(3, 5)->text(), QString());   // left out, so left alone
            GuiTest::find<QPushButton>(d, "butUebernehmen")->click();
        });
        QVERIFY(stored);
        QCOMPARE(m_dialogs->texts(), (QStringList{StatementImportDialog::Caption,
                                                "4 Buchung(en) übernommen.\r1 Buchung(en) wurden ausgelassen."}));
        QCOMPARE(m_f->storedCount("hhbuch"), 5);
        QCOMPARE(m_f->bookings().recordCount(), 5);
        QCOMPARE(m_f->scalar("select Rubrik from hhbuch where RubText = 'Nutzungsgebühr Februar'").toString(),
                 QStringLiteral("Wohnkosten"));
        QCOMPARE(m_f->storedCount("bankprofil"), 1);

        // The same file again: what is in the book is marked and only the one left out is new.
        m_dialogs->clear();
        runWith(sample("volksbank.csv"), [](QDialog *d) {
            auto *table = GuiTest::find<QTableWidget>(d, "twVorschau");
            QCOMPARE(table->item(0, 6)->text(), QStringLiteral("bereits im Haushaltsbuch"));
            QCOMPARE(table->item(0, 0)->checkState(), Qt::Unchecked);
            QCOMPARE(table->item(3, 6)->text(), QString());   // the one left out last time
            QCOMPARE(GuiTest::find<QLabel>(d, "lbAnzahl")->text(),
                     QStringLiteral("5 Buchung(en), davon 4 bereits im Haushaltsbuch."));
            fileTheRest(d);
            GuiTest::find<QPushButton>(d, "butUebernehmen")->click();
        });
        QCOMPARE(m_dialogs->texts().last(), QStringLiteral("1 Buchung(en) übernommen.\r4 Buchung(en) waren schon im "
                                                           "Haushaltsbuch und wurden nicht noch einmal übernommen."));
        QCOMPARE(m_f->storedCount("hhbuch"), 6);
    }

    // A layout the program does not know is mapped column by column; the mapping is
    // remembered for the next file of that bank.
    void unknownLayoutIsMappedAndRemembered()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("umsaetze.csv");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Tag;Wer;Was;Wie viel\n01.06.2024;Kiosk;Zeitung;-3,50\n02.06.2024;B\xe4" "cker;Brot;-4,10\n");
        f.close();

        runWith(path, [](QDialog *d) {
            auto *problem = GuiTest::find<QLabel>(d, "lbProblem");
            QCOMPARE(problem->text(), QStringLiteral("Bitte die Spalten zuordnen: Buchungsdatum, Betrag (oder Soll und Haben), "
                                                     "Verwendungszweck oder Empfänger."));
            QVERIFY(!GuiTest::find<QPushButton>(d, "butUebernehmen")->isEnabled());
            GuiTest::find<QComboBox>(d, "cbDatum")->setCurrentIndex(1);
            GuiTest::find<QComboBox>(d, "cbPartner")->setCurrentIndex(2);
            GuiTest::find<QComboBox>(d, "cbZweck")->setCurrentIndex(3);
            GuiTest::find<QComboBox>(d, "cbBetrag")->setCurrentIndex(4);
            QVERIFY(problem->isHidden());
            auto *table = GuiTest::find<QTableWidget>(d, "twVorschau");
            QCOMPARE(table->rowCount(), 2);
            QCOMPARE(table->item(1, 3)->text(), QStringLiteral("Bäcker"));
            fileTheRest(d);
            GuiTest::find<QPushButton>(d, "butUebernehmen")->click();
        });
        QCOMPARE(m_f->storedCount("hhbuch"), 3);

        runWith(path, [](QDialog *d) {
            QCOMPARE(GuiTest::find<QLabel>(d, "lbBankprofil")->text(), QStringLiteral("Bankprofil: Eigenes Format (gespeichert)"));
            QCOMPARE(GuiTest::find<QComboBox>(d, "cbBetrag")->currentIndex(), 4);
            QVERIFY(GuiTest::find<QLabel>(d, "lbProblem")->isHidden());
        });
    }

    // A booking without a category is not stored: the window says so and stays open, and
    // the adviser files the rest under one category. Rows that are no bookings are counted.
    void categoryRequired()
    {
        const bool stored = runWith(sample("dkb2023.csv"), [this](QDialog *d) {
            auto *table = GuiTest::find<QTableWidget>(d, "twVorschau");
            QCOMPARE(table->rowCount(), 3);
            QCOMPARE(table->item(1, 5)->toolTip(), QStringLiteral("Kategorie fehlt: bitte wählen"));
            QCOMPARE(GuiTest::find<QLabel>(d, "lbAusgelassen")->text(),
                     QStringLiteral("Ausgelassen, weil keine Buchungen: 1 vorgemerkter, noch nicht gebuchter Umsatz."));
            GuiTest::find<QPushButton>(d, "butUebernehmen")->click();
            QVERIFY(d->isVisible());
            QCOMPARE(m_dialogs->lastText(), QStringLiteral("2 Buchungen haben noch keine Kategorie. Bitte wählen Sie für jede "
                                                           "eine, oder legen Sie eine Kategorie für alle Buchungen ohne "
                                                           "Kategorie fest."));
            QCOMPARE(m_f->storedCount("hhbuch"), 1);
            GuiTest::find<QPushButton>(d, "butKategorieAlle")->click();
            QCOMPARE(m_dialogs->lastText(),
                     QStringLiteral("Bitte wählen Sie zuerst die Kategorie für die Buchungen ohne Kategorie."));
            table->item(1, 5)->setText("Wohnkosten");
            QCOMPARE(table->item(1, 5)->toolTip(), QString());
            fileTheRest(d);
            QCOMPARE(table->item(2, 5)->text(), QStringLiteral("Allgemeine Kosten"));
            GuiTest::find<QPushButton>(d, "butUebernehmen")->click();
        });
        QVERIFY(stored);
        QCOMPARE(m_dialogs->lastText(), QStringLiteral("3 Buchung(en) übernommen."));
        QCOMPARE(m_f->scalar("select Bezeichnung from bankprofil").toString(), QStringLiteral("DKB"));
        QCOMPARE(m_f->scalar("select Partner from hhbuch where RubText = 'Gehalt Februar'").toString(),
                 QStringLiteral("Arbeitgeber Muster GmbH"));
    }

    // A file of two accounts shows one at a time, chosen by the adviser; bookings in
    // another currency show it and wait for the adviser.
    void accountsAndCurrencies()
    {
        runWith(sample("camt053-konten.xml"), [](QDialog *d) {
            auto *account = GuiTest::find<QComboBox>(d, "cbKonto");
            QCOMPARE(account->count(), 2);
            QCOMPARE(account->itemText(0), QStringLiteral("DE00 5001 0517 0000 0000 03 – Erika Beispiel (EUR), 3 Buchung(en)"));
            auto *table = GuiTest::find<QTableWidget>(d, "twVorschau");
            QCOMPARE(table->rowCount(), 3);
            QCOMPARE(table->item(1, 2)->text(), QStringLiteral("-97,40\u00A0CHF"));
            QCOMPARE(table->item(1, 0)->checkState(), Qt::Unchecked);
            QVERIFY(table->item(1, 0)->flags() & Qt::ItemIsEnabled);
            QCOMPARE(table->item(2, 0)->flags(), Qt::NoItemFlags);   // no euro amount: cannot be taken
            account->setCurrentIndex(1);
            QCOMPARE(table->rowCount(), 1);
            QCOMPARE(table->item(0, 4)->text(), QStringLiteral("Subscription July"));
            QCOMPARE(table->item(0, 0)->flags(), Qt::NoItemFlags);
        });
        QCOMPARE(m_f->storedCount("hhbuch"), 1);
    }

    // Whatever is no statement is refused before the window opens, saying what it is.
    void notAStatement()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("auszug.pdf");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("%PDF-1.4\n1 0 obj\n");
        f.close();
        m_dialogs->answer(path);
        QVERIFY(!StatementImportDialog::run(m_f->dm, nullptr));
        QCOMPARE(m_dialogs->lastText(), QStringLiteral("Die Datei auszug.pdf ist kein Kontoauszug (erwartet: CSV-Export oder "
                                                       "CAMT.052/053).\rGefunden: ein PDF-Dokument."));
        QCOMPARE(m_f->storedCount("hhbuch"), 1);
    }

    void refusals()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("leer.csv");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        m_dialogs->answer(path);
        QVERIFY(!StatementImportDialog::run(m_f->dm, nullptr));
        QCOMPARE(m_dialogs->lastText(), QStringLiteral("Die Datei %1 ist leer.").arg(path));

        m_dialogs->answer(QString());   // the file choice cancelled
        QVERIFY(!StatementImportDialog::run(m_f->dm, nullptr));

        m_f->dm.db.exec("delete from hhbuch");
        m_f->dm.db.exec("delete from hhplan");
        m_f->enter();
        m_dialogs->clear();
        QVERIFY(!StatementImportDialog::run(m_f->dm, nullptr));
        QCOMPARE(m_dialogs->texts(), QStringList{"Bitte zuerst ein Haushaltsbuch anlegen und speichern."});
    }
};

QTEST_MAIN(TestStatementImportDialog)
#include "tst_statementimportdialog.moc"
