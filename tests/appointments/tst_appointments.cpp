#include "support/GuiTest.h"
#include "support/RecordingDocumentOpener.h"
#include "support/TempDatabase.h"

#include "appointments/TermineModule.h"
#include "appointments/rules/AppointmentRules.h"
#include "core/DateUtil.h"
#include "core/GermanFormat.h"
#include "data/DataModules.h"
#include "ui/Printout.h"
#include "ui/RecordDialog.h"
#include "ui/ScriptedDialogs.h"

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

namespace {

const QDate Day(2026, 12, 14);

} // namespace

class TestAppointments : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempDatabase> m_tmp;
    std::unique_ptr<QTemporaryDir> m_out;
    std::unique_ptr<DataModules> m_dm;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TermineModule> m_module;
    std::unique_ptr<QWidget> m_page;
    QString m_heading;
    RecordingDocumentOpener m_opener;

    DataSet *termine() { return m_dm->dmExtras->qrTermine; }
    void click(QWidget *root, const QString &name) { GuiTest::find<QAbstractButton>(root, name)->click(); }
    void click(const QString &name) { click(m_page.get(), name); }
    QCalendarWidget *calendar() { return GuiTest::find<QCalendarWidget>(m_page.get(), "mc01"); }
    void clickDay(const QDate &day)
    {
        calendar()->setSelectedDate(day);
        emit calendar()->clicked(day);
    }
    // The short descriptions of the listed appointments, in list order.
    QStringList listed()
    {
        QStringList l;
        const int col = termine()->fieldIndex("WvKurz");
        for (int r = 0; r < termine()->recordCount(); ++r)
            l << termine()->valueAt(r, col).toString();
        return l;
    }
    void add(const char *date, const char *time, const char *kurz, const QVariant &done, int user = 1)
    {
        m_dm->db.exec("insert into termine (WvDatum, Uhrzeit, WvKurz, WvErledigt, User_id) values (:d, :t, :k, :e, :u)",
                      {{"d", date ? QVariant(QString::fromLatin1(date)) : QVariant()},
                       {"t", time ? QVariant(QString::fromLatin1(time)) : QVariant()},
                       {"k", QString::fromUtf8(kurz)}, {"e", done}, {"u", user}});
    }
    void addSamples()
    {
        // Out of order on purpose: the list orders by date, then time.
        add("2026-12-14", "14:00:00", "Rückruf Gläubiger", false);
        add("2026-12-14", "09:30:00", "Beratung Familie Meier", true);
        m_dm->db.exec("update termine set WvErldat = '2026-12-14' where WvErledigt = 1");
        add("2026-12-14", "11:00:00", "Unterlagen ohne Vermerk", QVariant());
        add("2026-12-15", "10:00:00", "Termin Schuldnerberatung", false, 2);
        add(nullptr, nullptr, "Ohne Datum", false);
    }

private slots:
    void init()
    {
        m_tmp = std::make_unique<TempDatabase>();
        m_out = std::make_unique<QTemporaryDir>();
        m_dm = std::make_unique<DataModules>();
        m_tmp->openIn(m_dm->db);
        m_dm->db.exec("update firma set FReportIn = :in, FReportOut = :out",
                      {{"in", qEnvironmentVariable("FINORRA_SOURCE_DIR") + "/resources/Reportvorlagen/"},
                       {"out", m_out->path() + '/'}});
        m_dm->db.exec("insert into benutzer (SbKurz, Passwort) values ('mk', '')");
        QVERIFY(m_dm->dmMP->lookupUser("sb"));
        m_dialogs = std::make_unique<ScriptedDialogs>();
        Printout::installOpener(&m_opener);
        m_opener.opened.clear();
        m_heading.clear();
        m_module = std::make_unique<TermineModule>(*m_dm, [this](const QString &h) { m_heading = h; });
        m_page.reset(m_module->createPage(nullptr));
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

    void selectionTexts()
    {
        using namespace AppointmentRules;
        QCOMPARE(daySql(Day, OpenAndDone), "select * from termine where wvdatum = '14.12.2026' order by wvdatum,uhrzeit");
        QCOMPARE(daySql(Day, Open),
                 "select * from termine where (wvdatum = '14.12.2026') and (wverledigt <> true) order by wvdatum,uhrzeit");
        QCOMPARE(daySql(Day, Done),
                 "select * from termine where (wvdatum = '14.12.2026') and (wverledigt =  true) order by wvdatum,uhrzeit");
        QCOMPARE(allDatesSql(OpenAndDone), "select * from termine  order by wvdatum,uhrzeit");
        QCOMPARE(allDatesSql(Open), "select * from termine where  (wverledigt <> true) order by wvdatum,uhrzeit");
        QCOMPARE(allDatesSql(Done), "select * from termine where  (wverledigt =  true) order by wvdatum,uhrzeit");
    }

    // What each selection lists: a row without done mark matches neither open nor done,
    // a row without date only the all-dates lists, and every user's rows are listed.
    void selections_data()
    {
        QTest::addColumn<bool>("allDates");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("day, all") << false << 0
                                  << QStringList{"Beratung Familie Meier", "Unterlagen ohne Vermerk", "Rückruf Gläubiger"};
        QTest::newRow("day, open") << false << 1 << QStringList{"Rückruf Gläubiger"};
        QTest::newRow("day, done") << false << 2 << QStringList{"Beratung Familie Meier"};
        QTest::newRow("all dates") << true << 0
                                   << QStringList{"Ohne Datum", "Beratung Familie Meier", "Unterlagen ohne Vermerk",
                                                  "Rückruf Gläubiger", "Termin Schuldnerberatung"};
        QTest::newRow("all dates, open") << true << 1
                                         << QStringList{"Ohne Datum", "Rückruf Gläubiger", "Termin Schuldnerberatung"};
        QTest::newRow("all dates, done") << true << 2 << QStringList{"Beratung Familie Meier"};
    }
    void selections()
    {
        QFETCH(bool, allDates);
        QFETCH(int, filter);
        QFETCH(QStringList, expected);
        addSamples();
        m_module->activate();
        clickDay(Day);
        GuiTest::find<QRadioButton>(m_page.get(), QStringLiteral("aufrbFilter%1").arg(filter))->click();
        if (allDates)
            click("aufTbutAlle");
        QCOMPARE(listed(), expected);
        // Every selection names the calendar's day, also the one over all dates.
        QCOMPARE(GuiTest::find<QLabel>(m_page.get(), "auflbDatum")->text(), QStringLiteral("Montag, 14. Dezember 2026"));
        QCOMPARE(m_heading, QStringLiteral("Montag, 14. Dezember 2026"));
    }

    void enteringListsTodayWhateverTheFilterShows()
    {
        const QString today = DateUtil::today().toString(Qt::ISODate);
        m_dm->db.exec("insert into termine (WvDatum, WvKurz, WvErledigt, User_id) values (:d, 'erledigt', 1, 1), "
                      "(:d, 'offen', 0, 1)",
                      {{"d", today}});
        m_module->activate();
        auto *open = GuiTest::find<QRadioButton>(m_page.get(), "aufrbFilter1");
        open->click();
        QCOMPARE(listed(), QStringList{"offen"});
        clickDay(Day);
        m_module->activate();
        QCOMPARE(calendar()->selectedDate(), DateUtil::today());
        QVERIFY(open->isChecked());
        QCOMPARE(listed().size(), 2);
        QCOMPARE(m_heading, GermanFormat::longDate(DateUtil::today()));
        // Clicking the item already chosen applies it.
        open->click();
        QCOMPARE(listed(), QStringList{"offen"});
    }

    // "Termine bearbeiten" lists all appointments and opens the window on the one selected;
    // on an empty day list on the first of all; with none at all on no row.
    void editingOpensOnTheSelectedAppointment()
    {
        addSamples();
        m_module->activate();
        clickDay(Day);
        termine()->last();   // "Rückruf Gläubiger"
        QString shown;
        RecordDialog::whenShown([&](QDialog *dlg) {
            QCOMPARE(dlg->windowTitle(), QStringLiteral("Termine bearbeiten"));
            shown = GuiTest::find<QLineEdit>(dlg, "tedbeKurz")->text();
            dlg->close();
        });
        click("aufTbutBearbeiten");
        QCOMPARE(shown, QStringLiteral("Rückruf Gläubiger"));
        QCOMPARE(listed().size(), 5);
        // The caption stays on the day.
        QCOMPARE(m_heading, QStringLiteral("Montag, 14. Dezember 2026"));

        clickDay(Day.addDays(3));
        QCOMPARE(listed(), QStringList());
        RecordDialog::whenShown([&](QDialog *dlg) {
            shown = GuiTest::find<QLineEdit>(dlg, "tedbeKurz")->text();
            dlg->close();
        });
        click("aufTbutBearbeiten");
        QCOMPARE(shown, QStringLiteral("Ohne Datum"));
    }

    void newAppointmentInTheWindow()
    {
        m_module->activate();
        RecordDialog::whenShown([&](QDialog *dlg) {
            QVERIFY(GuiTest::find<QLineEdit>(dlg, "tedbeKurz")->text().isEmpty());
            click(dlg, "teTbutNeu");
            QVERIFY(termine()->isPending());
            QVERIFY(GuiTest::find<QAbstractButton>(dlg, "teTbutSpeichern")->isEnabled());
            auto *date = GuiTest::find<QLineEdit>(dlg, "tedbeDatum");
            // Without a short description the row is refused and stays pending.
            click(dlg, "teTbutSpeichern");
            QCOMPARE(m_dialogs->texts(), QStringList{"Bitte füllen Sie das Feld „Kurzbeschreibung“ aus."});
            QCOMPARE(m_dialogs->log().first().kind, mkWarning);
            QVERIFY(termine()->isPending());
            date->setFocus();
            date->home(false);
            GuiTest::type(date, "14122026");
            GuiTest::leave(date);
            auto *kurz = GuiTest::find<QLineEdit>(dlg, "tedbeKurz");
            GuiTest::type(kurz, "Rückruf Gläubiger");
            GuiTest::leave(kurz);
            // The done mark does not bring a date of its own.
            click(dlg, "tedbcbErledigt");
            QVERIFY(termine()->value("WvErldat").isNull());
            dlg->close();   // stores the pending row
        });
        click("aufTbutBearbeiten");
        QVERIFY(!termine()->isPending());
        QCOMPARE(m_dm->db.scalar("select count(*) from termine where WvKurz = 'Rückruf Gläubiger' and User_id = 1 "
                                 "and WvErledigt = 1 and WvDatum = '2026-12-14' and WvErldat is null")
                     .toInt(),
                 1);
        // A new row starts as not done, also when nobody ticks the box.
        termine()->append();
        QCOMPARE(termine()->value("WvErledigt").toBool(), false);
        QCOMPARE(termine()->value("User_id").toInt(), 1);
        termine()->cancel();
    }

    void deletingAsks()
    {
        addSamples();
        m_module->activate();
        click("aufTbutAlle");
        m_dialogs->answers({false, true});
        RecordDialog::whenShown([&](QDialog *dlg) {
            click(dlg, "teTbutLoeschen");
            click(dlg, "teTbutLoeschen");
            dlg->close();
        });
        click("aufTbutBearbeiten");
        QCOMPARE(m_dialogs->texts(), QStringList({"Termin löschen?", "Termin löschen?"}));
        QCOMPARE(m_dm->db.scalar("select count(*) from termine").toInt(), 4);
    }

    void listPrintout()
    {
        addSamples();
        m_dm->db.exec("update termine set WvLang = 'Unterlagen {Kontoauszüge} mitbringen' where WvKurz = 'Ohne Datum'");
        m_module->activate();
        clickDay(Day);
        click("aufTbutAlle");
        click("aufTbutTerminliste");
        QCOMPARE(m_dialogs->texts(), QStringList());
        const QString file = m_out->filePath("sbTerminliste.rtf");
        QCOMPARE(m_opener.opened, QStringList{file});
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray rtf = f.readAll();
        for (const char *seen : {"Alle Termine, offene und erledigte", "R\\'FCckruf Gl\\'E4ubiger", "15.12.2026", "09:30",
                                 "erledigt am ", "Termin Schuldnerberatung", "\\{Kontoausz\\'FCge\\}", "Erstellt mit Finorra"})
            QVERIFY2(rtf.contains(seen), seen);
        QVERIFY(!rtf.contains("\\\\"));
        QVERIFY(!rtf.contains("SCAN"));
        // A list of all dates is not headed with the calendar's day.
        QVERIFY(!rtf.contains("Montag, 14. Dezember 2026"));
        f.close();

        // The heading names what is listed: the day and the filter, or all dates.
        const QList<std::pair<int, const char *>> headings = {{1, "Offene Termine am Montag, 14. Dezember 2026"},
                                                             {2, "Erledigte Termine am Montag, 14. Dezember 2026"},
                                                             {0, "Termine am Montag, 14. Dezember 2026"}};
        for (const auto &[filter, heading] : headings) {
            GuiTest::find<QRadioButton>(m_page.get(), QStringLiteral("aufrbFilter%1").arg(filter))->click();
            click("aufTbutTerminliste");
            QVERIFY(f.open(QIODevice::ReadOnly));
            QVERIFY2(f.readAll().contains(heading), heading);
            f.close();
        }
        GuiTest::find<QRadioButton>(m_page.get(), "aufrbFilter1")->click();
        click("aufTbutAlle");
        click("aufTbutTerminliste");
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains("Alle offenen Termine"));
        QCOMPARE(m_dialogs->texts(), QStringList());
    }
};

QTEST_MAIN(TestAppointments)
#include "tst_appointments.moc"
