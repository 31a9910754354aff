#include "HhbookFixture.h"
#include "support/GuiTest.h"
#include "support/RecordingDocumentOpener.h"
#include "support/VisibleAccessKeys.h"

#include "core/DateUtil.h"
#include "core/GermanFormat.h"
#include "hhbook/HhbookPage.h"
#include "ui/DbComboBox.h"
#include "ui/DbEdit.h"
#include "ui/DbGrid.h"
#include "ui/Printout.h"
#include "ui/RecordDialog.h"
#include "ui/ScriptedDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>

#include <memory>

class TestHhbookPage : public QObject
{
    Q_OBJECT

    std::unique_ptr<HhbookFixture> m_f;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<HhbookPage> m_page;
    QStringList m_statusNames;   // what the main window's status bar was given
    RecordingDocumentOpener m_opener;

    template <typename T = QWidget>
    T *w(const QString &name) { return GuiTest::find<T>(m_page.get(), name); }
    void click(const QString &name)
    {
        if (auto *b = m_page->findChild<QAbstractButton *>(name))
            b->click();
        else
            qFatal("button %s not found", qPrintable(name));
    }
    QString text(const QString &name) { return w<QLabel>(name)->text(); }
    QString count() { return text("stbHHPanel0"); }
    QString currentTab() { return w<QTabWidget>("pcHhbuch")->currentWidget()->objectName(); }
    static void pick(QComboBox *cb, const QString &value)
    {
        cb->setCurrentIndex(cb->findText(value));
        emit cb->activated(cb->currentIndex());
    }
    // Types into a field and leaves it, as the user does.
    static void enter(QLineEdit *field, const QString &text)
    {
        field->selectAll();
        GuiTest::type(field, text);
        GuiTest::leave(field);
    }
    // Runs `work` on the next modal window; it must have closed by the end.
    void withDialog(const std::function<void(QDialog *)> &work, const std::function<void()> &open)
    {
        bool ran = false;
        RecordDialog::whenShown([&](QDialog *dlg) {
            work(dlg);
            ran = true;
            if (dlg->isVisible())
                dlg->reject();
        });
        open();
        QVERIFY(ran);
    }

private slots:
    void init()
    {
        m_f = std::make_unique<HhbookFixture>();
        m_f->handlers->setFirstBookNameAsker(HhbookPage::askFirstBookName);
        m_dialogs = std::make_unique<ScriptedDialogs>();
        m_statusNames.clear();
        m_page = std::make_unique<HhbookPage>(m_f->dm, [this](const QString &n) { m_statusNames << n; });
        Printout::installOpener(&m_opener);
        m_opener.opened.clear();
    }
    void cleanup()
    {
        m_page.reset();
        Printout::installOpener(nullptr);
        m_dialogs.reset();
        m_f.reset();
    }

    // The first "Neue Position" of a user without a book asks for its name; the booking is
    // typed, refused without description or with an impossible date, then stored.
    void firstBookingOfANewUser()
    {
        m_f->enter();
        QCOMPARE(count(), QStringLiteral("  0 Buchung(en)"));
        w<QTabWidget>("pcHhbuch")->setCurrentIndex(1);
        m_dialogs->answer("Familie Meier");
        click("hhtbutneu");
        QCOMPARE(currentTab(), QStringLiteral("tbsBuch"));
        QCOMPARE(m_dialogs->texts(), QStringList{"Name: "});
        QCOMPARE(text("hhlbBezeichnung"), QStringLiteral("Haushaltsbuch von Familie Meier"));
        QCOMPARE(m_f->bookings().state(), DataSet::State::Insert);
        QVERIFY(w("hhtbutSpeichern")->isEnabled());

        pick(w<QComboBox>("hhdbcbRubrik"), "Lebenshaltung");
        pick(w<QComboBox>("hhdbcbRubdet"), "Bar");
        enter(w<QLineEdit>("hhdbeBetrag"), "12,50");
        click("hhtbutSpeichern");
        QCOMPARE(m_dialogs->lastText(), QStringLiteral("Bitte füllen Sie das Feld „Rubrikbeschreibung“ aus."));
        QCOMPARE(m_f->storedCount("hhbuch"), 0);

        enter(w<QLineEdit>("hhdbeRubText"), "Wochenmarkt");
        enter(w<QLineEdit>("hhdbeBuchdat"), "31.02.2024");
        QCOMPARE(m_dialogs->lastText(), QStringLiteral("'31.02.2024' ist kein gültiges Datum"));
        QCOMPARE(m_f->bookings().state(), DataSet::State::Insert);
        enter(w<QLineEdit>("hhdbeBuchdat"), "29.02.2024");
        m_dialogs->clear();
        click("hhtbutSpeichern");
        QCOMPARE(m_dialogs->texts(), QStringList());
        QCOMPARE(count(), QStringLiteral("  1 Buchung(en)"));
        QCOMPARE(m_f->scalar("select Buchdat || ' ' || Rubrik || ' ' || Rubdet || ' ' || Betrag || ' ' || RubText from hhbuch").toString(),
                 QStringLiteral("2024-02-29 Lebenshaltung Bar 12.5 Wochenmarkt"));
        QVERIFY(!w("hhtbutSpeichern")->isEnabled());

        // "Buchungsdatum" puts the booking into edit state with today's date.
        click("hhsbutbuchdat");
        QCOMPARE(m_f->bookings().state(), DataSet::State::Edit);
        QCOMPARE(m_f->bookings().asDate("Buchdat"), DateUtil::today());
        click("hhtbutabbruch");
        QCOMPARE(m_f->bookings().asDate("Buchdat"), QDate(2024, 2, 29));
    }

    void newBook_data()
    {
        QTest::addColumn<QVariantList>("answers");
        QTest::addColumn<int>("books");
        QTest::addColumn<QString>("current");
        QTest::newRow("named") << QVariantList{true, "Schmidt"} << 2 << "Haushaltsbuch von Schmidt";
        QTest::newRow("name cancelled") << QVariantList{true, ""} << 1 << "Haushaltsbuch von Klein";
        QTest::newRow("not wanted") << QVariantList{false} << 1 << "Haushaltsbuch von Klein";
    }
    void newBook()
    {
        QFETCH(QVariantList, answers);
        QFETCH(int, books);
        QFETCH(QString, current);
        m_f->addBooking(m_f->addBook("  Haushaltsbuch von Klein"), QDate(2024, 3, 1), "Einkommen", "Konto", 5);
        m_f->enter();
        m_dialogs->answers(answers);
        click("hhbutNeuesbuch");
        QCOMPARE(m_dialogs->texts().first(), QStringLiteral("Möchten Sie wirklich ein neues Haushaltsbuch anlagen?"));
        if (answers.size() > 1)
            QCOMPARE(m_dialogs->texts().at(1), QStringLiteral("Für wen ist das Haushaltsbuch? "));
        QCOMPARE(m_f->storedCount("hhplan"), books);
        QCOMPARE(text("hhlbBezeichnung").trimmed(), current);
        QCOMPARE(m_statusNames, answers.first().toBool() ? QStringList{current} : QStringList{});
        QCOMPARE(m_f->bookings().recordCount(), books == 2 ? 0 : 1);
        if (books == 2) {
            QCOMPARE(m_f->scalar("select Erfdat from hhplan where Hhplan_id = 2").toString(),
                     DateUtil::today().toString(Qt::ISODate));
            QCOMPARE(m_f->scalar("select User_id from hhplan where Hhplan_id = 2").toInt(), 1);
        }
    }

    // A book with bookings is not deleted, even when the page's filter hides all of them;
    // an empty one is, after the question.
    void deletingBooks()
    {
        const int full = m_f->addBook("Haushaltsbuch von A");
        m_f->addBook("Haushaltsbuch von B");
        m_f->addExampleBookings(full);
        m_f->enter();
        w<QLineEdit>("mevon")->setText("01.01.2030");
        w<QLineEdit>("mebis")->setText("31.12.2030");
        click("butHhFilter");
        QCOMPARE(count(), QStringLiteral("  0 Buchung(en)"));

        m_dialogs->answer(false);
        click("hhbutHHbuchbearbeiten");
        QCOMPARE(m_dialogs->texts(), QStringList{"Möchten Sie die Daten für das Haushaltsbuch wirklich ändern?"});

        m_dialogs->clear();
        m_dialogs->answers({true, true, true});
        withDialog([&](QDialog *dlg) {
            QCOMPARE(dlg->windowTitle(), QStringLiteral("Haushaltsbuch bearbeiten"));
            GuiTest::find<QToolButton>(dlg, "hbtbutLoeschen")->click();
            QCOMPARE(m_dialogs->lastText(), QStringLiteral("Löschen nicht möglich!\rEs sind noch Buchungen vorhanden."));
            QCOMPARE(m_f->storedCount("hhplan"), 2);
            m_f->books().next();
            GuiTest::find<QToolButton>(dlg, "hbtbutLoeschen")->click();
            QCOMPARE(m_dialogs->lastText(), QStringLiteral("Datensatz löschen?"));
            QCOMPARE(m_f->storedCount("hhplan"), 1);
            // A new book typed into the window is stored when it closes.
            GuiTest::find<QToolButton>(dlg, "hbtbutNeu")->click();
            enter(GuiTest::find<QLineEdit>(dlg, "hbdbeBezeichnung"), "Haushaltsbuch von C");
            dlg->close();
            QVERIFY(!dlg->isVisible());
        }, [&] { click("hhbutHHbuchbearbeiten"); });
        QCOMPARE(m_f->storedCount("hhplan"), 2);
        QCOMPARE(m_f->storedCount("hhbuch"), 5);
        QVERIFY(m_f->scalar("select Erfdat from hhplan where Bezeichnung = 'Haushaltsbuch von C'").isNull());
        QCOMPARE(m_f->scalar("select count(*) from hhplan where Bezeichnung = 'Haushaltsbuch von C'").toInt(), 1);
    }

    // "Position löschen": No keeps the booking but still counts anew (after Ctrl+Del, which
    // does not); on an empty list the data store refuses.
    void deletingBookings()
    {
        const int book = m_f->addBook("Haushaltsbuch von A");
        m_f->addExampleBookings(book);
        m_f->enter();
        QCOMPARE(count(), QStringLiteral("  5 Buchung(en)"));
        auto *grid = w<DbGrid>("hhdbgPos");
        m_dialogs->answer(true);
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(m_f->storedCount("hhbuch"), 4);
        QCOMPARE(count(), QStringLiteral("  5 Buchung(en)"));

        m_dialogs->clear();
        m_dialogs->answer(false);
        w<QTabWidget>("pcHhbuch")->setCurrentIndex(1);
        click("hhtbutloeschen");
        QCOMPARE(currentTab(), QStringLiteral("tbsBuch"));
        QCOMPARE(m_dialogs->texts(), QStringList{"Position löschen?"});
        QCOMPARE(m_f->storedCount("hhbuch"), 4);
        QCOMPARE(count(), QStringLiteral("  4 Buchung(en)"));

        m_f->dm.db.exec("delete from hhbuch");
        m_f->bookings().reopen();
        m_dialogs->clear();
        m_dialogs->answer(true);
        click("hhtbutloeschen");
        QCOMPARE(m_dialogs->texts(), (QStringList{"Position löschen?", "Operation bei leerer Datenmenge nicht ausführbar"}));
        QCOMPARE(count(), QStringLiteral("  0 Buchung(en)"));
    }

    void filtering()
    {
        const int a = m_f->addBook("Haushaltsbuch von A");
        const int b = m_f->addBook("Haushaltsbuch von B");
        m_f->addExampleBookings(a);
        m_f->addBooking(a, QDate(2024, 2, 1), "Einkommen", "Konto", 8);
        m_f->addBooking(b, QDate(2024, 1, 1), "Wohnkosten", "Konto", 30);
        m_f->addBooking(b, QDate(2024, 1, 2), "Wohnkosten", "Bar", 40);
        m_f->enter();
        auto *von = w<QLineEdit>("mevon");
        auto *bis = w<QLineEdit>("mebis");
        QCOMPARE(w<QComboBox>("hhcbRubrik")->count(), 9);
        QCOMPARE(w<QComboBox>("hhcbRubrik")->currentText(), QStringLiteral("<Alle>"));

        click("hhsbutVon");
        click("butHhFilter");
        QCOMPARE(m_dialogs->texts(), QStringList{"Bitte den Zeitraum festlegen!"});
        click("hhsbutBis");
        const QString year = QString::number(QDate::currentDate().year());
        QCOMPARE(von->text(), "01.01." + year);
        QCOMPARE(bis->text(), "31.12." + year);

        m_dialogs->clear();
        enter(von, "01.01.2024");
        enter(bis, "31.01.2024");
        w<QComboBox>("hhcbKonto")->setCurrentText("Konto");
        click("butHhFilter");
        QCOMPARE(m_dialogs->texts(), QStringList());
        QCOMPARE(count(), QStringLiteral("  3 Buchung(en)"));
        QCOMPARE(m_f->bookings().sql(), HhbookRules::filterSql("01.01.2024", "31.01.2024", "<Alle>", "Konto"));

        // The filter stays with the next book and with a new booking.
        click("navNext");
        QCOMPARE(text("hhlbBezeichnung"), QStringLiteral("Haushaltsbuch von B"));
        QCOMPARE(count(), QStringLiteral("  1 Buchung(en)"));

        enter(bis, "31.02.2024");
        click("butHhFilter");
        QCOMPARE(m_dialogs->lastText(), QStringLiteral("'31.02.2024' ist kein gültiges Datum"));
        QCOMPARE(count(), QStringLiteral("  1 Buchung(en)"));

        w<QComboBox>("hhcbRubrik")->setCurrentText("Wohnkosten");
        click("hhbutOhneFilter");
        QCOMPARE(count(), QStringLiteral("  2 Buchung(en)"));
        QCOMPARE(w<QComboBox>("hhcbRubrik")->currentText(), QStringLiteral("<Alle>"));
        QCOMPARE(w<QComboBox>("hhcbKonto")->currentText(), QStringLiteral("<Alle>"));
        QCOMPARE(bis->text(), QStringLiteral("31.02.2024"));
    }

    // "Rechnen": the summary tab with the stored results, the label and colour of the
    // surplus field; they stay when another book becomes current.
    void calculating()
    {
        const int a = m_f->addBook("Haushaltsbuch von A");
        const int b = m_f->addBook("Haushaltsbuch von B");
        m_f->addExampleBookings(a);
        m_f->addBooking(b, QDate(2024, 1, 1), "Hauskredite", "Konto", 900);
        m_f->enter();
        QCOMPARE(text("hhlbDefizit"), QStringLiteral("Überschuss / Defizit :"));
        click("hhtbutrechnen");
        QCOMPARE(currentTab(), QStringLiteral("tbsZusammen"));
        const QList<QPair<const char *, double>> shown = {{"hhdbeEksum", 2000}, {"hhdbeWksum", 600}, {"hhdbeVssum", 0},
                                                          {"hhdbeVksum", 100}, {"hhdbeAksum", 0}, {"hhdbeZwisu", 1300},
                                                          {"hhdbeLksum", 500}, {"hhdbeMaxkredit", 800}, {"hhdbeSksum", 200},
                                                          {"hhdbeMaxhaus", 600}, {"hhdbeHksum", 0}, {"hhdbeDefizit", 600}};
        for (const auto &[name, amount] : shown)
            QCOMPARE(text(name), GermanFormat::currency(amount));
        QCOMPARE(text("hhlbDefizit"), QStringLiteral("Überschuss :"));
        QVERIFY(w("hhdbeDefizit")->styleSheet().contains("#00ff00"));
        QCOMPARE(w<DbGrid>("hhdbgPos")->currentIndex().row(), 4);

        click("navNext");
        QCOMPARE(text("hhdbeDefizit"), QString());
        QCOMPARE(text("hhlbDefizit"), QStringLiteral("Überschuss :"));
        click("hhtbutrechnen");
        QCOMPARE(text("hhdbeDefizit"), GermanFormat::currency(-900.0));
        QCOMPARE(text("hhlbDefizit"), QStringLiteral("Defizit :"));
        QVERIFY(w("hhdbeDefizit")->styleSheet().contains("#ff0000"));
    }

    // The summary names the period and filter its sums were made under: the filter in force
    // (not what the fields show), or all bookings from the first to the last; each book keeps
    // its own.
    void summaryNamesWhatItCovers()
    {
        const int a = m_f->addBook("Haushaltsbuch von A");
        const int b = m_f->addBook("Haushaltsbuch von B");
        m_f->addExampleBookings(a);
        m_f->addBooking(b, QDate(2024, 3, 1), "Wohnkosten", "Bar", 40);
        m_f->enter();
        const QString filtered = QStringLiteral("Zeitraum 01.01.2024 bis 31.01.2024; Rubrik: alle; Bar / Konto: Konto");
        enter(w<QLineEdit>("mevon"), "01.01.2024");
        enter(w<QLineEdit>("mebis"), "31.01.2024");
        w<QComboBox>("hhcbKonto")->setCurrentText("Konto");
        click("butHhFilter");
        enter(w<QLineEdit>("mebis"), "31.02.2024");   // refused: the filter before stays in force
        w<QComboBox>("hhcbRubrik")->setCurrentText("Wohnkosten");
        click("butHhFilter");
        click("hhtbutrechnen");
        QCOMPARE(text("hhdbeAuswahl"), filtered);
        QCOMPARE(text("hhdbeEksum"), GermanFormat::currency(2000.0));
        QCOMPARE(m_f->scalar("select Auswahl from hhplan where Hhplan_id = :a", {{"a", a}}).toString(), filtered);

        click("navNext");
        QCOMPARE(text("hhdbeAuswahl"), QString());   // never evaluated
        click("hhbutOhneFilter");
        click("hhtbutrechnen");
        QCOMPARE(text("hhdbeAuswahl"), QStringLiteral("Zeitraum 01.03.2024 bis 01.03.2024; ohne Filter (alle Buchungen)"));
        click("navPrior");
        QCOMPARE(text("hhdbeAuswahl"), filtered);
    }

    // The page is worked by keyboard: each visible button has an access key of its own,
    // none that the main window's menus ("&Datei", "&Module", "&Extras", "&Optionen", "&Hilfe")
    // take; Alt+S and Ctrl+S save from inside a field; Tab walks the whole page and comes back.
    void keyboard()
    {
        const int a = m_f->addBook("Haushaltsbuch von A");
        m_f->addBook("Haushaltsbuch von B");   // so the navigator can move on
        m_f->addExampleBookings(a);
        m_f->enter();
        m_page->resize(1200, 800);
        m_page->show();
        m_page->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_page.get()));

        QCOMPARE(VisibleAccessKeys::clashes(m_page.get()), QStringList());
        for (QToolButton *b : w("hhToolBar")->findChildren<QToolButton *>())
            QVERIFY2(b->text().isEmpty() || !QKeySequence::mnemonic(b->text()).isEmpty(), qPrintable(b->text()));

        // Alt+S and Ctrl+S while the amount field still holds what was typed.
        for (const auto &[modifier, amount] : {std::pair{Qt::AltModifier, "12,50"}, std::pair{Qt::ControlModifier, "7"}}) {
            QTest::keyClick(m_page.get(), Qt::Key_N, Qt::AltModifier);   // "&Neue Position"
            QTRY_COMPARE(m_f->bookings().state(), DataSet::State::Insert);
            enter(w<QLineEdit>("hhdbeBuchdat"), "01.02.2024");
            pick(w<QComboBox>("hhdbcbRubrik"), "Lebenshaltung");
            enter(w<QLineEdit>("hhdbeRubText"), "Markt");
            pick(w<QComboBox>("hhdbcbRubdet"), "Bar");
            auto *field = w<QLineEdit>("hhdbeBetrag");
            field->setFocus();
            field->selectAll();
            GuiTest::type(field, amount);
            QTest::keyClick(field, Qt::Key_S, modifier);
            QTRY_COMPARE(m_f->bookings().state(), DataSet::State::Browse);
            QCOMPARE(m_f->scalar("select Betrag from hhbuch order by Hhbuch_id desc").toDouble(),
                     GermanFormat::parseMoney(QString::fromLatin1(amount)).toDouble());
        }
        QCOMPARE(m_dialogs->texts(), QStringList());
        QCOMPARE(m_f->storedCount("hhbuch"), 7);

        QWidget *start = w("hhdbeBuchdat");
        start->setFocus();
        QStringList chain;
        for (int i = 0; i < 80; ++i) {
            QWidget *focus = QApplication::focusWidget();
            QVERIFY(focus);
            if (i > 0 && focus == start)
                break;
            chain << focus->objectName();
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        QCOMPARE(QApplication::focusWidget(), start);
        for (const char *reached : {"hhdbeBetrag", "mevon", "mebis", "hhcbRubrik", "hhcbKonto", "butHhFilter",
                                    "hhbutOhneFilter", "hhdbgPos", "hhtbutneu", "hhtbutrechnen", "hhtbuthilfe",
                                    "hhbutNeuesbuch", "hhbutHHbuchbearbeiten", "navNext", "qt_tabwidget_tabbar"})
            QVERIFY2(chain.contains(reached), reached);
    }

    // The series dialog: its checks in order, the key filters, the questions, the series.
    void recurringBookings()
    {
        m_f->addBook("Haushaltsbuch von A");
        m_f->enter();
        m_dialogs->answer(false);
        click("hhtbutwibu");
        QCOMPARE(m_dialogs->texts(), QStringList{"Möchten Sie wiederkehrende Buchungen erfassen?"});

        m_dialogs->clear();
        m_dialogs->answers({true, true});
        withDialog([&](QDialog *dlg) {
            QCOMPARE(dlg->windowTitle(), QStringLiteral("Wiederkehrende Buchungen"));
            auto *ok = GuiTest::find<QPushButton>(dlg, "BitBtn1");
            ok->click();
            QCOMPARE(m_dialogs->lastText(), QStringLiteral("Feld <Beginn der Periode> enthält kein Datum!"));
            QVERIFY(dlg->isVisible());
            GuiTest::find<QLineEdit>(dlg, "meVon")->setText("31.01.2024");
            auto *anz = GuiTest::find<QLineEdit>(dlg, "eAnz");
            GuiTest::type(anz, "1x3");
            QCOMPARE(anz->text(), QStringLiteral("13"));
            ok->click();
            QCOMPARE(m_dialogs->lastText(), QStringLiteral("Feld <Rubrik> enthält kein Wert!"));
            GuiTest::find<QComboBox>(dlg, "cbRubrik")->setCurrentText("Wohnkosten");
            ok->click();
            QCOMPARE(m_dialogs->lastText(), QStringLiteral("Feld <Bar / Konto> enthält kein Wert!"));
            GuiTest::find<QComboBox>(dlg, "cbBar")->setCurrentText("Konto");
            ok->click();
            QCOMPARE(m_dialogs->lastText(), QStringLiteral("Feld <Betrag> enthält kein Wert!"));
            auto *betrag = GuiTest::find<QLineEdit>(dlg, "eBetrag");
            GuiTest::type(betrag, "12,5€0");
            QCOMPARE(betrag->text(), QStringLiteral("12,50"));
            ok->click();
            QCOMPARE(m_dialogs->lastText(), QStringLiteral("Feld <Rubrikbeschreibung> enthält kein Wert!"));
            GuiTest::type(GuiTest::find<QLineEdit>(dlg, "eText"), "Miete");
            QVERIFY(dlg->isVisible());
            ok->click();
            QVERIFY(!dlg->isVisible());
        }, [&] { click("hhtbutwibu"); });
        QCOMPARE(m_dialogs->texts().mid(m_dialogs->texts().size() - 2),
                 (QStringList{"Sollen die Buchungen wirklich in das Haushaltsbuch übernommen werden?",
                              "Buchungen wurden in das Haushaltsbuch übertragen!"}));
        QCOMPARE(m_dialogs->log().last().kind, mkConfirm);
        QCOMPARE(count(), QStringLiteral("  13 Buchung(en)"));
        QCOMPARE(m_f->scalar("select sum(Betrag) from hhbuch").toDouble(), 162.5);
        QCOMPARE(m_f->scalar("select max(Buchdat) from hhbuch").toString(), QStringLiteral("2025-01-31"));
    }

    // A bad entry is named by its field's label, books nothing and leaves the window open
    // with what was typed; No books nothing. German amounts with a thousands point are read
    // as such and shown as "1.200,00".
    void recurringBookingsRefused_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<double>("booked");
        QTest::newRow("amount") << "01.01.2024" << "3" << "1.2.3" << true
                                << QStringList{"Feld <Betrag>: '1.2.3' ist kein gültiger Betrag (etwa 1.200,00)."} << 0.0;
        QTest::newRow("count") << "01.01.2024" << "2.5" << "1.200" << true
                               << QStringList{"Feld <Anzahl der Buchungen>: '2.5' ist keine ganze Zahl."} << 0.0;
        QTest::newRow("date") << "31.02.2024" << "3" << "1" << true
                              << QStringList{"Feld <Beginn der Periode>: '31.02.2024' ist kein gültiges Datum (etwa 01.03.2024)."}
                              << 0.0;
        QTest::newRow("answered no") << "01.01.2024" << "3" << "1" << false
                                     << QStringList{"Sollen die Buchungen wirklich in das Haushaltsbuch übernommen werden?"}
                                     << 0.0;
        const QStringList booked{"Sollen die Buchungen wirklich in das Haushaltsbuch übernommen werden?",
                                 "Buchungen wurden in das Haushaltsbuch übertragen!"};
        QTest::newRow("thousands point") << "01.01.2024" << "3" << "1.200" << true << booked << 3600.0;
        QTest::newRow("thousands point and cents") << "01.01.2024" << "3" << "1.200,00" << true << booked << 3600.0;
        QTest::newRow("one decimal") << "01.01.2024" << "3" << "1200,5" << true << booked << 3601.5;
    }
    void recurringBookingsRefused()
    {
        QFETCH(QString, date);
        QFETCH(QString, number);
        QFETCH(QString, amount);
        QFETCH(bool, confirm);
        QFETCH(QStringList, after);
        QFETCH(double, booked);
        m_f->addBook("Haushaltsbuch von A");
        m_f->enter();
        m_dialogs->answers({true, confirm});
        const bool refused = after.first().startsWith("Feld");
        withDialog([&](QDialog *dlg) {
            GuiTest::find<QLineEdit>(dlg, "meVon")->setText(date);
            GuiTest::type(GuiTest::find<QLineEdit>(dlg, "eAnz"), number);
            GuiTest::find<QComboBox>(dlg, "cbRubrik")->setCurrentText("Einkommen");
            GuiTest::find<QComboBox>(dlg, "cbBar")->setCurrentText("Bar");
            auto *betrag = GuiTest::find<QLineEdit>(dlg, "eBetrag");
            GuiTest::type(betrag, amount);
            GuiTest::type(GuiTest::find<QLineEdit>(dlg, "eText"), "Lohn");
            if (booked > 0)
                QCOMPARE(betrag->text(), GermanFormat::number(booked / 3, 2));   // shown once left
            GuiTest::find<QRadioButton>(dlg, "rgRythmus4")->setChecked(true);
            GuiTest::find<QPushButton>(dlg, "BitBtn1")->click();
            QCOMPARE(dlg->isVisible(), refused);
            if (refused) {
                QCOMPARE(m_dialogs->log().last().kind, mkWarning);
                QCOMPARE(betrag->text().isEmpty(), false);   // nothing typed is lost
                QCOMPARE(GuiTest::find<QLineEdit>(dlg, "eText")->text(), QStringLiteral("Lohn"));
            }
        }, [&] { click("hhtbutwibu"); });
        QCOMPARE(m_dialogs->texts().mid(1), after);
        QCOMPARE(m_f->scalar("select coalesce(sum(Betrag), 0) from hhbuch").toDouble(), booked);
        QCOMPARE(m_f->bookings().state(), DataSet::State::Browse);
    }

    // The printout of the shipped template: the listed bookings, the dates of the first and
    // last of them, the summary; LibreOffice reads it where it is installed.
    void printing()
    {
        QTemporaryDir out;
        m_f->dm.db.exec(QStringLiteral("update firma set FReportIn = :in, FReportOut = :out"),
                        {{"in", qEnvironmentVariable("FINORRA_SOURCE_DIR") + "/resources/Reportvorlagen/"},
                         {"out", out.path() + '/'}});
        const int a = m_f->addBook("Haushaltsbuch von Familie Müller");
        m_f->addExampleBookings(a);
        m_f->addBooking(a, QDate(2023, 12, 20), "Allgemeine Kosten", "Bar", 45.5, "Geschenke {Weihnachten}");
        m_f->enter();
        enter(w<QLineEdit>("mevon"), "01.01.2023");
        enter(w<QLineEdit>("mebis"), "31.12.2024");
        w<QComboBox>("hhcbKonto")->setCurrentText("Bar");
        click("butHhFilter");
        click("hhtbutAusgabe");
        QCOMPARE(m_dialogs->texts(), QStringList());
        QCOMPARE(currentTab(), QStringLiteral("tbsBuch"));
        const QString file = out.filePath("sbHaushaltsbuch.rtf");
        QCOMPARE(m_opener.opened, QStringList{file});
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray rtf = f.readAll();
        for (const char *seen : {"Haushaltsbuch von Familie M\\'FCller", "20.12.2023", "09.01.2024", "Geschenke \\{Weihnachten\\}",
                                 "Erstellt mit Finorra 1.0 (Pro)", "-645,50", "Defizit"})
            QVERIFY2(rtf.contains(seen), seen);
        QVERIFY(!rtf.contains("SCAN"));
        QVERIFY(!rtf.contains("\\\\ek"));
        // The period and the filter are those in force, not the first and last booking's dates.
        QVERIFY(rtf.contains("Buchungen vom \\lang0 01.01.2023 bis \\lang0 31.12.2024"));
        QVERIFY(rtf.contains("Auswahl: \\lang0 Rubrik: alle; Bar / Konto: Bar"));

        // Nothing listed: nothing printed and nothing evaluated.
        m_f->dm.db.exec("update hhplan set Defizit = 1");
        // Read anew, as the page would see another program's change: a save over a value
        // changed unseen is refused.
        m_f->books().reopen();
        m_f->books().locate("Hhplan_id", a);
        enter(w<QLineEdit>("mevon"), "01.01.2030");
        enter(w<QLineEdit>("mebis"), "01.01.2030");
        click("butHhFilter");
        click("hhtbutAusgabe");
        QCOMPARE(m_dialogs->texts(), QStringList{"Es sind keine Datensätze für den Ausdruck vorhanden."});
        QCOMPARE(m_f->scalar("select Defizit from hhplan").toDouble(), 1.0);
        QCOMPARE(m_opener.opened.size(), 1);

        // Without a filter the period runs from the first to the last booking listed.
        click("hhbutOhneFilter");
        click("hhtbutAusgabe");
        QCOMPARE(m_opener.opened.size(), 2);
        f.close();
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray all = f.readAll();
        f.close();
        QVERIFY(all.contains("Buchungen vom \\lang0 20.12.2023 bis \\lang0 15.01.2024"));
        QVERIFY(all.contains("Auswahl: \\lang0 ohne Filter (alle Buchungen)"));

        const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (qEnvironmentVariableIsSet("FINORRA_KEEP_PRINTOUT"))
            QFile::copy(file, qEnvironmentVariable("FINORRA_KEEP_PRINTOUT"));
        if (office.isEmpty())
            QSKIP("LibreOffice is not installed");
        QTemporaryDir pdf, profile;
        QProcess p;
        p.start(office, {"-env:UserInstallation=file://" + profile.path(), "--headless", "--convert-to", "pdf",
                         "--outdir", pdf.path(), file});
        QVERIFY(p.waitForFinished(120000));
        const QFileInfo result(pdf.filePath("sbHaushaltsbuch.pdf"));
        QVERIFY2(result.exists() && result.size() > 1000, "the printout did not convert to PDF");
        if (qEnvironmentVariableIsSet("FINORRA_KEEP_PDF"))
            QFile::copy(result.filePath(), qEnvironmentVariable("FINORRA_KEEP_PDF"));
    }
};

QTEST_MAIN(TestHhbookPage)
#include "tst_hhbookpage.moc"
