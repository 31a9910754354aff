#include "support/TempDatabase.h"

#include "data/DataSet.h"
#include "data/ReportDataSetAdapter.h"
#include "report/TRtfReport.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

// The report engine walks real queries through the adapter: master and detail, calculated
// fields, and lists detached while it runs.
class TestReportAdapter : public QObject
{
    Q_OBJECT
private slots:
    void reportWalksMasterAndDetail()
    {
        TempDatabase tmp;
        auto db = tmp.connect();
        db->exec("insert into budget (BudTitel, User_id) values ('A', 1), ('B', 1)");
        db->exec("insert into bud_einkommen (Bud_id, Ek_bez, Ek_Betrag) values (1, 'Lohn', 1234.5), (1, 'Kindergeld', 250), (2, 'Rente', 900)");

        DataSet plans(db.get(), "qrBudget");
        plans.setSql("select * from budget where user_id = :ben_id ");
        plans.setParam("ben_id", 1);
        DataSet items(db.get(), "qrBudEinkommen");
        items.setSql("select * from bud_einkommen where bud_id = :bud_id");
        items.setMaster(&plans);
        items.addCalculatedField("Monat", FieldType::Money);
        items.onCalcFields = [](DataSet &d) { d.setValue("Monat", d.asFloat("Ek_Betrag") / 12); };
        plans.open();
        items.open();

        QSignalSpy enabled(&items, &DataSet::controlsEnabled);
        ReportDataSetAdapter a(&plans), b(&items);
        QFile templ(tmp.dir() + "/Liste.rtf");
        QVERIFY(templ.open(QIODevice::WriteOnly));
        templ.write("{\\rtf1\\ansi \\\\SCAN(qrBudget)\\\\\\\\qrBudget.BudTitel\\\\:"
                    "\\\\SCAN(qrBudEinkommen)\\\\ \\\\qrBudEinkommen.Ek_bez\\\\=\\\\FCUR(qrBudEinkommen.Monat)\\\\\\\\ENDSCAN\\\\;"
                    "\\\\ENDSCAN\\\\}");
        templ.close();
        TRtfReport report;
        report.setInFile(templ.fileName());
        report.setOutFile(tmp.dir() + "/sbListe.rtf");
        report.RunReport({&a, &b});
        QFile out(report.OutFile());
        QVERIFY(out.open(QIODevice::ReadOnly));
        const QByteArray rtf = out.readAll();
        QVERIFY2(rtf.contains("A:") && rtf.contains("B:"), rtf.constData());
        QVERIFY2(rtf.contains("Lohn") && rtf.contains("Kindergeld") && rtf.contains("Rente"), rtf.constData());
        QVERIFY2(rtf.contains("102,88"), rtf.constData());   // 1.234,50 / 12
        // The lists were detached for the run and follow the set again afterwards.
        QCOMPARE(enabled.count(), 1);
        QVERIFY(!items.controlsDisabled());
    }

    // Lines typed into a memo stay lines in the document.
    void memoLinesBecomeParagraphs()
    {
        TempDatabase tmp;
        auto db = tmp.connect();
        db->exec("insert into tbau (TKurz, TText) values ('A', :t)", {{"t", QStringLiteral("Zeile 1\nZeile 2\r\nZeile 3")}});
        DataSet modules(db.get(), "qrTbau");
        modules.setSql("select * from tbau");
        modules.open();
        ReportDataSetAdapter a(&modules);
        QFile templ(tmp.dir() + "/Text.rtf");
        QVERIFY(templ.open(QIODevice::WriteOnly));
        templ.write("{\\rtf1\\ansi \\\\qrTbau.TText\\\\}");
        templ.close();
        TRtfReport report;
        report.setInFile(templ.fileName());
        report.setOutFile(tmp.dir() + "/sbText.rtf");
        report.RunReport({&a});
        QFile out(report.OutFile());
        QVERIFY(out.open(QIODevice::ReadOnly));
        const QByteArray rtf = out.readAll();
        QVERIFY2(rtf.contains("Zeile 1\\par \nZeile 2\\par \nZeile 3"), rtf.constData());
    }
};

QTEST_GUILESS_MAIN(TestReportAdapter)
#include "tst_reportadapter.moc"
