#include "support/TempDatabase.h"

#include "data/DataModules.h"
#include "ui/Printout.h"

#include <QtTest>

// A printout is written into the output folder whatever the user's short name or the
// document's name says: a stored name from before names were checked must not lead out.
class TestPrintoutPaths : public QObject
{
    Q_OBJECT

private slots:
    void outputStaysInTheOutputFolder_data()
    {
        QTest::addColumn<QString>("shortName");
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "SB" << "Terminliste.rtf" << "sbTerminliste.rtf";
        QTest::newRow("user with parent folder") << "../x" << "Terminliste.rtf" << "__xTerminliste.rtf";
        QTest::newRow("user with backslash") << "a\\b" << "Kontaktliste.rtf" << "a_bKontaktliste.rtf";
        QTest::newRow("document with folder") << "sb" << "../../etc/brief.rtf" << "sbbrief.rtf";
    }

    void outputStaysInTheOutputFolder()
    {
        QFETCH(QString, shortName);
        QFETCH(QString, document);
        QFETCH(QString, expected);
        TempDatabase tmp;
        QTemporaryDir out;
        DataModules dm;
        tmp.openIn(dm.db);
        dm.db.exec("update firma set FReportOut = :out", {{"out", out.path() + '/'}});
        dm.db.exec("update benutzer set SbKurz = :k", {{"k", shortName}});
        QVERIFY(dm.dmMP->lookupUser(shortName));
        const QString file = Printout::outputFile(dm, document);
        QCOMPARE(file, out.filePath(expected));
        QCOMPARE(QFileInfo(file).absolutePath(), QFileInfo(out.path()).absoluteFilePath());
    }
};

QTEST_MAIN(TestPrintoutPaths)
#include "tst_printoutpaths.moc"
