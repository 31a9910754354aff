// The letters page of a large office (20,000 contacts, 5,000 letters of one adviser), shown
// offscreen at the size of a common screen: entering the page next to the bare SQL of its
// query reading every row, in the same run; then the slowest of the everyday actions.
#include "BenchTiming.h"
#include "data/DataModules.h"
#include "letters/LettersModule.h"
#include "ui/DesktopSetup.h"

#include <QAbstractButton>
#include <QApplication>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr int Contacts = 20000;
constexpr int Letters = 5000;
constexpr int Rounds = 7;

void fill(Database &db)
{
    db.transaction([&] {
        QSqlQuery c(db.connection());
        c.prepare(QStringLiteral("insert into adressen (Suna, Name1, Name2, Strasse, Hausnr, Land, Plz, Ort) "
                                 "values (?, ?, ?, ?, ?, 'D', ?, ?)"));
        for (int i = 0; i < Contacts; ++i) {
            c.addBindValue(QStringLiteral("KONTAKT %1").arg(i, 6, 10, QChar(u'0')));
            c.addBindValue(QStringLiteral("Gläubiger %1 GmbH").arg(i));
            c.addBindValue(QStringLiteral("Forderungsmanagement"));
            c.addBindValue(QStringLiteral("Hauptstraße"));
            c.addBindValue(QString::number(i % 200));
            c.addBindValue(QString::number(10000 + i % 89999));
            c.addBindValue(QStringLiteral("Ort %1").arg(i % 500));
            c.exec();
        }
        QSqlQuery l(db.connection());
        l.prepare(QStringLiteral("insert into schrift (Erfdat, Emp_id, Titel, Betreff, Text, SB, SBKurz, User_id) "
                                 "values (?, ?, ?, 'Ratenzahlung', ?, 'Susanne Berger', 'sb', 1)"));
        const QString body = QStringLiteral("Sehr geehrte Damen und Herren,\n\n") + QString(600, u'x');
        for (int i = 0; i < Letters; ++i) {
            l.addBindValue(QDate(2020, 1, 1).addDays(i % 2500));
            l.addBindValue(1 + (i * 7) % Contacts);
            l.addBindValue(QStringLiteral("KONTAKT %1 - Ratenzahlung").arg(i, 6, 10, QChar(u'0')));
            l.addBindValue(body);
            l.exec();
        }
    });
}

double slowest(std::initializer_list<double> times)
{
    return *std::max_element(times.begin(), times.end());
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
        q.exec(QStringLiteral("select * from schrift where user_id = 1  order by erfdat"));
        int n = 0;
        while (q.next())
            n += q.value(0).toInt() > 0;
        if (n != Letters)
            std::abort();
    });

    LettersModule module(dm);
    std::unique_ptr<QWidget> page(module.createPage(nullptr));
    page->resize(1166, 640);
    page->show();
    QApplication::processEvents();
    const double enter = BenchTiming::bestOf(Rounds, [&] {
        module.activate();
        QApplication::processEvents();   // painted
    });

    DataSet *letters = dm.dmSchrift->qrSchrift;
    auto button = [&](const char *name) { return page->findChild<QAbstractButton *>(QLatin1String(name)); };
    const double next = BenchTiming::bestOf(Rounds, [&] {
        letters->next();
        QApplication::processEvents();
    });
    const double last = BenchTiming::bestOf(Rounds, [&] {
        letters->first();
        QApplication::processEvents();
    }, [&] {
        letters->last();
        QApplication::processEvents();
    });
    const double newLetter = BenchTiming::bestOf(Rounds, [&] {
        letters->cancel();
        QApplication::processEvents();
    }, [&] {
        button("brTbutNeu")->click();
        QApplication::processEvents();
    });
    letters->cancel();
    const double date = BenchTiming::bestOf(Rounds, [&] {
        letters->cancel();
        QApplication::processEvents();
    }, [&] {
        button("brbutDatum")->click();
        button("brTbutSpeichern")->click();
        QApplication::processEvents();
    });

    std::printf("Letters page, %d contacts and %d letters of one adviser (best of %d):\n", Contacts, Letters, Rounds);
    std::printf("  bare SQL of the page's query, all rows  %7.2f ms\n", sql);
    std::printf("  entering the page, painted              %7.2f ms  ratio %.1f (goal <= 5)\n", enter, enter / sql);
    std::printf("  next letter (recipient follows)         %7.2f ms\n", next);
    std::printf("  to the last letter                      %7.2f ms\n", last);
    std::printf("  \"&Neu\"                                  %7.2f ms\n", newLetter);
    std::printf("  \"Datum\" and \"&Speichern\"                %7.2f ms\n", date);
    std::printf("  slowest action %.2f ms (goal < 100)\n", slowest({enter, next, last, newLetter, date}));
    return 0;
}
