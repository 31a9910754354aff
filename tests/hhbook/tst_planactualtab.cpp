#include "HhbookFixture.h"

#include "hhbook/PlanActualTab.h"
#include "support/RecordingDocumentOpener.h"
#include "ui/Printout.h"
#include "ui/ScriptedDialogs.h"

#include <QApplication>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

class TestPlanActualTab : public QObject
{
    Q_OBJECT

    std::unique_ptr<HhbookFixture> m_f;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    RecordingDocumentOpener m_opener;

    // Row of a category's kind (0 planned, 1 actual, 2 difference), column of a month (1 …).
    static int row(int category, int kind) { return category * 3 + kind; }
    static int column(int month) { return 1 + month; }

private slots:
    void init()
    {
        m_f = std::make_unique<HhbookFixture>();
        m_dialogs = std::make_unique<ScriptedDialogs>();
        Printout::installOpener(&m_opener);
        m_opener.opened.clear();
        m_f->dm.db.exec("insert into budget (BudTitel, User_id) values ('Plan Familie Beispiel', 1)");
        m_f->dm.db.exec("update budget set Eksum01 = 2000, Wksum01 = 600, Lksum01 = 400, Lksum02 = 400");
        const int book = m_f->addBook("Haushaltsbuch von Familie Beispiel");
        m_f->addBooking(book, QDate(2024, 1, 1), "Einkommen", "Konto", 2100);
        m_f->addBooking(book, QDate(2024, 1, 3), "Wohnkosten", "Konto", 600);
        m_f->addBooking(book, QDate(2024, 1, 9), "Lebenshaltung", "Bar", 480);
        m_f->addBooking(book, QDate(2024, 2, 9), "Tanken", "Bar", 50);
        m_f->enter();
    }
    void cleanup()
    {
        Printout::installOpener(nullptr);
        m_dialogs.reset();
        m_f.reset();
    }

    // Planned, actual and the difference per month and year; spending more than 10 % over
    // plan in red; the chart's bars are the year's totals.
    void showsPlanAgainstActual()
    {
        PlanActualTab tab(m_f->dm);
        tab.show();
        auto *plans = tab.findChild<QComboBox *>("hhcbSollIstPlan");
        QCOMPARE(plans->currentText(), QStringLiteral("Plan Familie Beispiel"));
        tab.findChild<QSpinBox *>("hhspSollIstJahr")->setValue(2024);
        auto *table = tab.findChild<QTableWidget *>("twSollIst");
        QCOMPARE(table->rowCount(), 24);
        QCOMPARE(table->item(row(5, 0), 0)->text(), QStringLiteral("Lebenshaltung"));
        QCOMPARE(table->item(row(5, 0), column(1))->text(), QStringLiteral("400,00\u00A0€"));
        QCOMPARE(table->item(row(5, 1), column(1))->text(), QStringLiteral("480,00\u00A0€"));
        QCOMPARE(table->item(row(5, 2), column(1))->text(), QStringLiteral("80,00\u00A0€"));
        QCOMPARE(table->item(row(5, 1), column(1))->background().color(), QColor(255, 0, 0));
        QCOMPARE(table->item(row(5, 1), column(2))->background().style(), Qt::NoBrush);   // nothing spent
        QCOMPARE(table->item(row(1, 1), column(1))->background().style(), Qt::NoBrush);   // as planned
        QCOMPARE(table->item(row(0, 1), column(1))->background().style(), Qt::NoBrush);   // income
        QCOMPARE(table->item(row(5, 1), 14)->text(), QStringLiteral("480,00\u00A0€"));
        QCOMPARE(table->item(row(5, 2), 14)->text(), QStringLiteral("-320,00\u00A0€"));
        QCOMPARE(tab.findChild<QLabel *>("hhlbSollIstStand")->text(), QStringLiteral("Ist: Buchungen bis 31.12.2024."));

        auto *chart = tab.findChild<QChartView *>("hhchartSollIst")->chart();
        auto *series = qobject_cast<QBarSeries *>(chart->series().first());
        QCOMPARE(series->barSets().size(), 2);
        QCOMPARE(series->barSets().at(0)->at(5), 800.0);
        QCOMPARE(series->barSets().at(1)->at(5), 480.0);

        // The adviser counts "Tanken" as transport through the mapping window.
        QTimer::singleShot(0, [] {
            QDialog *d = nullptr;
            if (!QTest::qWaitFor([&] { return (d = qobject_cast<QDialog *>(QApplication::activeModalWidget())); }))
                return;
            auto *table = d->findChild<QTableWidget *>("twZuordnung");
            QCOMPARE(table->item(8, 0)->text(), QStringLiteral("Tanken"));
            qobject_cast<QComboBox *>(table->cellWidget(8, 1))->setCurrentIndex(4);
            d->findChild<QPushButton *>("butOk")->click();
        });
        tab.findChild<QPushButton *>("hhbutSollIstZuordnung")->click();
        QCOMPARE(table->item(row(3, 1), column(2))->text(), QStringLiteral("50,00\u00A0€"));
        QCOMPARE(table->item(row(3, 1), column(2))->background().color(), QColor(255, 0, 0));
        QCOMPARE(m_f->scalar("select Kategorie from sollistzuordnung where Rubrik = 'Tanken'").toString(), QStringLiteral("Vk"));
    }

    void printing()
    {
        QTemporaryDir out;
        m_f->dm.db.exec(QStringLiteral("update firma set FReportIn = :in, FReportOut = :out"),
                        {{"in", QStringLiteral(FINORRA_SOURCE "/resources/Reportvorlagen/")}, {"out", out.path() + '/'}});
        PlanActualTab tab(m_f->dm);
        tab.show();
        tab.findChild<QSpinBox *>("hhspSollIstJahr")->setValue(2024);
        tab.findChild<QPushButton *>("hhbutSollIstDrucken")->click();
        QCOMPARE(m_dialogs->texts(), QStringList());
        QCOMPARE(m_opener.opened, QStringList{out.filePath("sbSollIst.rtf")});
        QFile f(out.filePath("sbSollIst.rtf"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray rtf = f.readAll();
        if (qEnvironmentVariableIsSet("FINORRA_KEEP_PRINTOUT"))
            QFile::copy(f.fileName(), qEnvironmentVariable("FINORRA_KEEP_PRINTOUT"));
        for (const char *seen : {"Soll und Ist", "Plan Familie Beispiel", "Lebenshaltung", "480,00", "\\'fcber Plan",
                                 "Jahr 2024", "Ist: Buchungen bis 31.12.2024."})
            QVERIFY2(rtf.contains(seen), seen);
        QVERIFY(!rtf.contains("Verkehrskosten"));   // neither planned nor booked

        // Without a plan there is nothing to compare with.
        m_f->dm.db.exec("delete from budget");
        tab.hide();
        tab.show();
        tab.findChild<QPushButton *>("hhbutSollIstDrucken")->click();
        QCOMPARE(m_dialogs->texts(), QStringList{"Für Soll/Ist werden ein Haushaltsbuch und ein Haushaltsplan gebraucht."});
        QCOMPARE(m_opener.opened.size(), 1);
    }
};

QTEST_MAIN(TestPlanActualTab)
#include "tst_planactualtab.moc"
