// 20,000 contacts, with the real Kontakte page and selection window shown (offscreen):
// entering the page and prefix searches with their hit count, each next to the bare SQL of
// the same query, reading the same rows, in the same run.
#include "BenchTiming.h"
#include "contacts/ContactsModule.h"
#include "contacts/TFormKontWahl.h"
#include "contacts/rules/ContactRules.h"
#include "data/DataModules.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr int Contacts = 20000;
constexpr int Rounds = 9;

const char *const Surnames[] = {"Müller", "Schmidt", "Schneider", "Fischer", "Weber", "Meyer", "Wagner", "Becker",
                                "Schulz", "Hoffmann", "Schäfer", "Koch", "Bauer", "Richter", "Klein", "Wolf",
                                "Schröder", "Neumann", "Schwarz", "Zimmermann", "Braun", "Krüger", "Hofmann",
                                "Hartmann", "Lange", "Schmitt", "Werner", "O'Neill"};
const char *const Towns[] = {"Berlin", "Hamburg", "München", "Köln", "Frankfurt", "Stuttgart", "Düsseldorf",
                             "Leipzig", "Dortmund", "Essen", "Bremen", "Dresden", "Hannover", "Nürnberg", "Kassel"};

// The bare query: every row read, every column touched, the rows counted.
int bareSql(DataModules &dm, const QString &sql, const QVariantList &values, int limit = -1)
{
    QSqlQuery q(dm.db.connection());
    q.setForwardOnly(true);
    q.prepare(sql);
    for (const QVariant &v : values)
        q.addBindValue(v);
    q.exec();
    int n = 0;
    const int columns = q.record().count();
    while ((limit < 0 || n < limit) && q.next()) {
        for (int c = 0; c < columns; ++c)
            (void)q.value(c);
        ++n;
    }
    return n;
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
    dm.db.transaction([&dm] {
        QSqlQuery q(dm.db.connection());
        q.prepare(QStringLiteral("insert into adressen (Erfdat, Name1, Name2, Suna, Strasse, Hausnr, Plz, Ort, Telefon, "
                                 "Email, Rub1) values ('2026-01-02', ?, ?, ?, ?, ?, ?, ?, ?, ?, 'Privat')"));
        for (int i = 0; i < Contacts; ++i) {
            const QString surname = QString::fromUtf8(Surnames[(i * 13) % std::size(Surnames)]);
            const QString given = QStringLiteral("Person %1").arg(i);
            const QString town = QString::fromUtf8(Towns[(i * 11) % std::size(Towns)]);
            q.addBindValue(given);
            q.addBindValue(surname);
            q.addBindValue(surname + QStringLiteral(", ") + given);
            q.addBindValue(QStringLiteral("Hauptstraße"));
            q.addBindValue(QString::number(i % 200 + 1));
            q.addBindValue(QStringLiteral("%1").arg(10000 + (i * 37) % 89999, 5, 10, QChar(u'0')));
            q.addBindValue(town);
            q.addBindValue(QStringLiteral("030 %1").arg(100000 + i));
            q.addBindValue(QStringLiteral("person%1@example.org").arg(i));
            q.exec();
        }
        for (int i = 0; i < 8000; ++i)
            dm.db.exec(QStringLiteral("insert into plzort (Plz, Ort) values ('%1', 'Ort %2')")
                           .arg(10000 + i * 11, 5, 10, QChar(u'0'))
                           .arg(i));
    });
    dm.dmMP->lookupUser(QStringLiteral("sb"));

    ContactsModule module(dm);
    std::unique_ptr<QWidget> page(module.createPage(nullptr));
    page->resize(1280, 800);
    page->show();
    QApplication::processEvents();

    // Entering the page: the three queries run again and the page shows the first contact.
    const double enterSql = BenchTiming::bestOf(Rounds, [&dm] {
        bareSql(dm, QStringLiteral("select * from adressen order by suna"), {}, DataSet::FirstBatch);
        bareSql(dm, QStringLiteral("select * from buland order by buland"), {});
        bareSql(dm, QStringLiteral("select * from plzort order by ort"), {}, DataSet::FirstBatch);
    });
    const double enter = BenchTiming::bestOf(Rounds, [&] {
        module.activate();
        QApplication::processEvents();
    });

    TFormKontWahl window(dm);
    window.show();
    QApplication::processEvents();
    auto *text = window.findChild<QLineEdit *>(QStringLiteral("eSuchen"));
    auto *go = window.findChild<QPushButton *>(QStringLiteral("butGo"));
    struct Search
    {
        const char *label, *radio, *typed;
        int filter;
    };
    const Search searches[] = {{"search name \"schm\"", "rbSuchname", "schm", ContactRules::BySearchName},
                               {"town \"k\"", "rbOrt", "k", ContactRules::ByTown},
                               {"all contacts (empty text)", "rbSuchname", "", ContactRules::BySearchName}};
    std::printf("Kontakte with %d contacts, page and selection window shown (best of %d):\n", Contacts, Rounds);
    std::printf("  enter the page: bare SQL %7.2f ms, page %7.2f ms, ratio %.1f (goal <= 5)\n", enterSql, enter,
                enter / enterSql);
    double slowest = enter;
    for (const Search &s : searches) {
        const QString typed = QString::fromUtf8(s.typed);
        const QString sql =
            ContactRules::searchSql(s.filter, typed.isEmpty()).replace(QStringLiteral(":muster"), QStringLiteral("?"));
        const QVariantList pattern =
            typed.isEmpty() ? QVariantList{} : QVariantList{ContactRules::searchPattern(typed)};
        int hits = 0;
        const double bare = BenchTiming::bestOf(Rounds, [&] { hits = bareSql(dm, sql, pattern); });
        window.findChild<QRadioButton *>(QLatin1String(s.radio))->setChecked(true);
        text->setText(QString::fromUtf8(s.typed));
        const double shown = BenchTiming::bestOf(Rounds, [&] {
            go->click();
            QApplication::processEvents();
        });
        slowest = std::max(slowest, shown);
        std::printf("  search %-26s %5d hits: bare SQL %7.2f ms, window %7.2f ms, ratio %.1f (goal <= 5)\n", s.label,
                    hits, bare, shown, shown / bare);
    }
    std::printf("  slowest single user action  %7.2f ms (goal < 100 ms)\n", slowest);
    return 0;
}
