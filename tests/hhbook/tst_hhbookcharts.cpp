#include "support/TempDatabase.h"

#include "core/DateUtil.h"
#include "core/GermanFormat.h"
#include "data/DataModules.h"
#include "hhbook/HhbookChartTab.h"
#include "hhbook/HhbookPage.h"
#include "hhbook/rules/HhbookChartData.h"
#include "hhbook/rules/HhbookHandlers.h"
#include "hhbook/rules/HhbookRules.h"
#include "ui/ScriptedDialogs.h"
#include "ui/charts/ChartPanel.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QStackedBarSeries>
#include <QTabWidget>
#include <QTest>

namespace {

using Booking = HhbookChartData::Booking;

Money eur(double v)
{
    return Money::fromDouble(v);
}

QStringList categories(const QChart *chart)
{
    for (QAbstractAxis *axis : chart->axes(Qt::Horizontal))
        if (auto *c = qobject_cast<QBarCategoryAxis *>(axis))
            return c->categories();
    return {};
}

} // namespace

class TestHhbookCharts : public QObject
{
    Q_OBJECT

private slots:
    void monthsOfTheSelection()
    {
        const HhbookChartData d = HhbookChartData::fromBookings({
            {QDate(2024, 1, 1), "Einkommen", eur(2000)},
            {QDate(2024, 1, 3), "Wohnkosten", eur(600)},
            {QDate(2024, 1, 20), "Wohnkosten", eur(50.5)},
            {QDate(2024, 3, 9), "Lebenshaltung", eur(480)},
            {QDate(2024, 3, 10), "Lebenshaltung", eur(-30)},   // a refund lowers the month's spending
            {QDate(), "Wohnkosten", eur(999)},                 // without a date: counted nowhere
            {QDate(2023, 6, 1), "Urlaub", eur(999)},           // not one of the eight words
        });
        QCOMPARE(d.months.size(), 3);   // February stays in, with nothing booked
        QCOMPARE(d.months[0].first, QDate(2024, 1, 1));
        QCOMPARE(d.months[0].costs[0], eur(650.5));
        QCOMPARE(d.months[0].balance, eur(1349.5));
        QCOMPARE(d.months[1].balance, Money());
        QCOMPARE(d.months[2].costs[4], eur(450));
        QCOMPARE(d.months[2].balance, eur(-450));
        QCOMPARE(d.range(), std::make_pair(eur(-450), eur(2000)));
        QCOMPARE(HhbookChartData::costNames().first(), QStringLiteral("Wohnkosten"));
        QCOMPARE(HhbookChartData::costNames().size(), 7);
        QVERIFY(HhbookChartData::fromBookings({}).months.isEmpty());
    }

    void aLongPeriodKeepsTheLatestMonths()
    {
        // A typing slip in a year (2004 for 2024) must not squeeze twenty years of bars.
        const HhbookChartData d = HhbookChartData::fromBookings({
            {QDate(2004, 5, 1), "Einkommen", eur(10)},
            {QDate(2024, 12, 1), "Einkommen", eur(20)},
        });
        QCOMPARE(d.months.size(), HhbookChartData::MaxMonths);
        QCOMPARE(d.months.last().first, QDate(2024, 12, 1));
        QCOMPARE(d.months.first().first, QDate(2022, 1, 1));
        QCOMPARE(d.monthsLeftOut, 212);
    }

    // "Actual" is what is booked up to the day counted to; later bookings are counted apart.
    void laterBookingsAreNoSpendingYet()
    {
        const HhbookChartData d = HhbookChartData::fromBookings(
            {
                {QDate(2024, 3, 1), "Einkommen", eur(2000)},
                {QDate(2024, 3, 15), "Wohnkosten", eur(600)},
                {QDate(2024, 3, 16), "Wohnkosten", eur(600)},
                {QDate(2024, 5, 1), "Wohnkosten", eur(600)},
            },
            QDate(2024, 3, 15));
        QCOMPARE(d.months.size(), 1);
        QCOMPARE(d.months[0].costs[0], eur(600));
        QCOMPARE(d.months[0].balance, eur(1400));
        QCOMPARE(d.laterLeftOut, 2);
    }

    void tabFollowsTheFilter()
    {
        TempDatabase tmp;
        DataModules dm;
        tmp.openIn(dm.db);
        auto *handlers = new HhbookHandlers(*dm.dmHh, *dm.dmMP);
        Q_UNUSED(handlers);
        QVERIFY(dm.dmMP->lookupUser("sb"));
        dm.db.exec("insert into hhplan (Erfdat, Bezeichnung, User_id) values (:d, 'Familie Muster', 1)",
                   {{"d", QDate(2024, 1, 2)}});
        auto book = [&](const QDate &date, const char *rubrik, double amount) {
            dm.db.exec("insert into hhbuch (Hhplan_id, Buchdat, Rubrik, Rubdet, Betrag, RubText) "
                       "values (1, :d, :r, 'Konto', :b, 'Buchung')",
                       {{"d", date}, {"r", QString::fromUtf8(rubrik)}, {"b", amount}});
        };
        book(QDate(2024, 1, 1), "Einkommen", 2000);
        book(QDate(2024, 1, 3), "Wohnkosten", 600);
        book(QDate(2024, 2, 1), "Einkommen", 2000);
        book(QDate(2024, 2, 9), "Lebenshaltung", 2500);
        // The rent of a series, booked ahead: not spent yet, so in no bar and no month.
        book(DateUtil::today().addDays(20), "Wohnkosten", 700);

        ScriptedDialogs dialogs;
        HhbookPage page(dm, [](const QString &) {});
        page.resize(1200, 800);
        page.show();
        dm.dmHh->qrHhplan->reopen();
        dm.dmHh->qrHhbuch->reopen();
        auto *tabs = page.findChild<QTabWidget *>("pcHhbuch");
        auto *tab = page.findChild<HhbookChartTab *>("tbsGrafik");
        QCOMPARE(tabs->tabText(tabs->indexOf(tab)), QStringLiteral("Grafik"));
        tabs->setCurrentWidget(tab);
        auto *spending = page.findChild<ChartPanel *>("hhGrafikAusgaben");
        auto *balances = page.findChild<ChartPanel *>("hhGrafikSalden");
        QCOMPARE(categories(spending->chart()), QStringList({"Jan 24", "Feb 24"}));
        auto *sets = qobject_cast<QStackedBarSeries *>(balances->chart()->series().value(0));
        QCOMPARE(sets->barSets().value(0)->label(), QStringLiteral("Überschuss"));
        QCOMPARE(sets->barSets().value(0)->at(0), 1400.0);
        QCOMPARE(sets->barSets().value(1)->at(1), -500.0);
        QVERIFY(spending->note().endsWith(QStringLiteral("Gezählt sind die Buchungen bis %1. 1 spätere Buchung ist nicht gezählt.")
                                              .arg(GermanFormat::shortDate(DateUtil::today()))));
        QVERIFY(spending->note().contains("ohne Filter (alle Buchungen)"));

        dm.dmHh->qrHhbuch->replaceSql(HhbookRules::filterSql("01.02.2024", "29.02.2024", "<Alle>", "<Alle>"));
        QCoreApplication::processEvents();
        QCOMPARE(categories(spending->chart()), QStringList({"Feb 24"}));
        auto *costs = qobject_cast<QStackedBarSeries *>(spending->chart()->series().value(0));
        QCOMPARE(costs->barSets().value(4)->label(), QStringLiteral("Lebenshaltung"));
        QCOMPARE(costs->barSets().value(4)->at(0), 2500.0);

        dm.dmHh->qrHhbuch->replaceSql(HhbookRules::filterSql("01.01.2020", "31.12.2020", "<Alle>", "<Alle>"));
        QCoreApplication::processEvents();
        QCOMPARE(spending->note(), QStringLiteral("Keine Buchungen in der Auswahl."));
    }
};

QTEST_MAIN(TestHhbookCharts)
#include "tst_hhbookcharts.moc"
