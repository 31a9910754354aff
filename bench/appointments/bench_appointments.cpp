// The Termine page of an office that has kept its appointments for years (100,000 rows,
// about a hundred a day), shown offscreen at the size of a common screen: each action next
// to the bare SQL of the all-dates selection reading every row, in the same run.
#include "BenchTiming.h"
#include "appointments/TermineModule.h"
#include "data/DataModules.h"
#include "ui/DesktopSetup.h"
#include "ui/RecordDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

constexpr int Appointments = 100000;
constexpr int PerDay = 100;
constexpr int Rounds = 7;
const QDate FirstDay(2024, 1, 1);

void fill(Database &db)
{
    db.transaction([&] {
        QSqlQuery q(db.connection());
        q.prepare(QStringLiteral("insert into termine (WvDatum, Uhrzeit, WvKurz, WvLang, WvErledigt, User_id) "
                                 "values (?, ?, ?, ?, ?, 1)"));
        for (int i = 0; i < Appointments; ++i) {
            q.addBindValue(FirstDay.addDays(i / PerDay).toString(Qt::ISODate));
            q.addBindValue(QTime(8, 0).addSecs((i % PerDay) * 300).toString(QStringLiteral("HH:mm:ss")));
            q.addBindValue(QStringLiteral("Rückruf Gläubiger %1").arg(i));
            q.addBindValue(QStringLiteral("Unterlagen prüfen und Ratenangebot besprechen"));
            q.addBindValue(i % 3 == 0);
            q.exec();
        }
    });
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    DesktopSetup::apply();
    QTemporaryDir dir;
    DataModules dm;
    dm.db.open(dir.path());
    fill(dm.db);
    dm.dmMP->lookupUser(QStringLiteral("sb"));

    const double sql = BenchTiming::bestOf(Rounds, [&] {
        QSqlQuery q(dm.db.connection());
        q.exec(QStringLiteral("select * from termine order by wvdatum, uhrzeit"));
        int n = 0;
        while (q.next())
            n += q.value(0).toInt() > 0;
        if (n != Appointments)
            std::abort();
    });

    TermineModule module(dm, [](const QString &) {});
    std::unique_ptr<QWidget> page(module.createPage(nullptr));
    page->resize(1166, 640);
    page->show();
    QApplication::processEvents();
    const double enter = BenchTiming::bestOf(Rounds, [&] {
        module.activate();
        QApplication::processEvents();   // painted
    });

    auto button = [&](const char *name) { return page->findChild<QAbstractButton *>(QLatin1String(name)); };
    auto *calendar = page->findChild<QCalendarWidget *>(QStringLiteral("mc01"));
    const QDate lastDay = FirstDay.addDays(Appointments / PerDay - 1);
    const double day = BenchTiming::bestOf(Rounds, [&] {
        calendar->setSelectedDate(lastDay);
        emit calendar->clicked(lastDay);
        QApplication::processEvents();
    });
    const double all = BenchTiming::bestOf(Rounds, [&] {
        button("aufTbutAlle")->click();
        QApplication::processEvents();
    });
    // The last appointment of the last day: the window opens on it within the whole list.
    const double edit = BenchTiming::bestOf(Rounds, [&] {
        emit calendar->clicked(lastDay);
        dm.dmExtras->qrTermine->last();
        QApplication::processEvents();
    }, [&] {
        RecordDialog::whenShown([](QDialog *dlg) { dlg->close(); });
        button("aufTbutBearbeiten")->click();
        QApplication::processEvents();
    });
    if (dm.dmExtras->qrTermine->currentRow() != Appointments - 1)
        std::abort();

    std::printf("Termine page, %d appointments, %d a day (best of %d):\n", Appointments, PerDay, Rounds);
    std::printf("  bare SQL of all dates, all rows        %7.2f ms\n", sql);
    std::printf("  entering the page (today), painted      %7.2f ms  ratio %.2f\n", enter, enter / sql);
    std::printf("  a day clicked in the calendar           %7.2f ms  ratio %.2f\n", day, day / sql);
    std::printf("  \"Alle Termine\", painted                 %7.2f ms  ratio %.2f\n", all, all / sql);
    std::printf("  \"Termine bearbeiten\" on the last one     %7.2f ms  ratio %.2f\n", edit, edit / sql);
    return 0;
}
