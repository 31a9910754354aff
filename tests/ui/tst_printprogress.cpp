#include "core/AppError.h"
#include "report/ReportMemoryDataSet.h"
#include "report/TRtfReport.h"
#include "ui/Guard.h"
#include "ui/PrintProgress.h"
#include "ui/ScriptedDialogs.h"

#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

// A long printout shows that it is alive and can be cancelled; a cancelled one leaves no
// document and no message.
class TestPrintProgress : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }

    std::unique_ptr<ReportMemoryDataSet> rows(int count)
    {
        auto set = std::make_unique<ReportMemoryDataSet>(QStringLiteral("qrKontakte"));
        set->addField(QStringLiteral("name"), ReportDataSet::FieldKind::Text);
        for (int i = 0; i < count; ++i)
            set->addRow({QStringLiteral("Kontakt %1").arg(i)});
        return set;
    }

    void writeTemplate()
    {
        QFile f(path("Liste.rtf"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("{\\rtf1\\ansi \\\\SCAN(A)\\\\Zeile\\par \\\\ENDSCAN\\\\}");
    }

private slots:
    void cancelledRunLeavesNothing()
    {
        writeTemplate();
        ScriptedDialogs dialogs;
        PrintProgress progress(0);
        auto set = rows(5000);
        TRtfReport report;
        report.setProgress(&progress);
        report.setInFile(path("Liste.rtf"));
        report.setOutFile(path("out.rtf"));
        int shownWithTotal = -1;
        // Pressed as soon as the window is there and lets events through.
        QTimer::singleShot(0, [&] {
            QVERIFY(progress.window());
            shownWithTotal = progress.window()->maximum();
            progress.window()->findChild<QPushButton *>()->click();
        });
        QVERIFY(!guarded([&] { report.RunReport({set.get()}); }));
        QCOMPARE(shownWithTotal, 5000);
        QVERIFY(!QFile::exists(path("out.rtf")));
        QVERIFY(dialogs.log().isEmpty());
        QVERIFY(!progress.window());
    }

    void shortRunShowsNoWindow()
    {
        writeTemplate();
        PrintProgress progress(60 * 60 * 1000);
        auto set = rows(200);
        TRtfReport report;
        report.setProgress(&progress);
        report.setInFile(path("Liste.rtf"));
        report.setOutFile(path("out.rtf"));
        report.RunReport({set.get()});
        QVERIFY(!progress.window());
        QVERIFY(QFile::exists(path("out.rtf")));
    }
};

QTEST_MAIN(TestPrintProgress)
#include "tst_printprogress.moc"
