// A household book of 100,000 bookings over ten years with the real page shown (offscreen):
// entering the page, filtering one year and "Rechnen", each next to the SQL that sums the
// same rows by category in the same run; and a series of 1,000 recurring bookings next to a
// bare INSERT of the same rows in one transaction.
#include "BenchTiming.h"
#include "data/DataModules.h"
#include "hhbook/HhbookModule.h"
#include "hhbook/rules/HhbookVocabulary.h"
#include "hhbook/rules/RecurringBookings.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

constexpr int Bookings = 100000;
constexpr int FirstYear = 2015;
constexpr int Years = 10;
constexpr int SeriesLength = 1000;
constexpr int Rounds = 7;

void fillBook(DataModules &dm)
{
    dm.db.transaction([&dm] {
        dm.db.exec(QStringLiteral("insert into hhplan (Erfdat, Bezeichnung, User_id) values ('2015-01-01', 'Haushaltsbuch von Groß', 1)"));
        dm.db.exec(QStringLiteral("insert into hhplan (Erfdat, Bezeichnung, User_id) values ('2015-01-01', 'Haushaltsbuch der Serien', 1)"));
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

double groupBy(DataModules &dm, const QString &where)
{
    return BenchTiming::bestOf(Rounds, [&] {
        QSqlQuery q(dm.db.connection());
        q.setForwardOnly(true);
        q.exec(QStringLiteral("select rubrik, sum(betrag) from hhbuch where hhplan_id = 1 ") + where + QStringLiteral(" group by rubrik"));
        double sum = 0;
        while (q.next())
            sum += q.value(1).toDouble();
        if (sum <= 0)
            std::abort();
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
    HhbookModule module(dm, [](const QString &) {});
    std::unique_ptr<QWidget> page(module.createPage(nullptr));
    page->resize(1280, 800);
    page->show();
    QApplication::processEvents();
    auto click = [&page](const char *name) {
        page->findChild<QAbstractButton *>(QLatin1String(name))->click();
        QApplication::processEvents();
    };
    const QString year = QString::number(FirstYear + Years / 2);
    auto *from = page->findChild<QLineEdit *>(QStringLiteral("mevon"));
    auto *to = page->findChild<QLineEdit *>(QStringLiteral("mebis"));
    from->setText(QStringLiteral("01.01.") + year);
    to->setText(QStringLiteral("31.12.") + year);

    const double sqlAll = groupBy(dm, QString());
    const double sqlYear = groupBy(dm, QStringLiteral("and buchdat >= '%1-01-01' and buchdat <= '%1-12-31'").arg(year));

    // What the user waits for, step by step. Between two clicks the user reads the screen,
    // and the program reads the rest of the list meanwhile; the pause is not timed.
    DataSet *bookings = dm.dmHh->qrHhbuch;
    auto pause = [bookings] {
        bookings->recordCount();   // what the reading in the background has done by then
        QApplication::processEvents();
    };
    auto timed = [](const std::function<void()> &work) { return BenchTiming::bestOf(1, work); };
    double open = 1e18, filter = 1e18, compute = 1e18, sequence = 1e18, computeAtOnce = 1e18;
    for (int r = 0; r < Rounds; ++r) {
        click("hhbutOhneFilter");
        pause();
        const double o = timed([&] {
            module.activate();
            QApplication::processEvents();
        });
        pause();
        const double f = timed([&] { click("butHhFilter"); });
        pause();
        const double c = timed([&] { click("hhtbutrechnen"); });
        click("butHhFilter");
        computeAtOnce = std::min(computeAtOnce, timed([&] { click("hhtbutrechnen"); }));
        open = std::min(open, o);
        filter = std::min(filter, f);
        compute = std::min(compute, c);
        sequence = std::min(sequence, o + f + c);
    }
    click("hhbutOhneFilter");
    pause();
    const double computeAll = BenchTiming::bestOf(Rounds, [&] { click("hhtbutrechnen"); });
    const double computeAllAtOnce = BenchTiming::bestOf(Rounds, [&] { module.activate(); }, [&] { click("hhtbutrechnen"); });

    // The series goes into the second book, emptied before each run; the bare INSERT
    // writes the same rows into a third.
    DataSet *books = dm.dmHh->qrHhplan;
    const RecurringBookings::Series series{QDate(2025, 1, 31), SeriesLength, 1, QStringLiteral("Wohnkosten"),
                                           QStringLiteral("Konto"), Money::fromCents(78000), QStringLiteral("Miete")};
    const double bare = BenchTiming::bestOf(
        Rounds, [&] { dm.db.exec(QStringLiteral("delete from hhbuch where hhplan_id = 3")); },
        [&] {
            dm.db.transaction([&] {
                QSqlQuery q(dm.db.connection());
                q.prepare(QStringLiteral("insert into hhbuch (Hhplan_id, Buchdat, Rubrik, Rubdet, Betrag, RubText) values (3, ?, ?, ?, ?, ?)"));
                for (int i = 0; i < SeriesLength; ++i) {
                    q.addBindValue(RecurringBookings::dueDate(series.start, i, series.months).toString(Qt::ISODate));
                    q.addBindValue(series.rubrik);
                    q.addBindValue(series.rubdet);
                    q.addBindValue(series.amount.toDouble());
                    q.addBindValue(series.text);
                    q.exec();
                }
            });
        });
    const double seriesMs = BenchTiming::bestOf(
        Rounds,
        [&] {
            dm.db.exec(QStringLiteral("delete from hhbuch where hhplan_id = 2"));
            books->locate(QStringLiteral("Hhplan_id"), 2);
            bookings->reopen();
            QApplication::processEvents();
        },
        [&] {
            RecurringBookings::append(*bookings, series);
            QApplication::processEvents();
        });
    const int stored = dm.db.scalar(QStringLiteral("select count(*) from hhbuch where hhplan_id = 2")).toInt();

    const double longest = std::max({open, filter, compute, computeAtOnce, computeAll, computeAllAtOnce});
    std::printf("Household book of %d bookings over %d years, page shown (best of %d):\n", Bookings, Years, Rounds);
    std::printf("  SQL group by category, one year          %7.2f ms\n", sqlYear);
    std::printf("  SQL group by category, whole book        %7.2f ms\n", sqlAll);
    std::printf("  enter the page                           %7.2f ms\n", open);
    std::printf("  filter one year                          %7.2f ms\n", filter);
    std::printf("  \"Rechnen\" over that year                 %7.2f ms  ratio %.1f to the year's group by (goal <= 3)\n",
                compute, compute / sqlYear);
    std::printf("  the same, clicked before the list is read %6.2f ms  ratio %.1f\n", computeAtOnce, computeAtOnce / sqlYear);
    std::printf("  enter + filter + \"Rechnen\"               %7.2f ms  ratio %.1f to the whole book's group by\n", sequence,
                sequence / sqlAll);
    std::printf("  \"Rechnen\" over all %d bookings        %7.2f ms  ratio %.1f to the whole book's group by\n", Bookings,
                computeAll, computeAll / sqlAll);
    std::printf("  the same, clicked before the list is read %6.2f ms  ratio %.1f\n", computeAllAtOnce, computeAllAtOnce / sqlAll);
    std::printf("  longest single action                    %7.2f ms  (goal < 300 ms)\n", longest);
    std::printf("Series of %d recurring bookings (best of %d):\n", SeriesLength, Rounds);
    std::printf("  bare INSERT, one transaction        %7.2f ms\n", bare);
    std::printf("  through the booking query           %7.2f ms  ratio %.1f (goal <= 5)\n", seriesMs, seriesMs / bare);
    return stored == SeriesLength ? 0 : 1;
}
