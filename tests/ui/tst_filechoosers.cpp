// The file and directory choosers beside an open database: SQLite's locks are POSIX record
// locks of the whole process, so a chooser that opened Finorra.abs, its -wal or -shm just to
// find a type or an icon would drop them, and the next program to close the file would take
// the WAL away from under this one.
#include "support/TempDatabase.h"

#include "ui/QtDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

class TestFileChoosers : public QObject
{
    Q_OBJECT

    // Record locks this process holds on the given files, as the kernel lists them.
    static int locksHeld(const QStringList &paths)
    {
        QStringList ids;
        for (const QString &p : paths) {
            struct stat st {};
            if (::stat(QFile::encodeName(p).constData(), &st) == 0)
                ids << QStringLiteral(":%1").arg(st.st_ino);
        }
        QFile locks(QStringLiteral("/proc/locks"));
        if (!locks.open(QIODevice::ReadOnly))
            return -1;
        const QString pid = QString::number(::getpid());
        int count = 0;
        for (const QByteArray &line : locks.readAll().split('\n')) {
            const QStringList f = QString::fromLatin1(line).split(u' ', Qt::SkipEmptyParts);
            if (f.size() >= 6 && f.at(1) == QLatin1String("POSIX") && f.at(4) == pid)
                for (const QString &id : ids)
                    if (f.at(5).endsWith(id))
                        ++count;
        }
        return count;
    }

    // Runs the chooser on `dir`, waits until its list of the folder is complete, and
    // leaves it with Escape.
    static void browseAndCancel(const std::function<QString()> &chooser, const QString &dir, const QString &lookFor)
    {
        bool listed = false;
        QTimer::singleShot(0, [&] {
            QFileDialog *dialog = nullptr;
            if (!QTest::qWaitFor([&] { return (dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())); }))
                return;
            // The type column is filled by the same pass that looks at every entry.
            if (auto *model = dialog->findChild<QFileSystemModel *>())
                listed = QTest::qWaitFor(
                    [&] { return !model->type(model->index(QDir(dir).filePath(lookFor))).isEmpty(); }, 10000);
            QTest::qWait(200);
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QCOMPARE(chooser(), QString());
        QVERIFY(listed);
    }

private slots:
    void choosersLeaveTheDatabaseLocksAlone_data()
    {
        QTest::addColumn<QString>("chooser");
        QTest::newRow("file chooser") << "file";
        QTest::newRow("directory chooser") << "directory";
    }
    void choosersLeaveTheDatabaseLocksAlone()
    {
        QFETCH(QString, chooser);
        TempDatabase tmp;
        QVERIFY(QDir(tmp.dir()).mkdir("Reportvorlagen"));
        auto db = tmp.connect();
        db->exec("insert into tbau (TKurz) values ('eigen')");
        const QStringList files = {tmp.filePath(), tmp.filePath() + "-wal", tmp.filePath() + "-shm"};
        for (const QString &f : files)
            QVERIFY2(QFile::exists(f), qPrintable(f));
        const int before = locksHeld(files);
        QVERIFY(before > 0);

        QtDialogs dialogs;
        if (chooser == "file")
            browseAndCancel([&] { return dialogs.chooseFile("Vorlage", tmp.dir(), "Alle Dateien (*)"); }, tmp.dir(),
                            "Finorra.abs-shm");
        else
            browseAndCancel([&] { return dialogs.chooseDirectory("Vorlagen", tmp.dir()); }, tmp.dir(),
                            "Reportvorlagen");
        QCOMPARE(locksHeld(files), before);

        // A second program comes and goes; this one still sees its rows and shares the WAL.
        QProcess other;
        other.start(CONCURRENT_WRITER, {tmp.dir(), "3", "andere"});
        QVERIFY(other.waitForFinished(30000));
        QCOMPARE(other.exitCode(), 0);
        QVERIFY(QFile::exists(tmp.filePath() + "-wal"));
        QCOMPARE(db->scalar("select count(*) from hhbuch where RubText like 'andere-%'").toInt(), 3);
        db->exec("insert into tbau (TKurz) values ('danach')");
        db.reset();
        auto again = tmp.connect();
        QCOMPARE(again->scalar("select count(*) from tbau").toInt(), 2);
        QCOMPARE(again->scalar("select count(*) from hhbuch").toInt(), 3);
    }
};

QTEST_MAIN(TestFileChoosers)
#include "tst_filechoosers.moc"
