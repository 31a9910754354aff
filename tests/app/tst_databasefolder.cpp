#include "app/DatabaseFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TestDatabaseFolder : public QObject
{
    Q_OBJECT

private slots:
    void besideAWritableProgram()
    {
        QTemporaryDir program, data;
        const DatabaseFolder::Choice c = DatabaseFolder::choose(program.path(), data.filePath("Finorra"));
        QCOMPARE(c.folder, program.path() + '/');
        QVERIFY(!c.fellBack);
        QCOMPARE(DatabaseFolder::reportOutput(c, program.path() + '/'), program.path() + "/Reportausgabe/");
        // The probe leaves nothing behind, and no data folder is made for nothing.
        QCOMPARE(QDir(program.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
        QVERIFY(!QFile::exists(data.filePath("Finorra")));
    }

    void userDataFolderWhereTheProgramsFolderTakesNoFiles()
    {
        // /proc takes no new files even from root, as an installed program's folder takes
        // none from its users.
        if (!QFileInfo("/proc/self").exists())
            QSKIP("Ohne /proc fehlt hier ein Ordner, in den niemand schreiben kann");
        QTemporaryDir data;
        const DatabaseFolder::Choice c = DatabaseFolder::choose("/proc/", data.filePath("Finorra"));
        QVERIFY(c.fellBack);
        QCOMPARE(c.folder, data.filePath("Finorra") + '/');
        QVERIFY(QFileInfo(c.folder).isDir());
        QCOMPARE(DatabaseFolder::reportOutput(c, "/proc/"), data.filePath("Finorra/Reportausgabe/"));
        QVERIFY(QFileInfo(data.filePath("Finorra/Reportausgabe")).isDir());
        QVERIFY(DatabaseFolder::fallbackNote("/proc/").startsWith("Der Programmordner /proc/ ist schreibgeschützt"));
    }

    void aMissingProgramFolderFallsBackToo()
    {
        QTemporaryDir data;
        const DatabaseFolder::Choice c = DatabaseFolder::choose("/nicht/vorhanden/", data.path());
        QVERIFY(c.fellBack);
        QCOMPARE(c.folder, data.path() + '/');
    }
};

QTEST_MAIN(TestDatabaseFolder)
#include "tst_databasefolder.moc"
