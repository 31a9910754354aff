// Renders every case under cases/ with the rtfreport tool and compares the result.
// A case folder holds template.rtf, an optional "args" file (one option per line) with
// its CSV files, and either expected.rtf or expected-error.txt (the last line the tool
// writes to standard error); expected-warnings.txt holds what a successful run warns about.

#include "CsvDataSetReader.h"
#include "core/AppError.h"

#include <QtTest>

namespace {

QString sourceDir() { return qEnvironmentVariable("FINORRA_SOURCE_DIR"); }
QString tool() { return qEnvironmentVariable("FINORRA_BIN_DIR") + QStringLiteral("/rtfreport"); }

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList caseDirs()
{
    const QDir cases(sourceDir() + QStringLiteral("/tests/report/cases"));
    QStringList out;
    for (const QString &name : cases.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        out << cases.filePath(name);
    return out;
}

struct Result
{
    int exitCode = -1;
    QByteArray errors;
};

Result render(const QString &caseDir, const QString &output)
{
    QStringList args = {QStringLiteral("template.rtf"), output};
    // One option per line: "--var NAME=VALUE" or "--data NAME=FILE.csv".
    for (const QString &line : QString::fromUtf8(readFile(caseDir + QStringLiteral("/args"))).split(u'\n')) {
        if (line.trimmed().isEmpty())
            continue;
        const qsizetype blank = line.indexOf(u' ');
        if (line.startsWith(u"--") && blank > 0)
            args << line.left(blank) << line.mid(blank + 1);
        else
            args << line;
    }
    QProcess p;
    p.setWorkingDirectory(caseDir);
    p.start(tool(), args);
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardError()};
}

} // namespace

class TestRtfReportGolden : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cases_data();
    void cases();
    void usageErrors_data();
    void usageErrors();
    void outputsOpenInLibreOffice();
    void libreOfficeReadsFormattingAndPictures();
    void unknownFieldsWarn();
    void csvValues();
    void csvErrors_data();
    void csvErrors();

private:
    QTemporaryDir m_out;
};

void TestRtfReportGolden::initTestCase()
{
    QVERIFY2(QFileInfo(tool()).isExecutable(), qPrintable(tool()));
    QVERIFY(!caseDirs().isEmpty());
}

void TestRtfReportGolden::cases_data()
{
    QTest::addColumn<QString>("dir");
    for (const QString &dir : caseDirs())
        QTest::newRow(qPrintable(QFileInfo(dir).fileName())) << dir;
}

void TestRtfReportGolden::cases()
{
    QFETCH(QString, dir);
    const QString output = m_out.filePath(QFileInfo(dir).fileName() + QStringLiteral(".rtf"));
    const Result r = render(dir, output);
    const QString expectedError = dir + QStringLiteral("/expected-error.txt");
    if (QFile::exists(expectedError)) {
        QCOMPARE(r.exitCode, 1);
        const QList<QByteArray> lines = r.errors.trimmed().split('\n');
        QCOMPARE(QString::fromUtf8(lines.last()), QString::fromUtf8(readFile(expectedError)).trimmed());
        QVERIFY(!QFile::exists(output));
        return;
    }
    QCOMPARE(QString::fromUtf8(r.errors), QString::fromUtf8(readFile(dir + QStringLiteral("/expected-warnings.txt"))));
    QCOMPARE(r.exitCode, 0);
    const QByteArray actual = readFile(output);
    const QByteArray expected = readFile(dir + QStringLiteral("/expected.rtf"));
    // A differing result is kept in the temporary folder for a diff, never in the sources.
    const QString kept = QDir::temp().filePath(QStringLiteral("finorra-golden-%1-actual.rtf").arg(QFileInfo(dir).fileName()));
    if (actual != expected) {
        QFile keep(kept);
        if (keep.open(QIODevice::WriteOnly))
            keep.write(actual);
    }
    QVERIFY2(actual == expected, qPrintable(QStringLiteral("%1 differs from expected.rtf (kept as %2)").arg(output, kept)));
    for (char c : actual)
        QVERIFY2(static_cast<unsigned char>(c) < 128 || actual.contains("\\bin"), "output is 7-bit RTF");
}

void TestRtfReportGolden::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("lastLine");
    QTest::newRow("nothing") << QStringList() << "Es werden genau eine Vorlage und eine Ausgabedatei erwartet.";
    QTest::newRow("var without value") << QStringList({"a.rtf", "b.rtf", "--var"}) << "Nach --var wird NAME=WERT erwartet.";
    QTest::newRow("data without name") << QStringList({"a.rtf", "b.rtf", "--data", "=x.csv"}) << "Nach --data wird NAME=WERT erwartet.";
    QTest::newRow("unknown option") << QStringList({"a.rtf", "b.rtf", "--open"}) << "Unbekannte Option: --open";
    QTest::newRow("missing template") << QStringList({"/nicht/da.rtf", "b.rtf"}) << "Can't read file /nicht/da.rtf";
    QTest::newRow("missing csv") << QStringList({"a.rtf", "b.rtf", "--data", "A=/nicht/da.csv"})
                                 << "Die Datei /nicht/da.csv kann nicht gelesen werden.";
}

void TestRtfReportGolden::usageErrors()
{
    QFETCH(QStringList, args);
    QFETCH(QString, lastLine);
    QProcess p;
    p.setWorkingDirectory(m_out.path());
    p.start(tool(), args);
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 1);
    QCOMPARE(QString::fromUtf8(p.readAllStandardError().trimmed().split('\n').last()), lastLine);
}

void TestRtfReportGolden::outputsOpenInLibreOffice()
{
    const QString office = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    if (office.isEmpty())
        QSKIP("LibreOffice is not installed");
    QStringList outputs;
    for (const QString &dir : caseDirs()) {
        if (QFile::exists(dir + QStringLiteral("/expected.rtf")))
            outputs << dir + QStringLiteral("/expected.rtf");
    }
    QTemporaryDir pdf;
    QTemporaryDir profile;
    for (const QString &rtf : outputs) {
        const QString name = QFileInfo(rtf).dir().dirName();
        const QString copy = pdf.filePath(name + QStringLiteral(".rtf"));
        QVERIFY(QFile::copy(rtf, copy));
        QProcess p;
        p.start(office, {QStringLiteral("-env:UserInstallation=file://") + profile.path(), QStringLiteral("--headless"),
                         QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("--outdir"), pdf.path(), copy});
        QVERIFY(p.waitForFinished(120000));
        const QFileInfo result(pdf.filePath(name + QStringLiteral(".pdf")));
        QVERIFY2(result.exists() && result.size() > 500, qPrintable(name + QStringLiteral(" did not convert to PDF")));

        // Where the case says what a reader sees, the word processor must read exactly that:
        // umlauts, currency signs and the rows of scans.
        const QString seen = QFileInfo(rtf).dir().filePath(QStringLiteral("expected-text.txt"));
        if (!QFile::exists(seen))
            continue;
        QProcess text;
        text.start(office, {QStringLiteral("-env:UserInstallation=file://") + profile.path(), QStringLiteral("--headless"),
                            QStringLiteral("--convert-to"), QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("--outdir"),
                            pdf.path(), copy});
        QVERIFY(text.waitForFinished(120000));
        const QStringList lines = QString::fromUtf8(readFile(pdf.filePath(name + QStringLiteral(".txt")))).split(u'\n');
        QStringList read;
        for (QString line : lines) {
            line.remove(QChar(0xFEFF));
            line.remove(u'\r');
            if (!line.trimmed().isEmpty())
                read << line;
        }
        const QStringList expected = QString::fromUtf8(readFile(seen)).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(read, expected);
    }
}

// Converts `rtf` with LibreOffice into `format` and returns the result ("" when it failed).
QByteArray convertedByLibreOffice(const QString &office, const QString &rtf, const QString &format, const QString &suffix)
{
    QTemporaryDir out, profile;
    QProcess p;
    p.start(office, {QStringLiteral("-env:UserInstallation=file://") + profile.path(), QStringLiteral("--headless"),
                     QStringLiteral("--convert-to"), format, QStringLiteral("--outdir"), out.path(), rtf});
    if (!p.waitForFinished(120000))
        return {};
    return readFile(out.filePath(QFileInfo(rtf).completeBaseName() + suffix));
}

void TestRtfReportGolden::libreOfficeReadsFormattingAndPictures()
{
    const QString office = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    if (office.isEmpty())
        QSKIP("LibreOffice is not installed");
    const QString cases = sourceDir() + QStringLiteral("/tests/report/cases/");

    // Templates written by LibreOffice, where a false condition skips the start of a bold
    // (or italic) run: the text after the block keeps the run's formatting.
    const QString html = QString::fromUtf8(convertedByLibreOffice(office, cases + QStringLiteral("libreoffice-skipped-branch/expected.rtf"),
                                                                  QStringLiteral("html"), QStringLiteral(".html")));
    QString plain = html;
    plain.remove(QRegularExpression(QStringLiteral("<(?!/?[bi]>)[^>]*>")));
    QVERIFY2(QRegularExpression(QStringLiteral("<b>[^<]*bleibt fett</b>")).match(plain).hasMatch(), qPrintable(plain));
    QVERIFY2(QRegularExpression(QStringLiteral("<i>[^<]*bleibt\\s+kursiv</i>")).match(plain).hasMatch(), qPrintable(plain));

    // A picture of the template after one that FIMG inserted: each shows as itself (with
    // \binN pictures LibreOffice showed the first one twice).
    const QByteArray flat = convertedByLibreOffice(office, cases + QStringLiteral("libreoffice-pictures/expected.rtf"),
                                                   QStringLiteral("fodt"), QStringLiteral(".fodt"));
    QStringList seen;
    const QRegularExpression data(QStringLiteral("<office:binary-data>([^<]*)</office:binary-data>"));
    for (auto it = data.globalMatch(QString::fromUtf8(flat)); it.hasNext();) {
        const QByteArray bytes = QByteArray::fromBase64(it.next().captured(1).remove(QRegularExpression(QStringLiteral("\\s"))).toLatin1());
        seen << QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
    }
    QStringList expected;
    for (const char *png : {"stempel.png", "unterschrift.png"})
        expected << QString::fromLatin1(QCryptographicHash::hash(readFile(cases + QStringLiteral("libreoffice-pictures/") + QLatin1String(png)),
                                                                 QCryptographicHash::Md5)
                                            .toHex());
    QCOMPARE(seen, expected);
}

void TestRtfReportGolden::unknownFieldsWarn()
{
    // A typo in a field name is no error (the field stays as written), but the author sees it.
    const QString tpl = m_out.filePath(QStringLiteral("tippfehler.rtf"));
    QFile f(tpl);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("{\\rtf1\\ansi\n\\\\ekAktenzeichn\\\\ \\\\ekName\\\\\\par\n\\\\ekAktenzeichn\\\\ \\\\ekBetreff\\\\}");
    f.close();
    QProcess p;
    p.start(tool(), {tpl, m_out.filePath(QStringLiteral("tippfehler-aus.rtf")), QStringLiteral("--var"), QStringLiteral("ekName=Muster")});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(p.readAllStandardError()),
             QStringLiteral("Warnung: Zeile 2: unbekanntes Feld „ekAktenzeichn“ bleibt unverändert.\n"
                            "Warnung: Zeile 3: unbekanntes Feld „ekBetreff“ bleibt unverändert.\n"));
    QVERIFY(readFile(m_out.filePath(QStringLiteral("tippfehler-aus.rtf"))).contains("\\\\ekAktenzeichn\\\\ \\lang0 Muster"));
}

void TestRtfReportGolden::csvValues()
{
    const QByteArray csv = "\xEF\xBB\xBFtext,betrag:money,wann:date,um:time,ok:boolean,zahl:number\r\n"
                           "\"zwei\nZeilen, \"\"zitiert\"\"\",1234.56,2024-02-29,23:59:58,TRUE,-1e3\r\n"
                           "  Blanks bleiben  ,,,,0,\n";
    const auto set = CsvDataSetReader::parse(csv, QStringLiteral("qrX"), QStringLiteral("x.csv"));
    QCOMPARE(set->fieldCount(), 6);
    QCOMPARE(set->fieldName(1), QStringLiteral("betrag"));
    QCOMPARE(set->fieldKind(1), ReportDataSet::FieldKind::Number);
    QCOMPARE(set->fieldKind(3), ReportDataSet::FieldKind::Time);
    QCOMPARE(set->fieldValue(0).toString(), QStringLiteral("zwei\nZeilen, \"zitiert\""));
    QCOMPARE(set->fieldValue(1).toDouble(), 1234.56);
    QCOMPARE(set->fieldValue(2).toDate(), QDate(2024, 2, 29));
    QCOMPARE(set->fieldValue(3).toTime(), QTime(23, 59, 58));
    QCOMPARE(set->fieldValue(4).toBool(), true);
    QCOMPARE(set->fieldValue(5).toDouble(), -1000.0);
    set->next();
    QCOMPARE(set->fieldValue(0).toString(), QStringLiteral("  Blanks bleiben  "));
    QVERIFY(set->fieldValue(1).isNull());
    QCOMPARE(set->fieldValue(4).toBool(), false);
    QVERIFY(set->fieldValue(5).isNull());
}

void TestRtfReportGolden::csvErrors_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << QByteArray("") << "x.csv: Die erste Zeile mit den Spaltennamen fehlt.";
    QTest::newRow("unnamed column") << QByteArray("a,:number\n") << "x.csv, Zeile 1: Eine Spalte hat keinen Namen.";
    QTest::newRow("too few values") << QByteArray("a,b\n1\n") << "x.csv, Zeile 2: 1 Werte statt 2.";
    QTest::newRow("open quote") << QByteArray("a\n\"offen\n") << QStringLiteral("x.csv, Zeile 2: Ein Anführungszeichen wird nicht geschlossen.");
    QTest::newRow("German number") << QByteArray("a:number\n\"1,5\"\n")
                                   << QStringLiteral("x.csv, Zeile 2, Spalte „a“: '1,5' ist keine gültige Zahl (erwartet wie 1234.56).");
    QTest::newRow("German date") << QByteArray("a:date\n1.3.2024\n")
                                 << QStringLiteral("x.csv, Zeile 2, Spalte „a“: '1.3.2024' ist kein gültiges Datum (erwartet wie 2024-03-31).");
    QTest::newRow("time") << QByteArray("a:time\n25:00:00\n")
                          << QStringLiteral("x.csv, Zeile 2, Spalte „a“: '25:00:00' ist keine gültige Uhrzeit (erwartet wie 14:30:00).");
    QTest::newRow("boolean") << QByteArray("a:boolean\nja\n")
                             << QStringLiteral("x.csv, Zeile 2, Spalte „a“: 'ja' ist kein Wahrheitswert (erwartet 0, 1, true oder false).");
}

void TestRtfReportGolden::csvErrors()
{
    QFETCH(QByteArray, csv);
    QFETCH(QString, message);
    try {
        CsvDataSetReader::parse(csv, QStringLiteral("A"), QStringLiteral("x.csv"));
        QFAIL("the file must be refused");
    } catch (const AppError &e) {
        QCOMPARE(e.message(), message);
    }
}

QTEST_GUILESS_MAIN(TestRtfReportGolden)
#include "tst_rtfreport_golden.moc"
