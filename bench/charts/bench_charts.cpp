// The household book's charts over 100,000 bookings in ten years (120 months, the latest
// 36 shown) with the tab shown offscreen: reading the selection and rebuilding both charts,
// next to the bare SQL that reads the same three columns of every row in the same run.
#include "BenchTiming.h"
#include "data/DataModules.h"
#include "hhbook/HhbookChartTab.h"
#include "hhbook/rules/HhbookVocabulary.h"

#include <QApplication>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int Bookings = 100000;
constexpr int FirstYear = 2015;
constexpr int Years = 10;
constexpr int Rounds = 5;

void fillBook(DataModules &dm)
{
    dm.db.transaction([&dm] {
        dm.db.exec(QStringLiteral("insert into hhplan (Erfdat, Bezeichnung, User_id) values (:d, 'Haushaltsbuch von Groß', 1)"),
                   {{QStringLiteral("d"), QDate(FirstYear, 1, 1)}});
        QSqlQuery q(dm.db.connection());
        q.prepare(QStringLiteral("insert into hhbuch (Hhplan_id, Buchdat, Rubrik, Rubdet, Betrag, RubText) values (1, ?, ?, ?, ?, ?)"));
        const QStringList &words = HhbookVocabulary::categoryWords();
        const QDate start(FirstYear, 1, 1);
        const int days = static_cast<int>(start.daysTo(QDate(FirstYear + Years, 1, 1)));
        for (int i = 0; i < Bookings; ++i) {
            q.addBindValue(start.addDays(static_cast<qint64>(i) * days / Bookings).toString(Qt::ISODate));
            q.addBindValue(words.at(i % 9 == 0 ? 0 : 1 + i % 7));
            q.addBindValue(i % 3 ? QStringLiteral("Konto") : QStringLiteral("Bar"));
            q.addBindValue((i % 9 == 0 ? 1500.0 : 5.0) + (i % 1000) / 100.0);
            q.addBindValue(QStringLiteral("Buchung %1").arg(i));
            q.exec();
        }
    });
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    DataModules dm;
    dm.db.open(dir.path());
    fillBook(dm);
    dm.dmMP->lookupUser(QStringLiteral("sb"));
    DataSet *books = dm.dmHh->qrHhplan;
    DataSet *bookings = dm.dmHh->qrHhbuch;
    books->open();
    bookings->open();

    HhbookChartTab tab(bookings);
    tab.resize(1200, 520);
    tab.show();
    QApplication::processEvents();

    const double bare = BenchTiming::bestOf(Rounds, [&] {
        QSqlQuery q(dm.db.connection());
        q.setForwardOnly(true);
        q.exec(QStringLiteral("select buchdat, rubrik, betrag from hhbuch where hhplan_id = 1 order by buchdat"));
        double sum = 0;
        while (q.next())
            sum += q.value(2).toDouble() + q.value(0).toDate().month() + q.value(1).toString().size();
        if (sum <= 0)
            std::abort();
    });
    // The first showing after a new selection: the rows are read, then both charts built.
    const double fresh = BenchTiming::bestOf(
        Rounds, [&] { bookings->reopen(); }, [&] {
            tab.refresh();
            QApplication::processEvents();
        });
    // A saved booking: the rows are there, only the charts are rebuilt.
    const double again = BenchTiming::bestOf(Rounds, [&] {
        tab.refresh();
        QApplication::processEvents();
    });
    std::printf("charts over %d bookings, new selection: %.1f ms, bare SQL read of the rows: %.1f ms, ratio %.2f\n",
                Bookings, fresh, bare, fresh / bare);
    std::printf("charts over %d bookings, rows already read: %.1f ms, ratio to the bare read %.2f\n", Bookings, again,
                again / bare);
    return 0;
}
