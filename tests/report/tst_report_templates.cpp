#include "ReportTestSupport.h"

#include "core/AppError.h"
#include "report/BraceBalance.h"
#include "core/GermanFormat.h"
#include "report/ReportMemoryDataSet.h"
#include "report/ReportNumberText.h"

#include <QtTest>

#include <sys/stat.h>

using namespace ReportTestSupport;

namespace {

const QByteArray kHead = "{\\rtf1\\ansi ";

// The output without the document's opening and closing.
QByteArray body(const QByteArray &out)
{
    if (!out.startsWith(kHead) || !out.endsWith('}'))
        return "<not a document: " + out + ">";
    return out.mid(kHead.size(), out.size() - kHead.size() - 1);
}

QByteArray run(const QByteArray &templateBody, const QStringList &variables = {},
               const std::vector<ReportDataSet *> &sets = {})
{
    return body(render(document(templateBody), variables, sets));
}

int depthBalance(const QByteArray &rtf)
{
    const BraceBalance b = BraceBalance::of(rtf);
    return b.closes == 0 && b.opens == 0 ? 0 : 1;
}

// A minimal PNG: signature and header with 2 × 3 pixels.
QByteArray tinyPng()
{
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    png += QByteArray("\x00\x00\x00\x0dIHDR", 8);
    png += QByteArray("\x00\x00\x00\x02\x00\x00\x00\x03\x08\x02\x00\x00\x00", 13);
    png += QByteArray(4, '\x00');
    return png;
}

} // namespace

class TestReportTemplates : public QObject
{
    Q_OBJECT

private slots:
    void fields_data();
    void fields();
    void characters_data();
    void characters();
    void formats_data();
    void formats();
    void fastNumberTextMatchesGermanFormat();
    void clearZeroOption();
    void pictures();
    void picturesOnlyFromOrdinaryFiles();
    void scans_data();
    void scans();
    void scanLeavesDataSetOnLastRecord();
    void repeatedPartsStayBalanced();
    void conditions_data();
    void conditions();
    void skippedBranchKeepsTheFormattingItOpens_data();
    void skippedBranchKeepsTheFormattingItOpens();
    void compileRules_data();
    void compileRules();
    void nothingWrittenOnError();
    void endlessWhileIsStopped();
    void hostileTemplatesFailCleanly_data();
    void hostileTemplatesFailCleanly();
    void fieldsBeyondTheSharedOnesRunAlike_data();
    void fieldsBeyondTheSharedOnesRunAlike();
};

void TestReportTemplates::fields_data()
{
    QTest::addColumn<QByteArray>("tpl");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("plain") << QByteArray("a \\\\ekName\\\\ b") << QByteArray("a \\lang0 M\\'FCller b");
    QTest::newRow("hex delimiter") << QByteArray("\\'5cekName\\'5C") << QByteArray("\\lang0 M\\'FCller");
    QTest::newRow("formatting inside: codes after the value")
        << QByteArray("\\\\{\\b ek}Name\\\\ x") << QByteArray("\\lang0 M\\'FCller{\\b } x");
    QTest::newRow("control word keeps its blank")
        << QByteArray("\\\\ek\\i Name\\i0 \\\\x") << QByteArray("\\lang0 M\\'FCller\\i \\i0 x");
    QTest::newRow("word ended by a line break")
        << QByteArray("\\\\ek\\i\nName\\\\ x") << QByteArray("\\lang0 M\\'FCller\\i  x");
    QTest::newRow("blanks between letters") << QByteArray("\\\\ ek Na me \\\\") << QByteArray("\\lang0 M\\'FCller");
    QTest::newRow("brackets keep blanks") << QByteArray("\\\\[ek Vorname]\\\\") << QByteArray("\\lang0 Eva");
    QTest::newRow("case ignored") << QByteArray("\\\\EKNAME\\\\") << QByteArray("\\lang0 M\\'FCller");
    QTest::newRow("paragraph mark ends the search")
        << QByteArray("\\\\ek\\par Name\\\\") << QByteArray("\\\\ek\\par Name\\\\");
    QTest::newRow("pard is no mark") << QByteArray("\\\\ek\\pard Name\\\\") << QByteArray("\\lang0 M\\'FCller\\pard ");
    QTest::newRow("cell mark") << QByteArray("\\\\ek\\cell Name\\\\") << QByteArray("\\\\ek\\cell Name\\\\");
    QTest::newRow("field group ends the search")
        << QByteArray("\\\\ek{\\field{\\*\\fldinst x}}Name\\\\") << QByteArray("\\\\ek{\\field{\\*\\fldinst x}}Name\\\\");
    QTest::newRow("list text group is a code")
        << QByteArray("\\\\ek{\\*\\pn\\pnlvlblt{\\pntxtb x}}Name\\\\") << QByteArray("\\lang0 M\\'FCller{\\*\\pn\\pnlvlblt{\\pntxtb x}}");
    QTest::newRow("bookmark text is no content")
        << QByteArray("\\\\ek{\\*\\bkmkstart zz}Name\\\\") << QByteArray("\\lang0 M\\'FCller{\\*\\bkmkstart zz}");
    QTest::newRow("unicode escape in content")
        << QByteArray("\\\\[ek Vorname]\\\\ \\\\\\u228\\'e4rger\\\\") << QByteArray("\\lang0 Eva \\lang0 ja");
    QTest::newRow("unicode escape without fallback")
        << QByteArray("\\\\\\uc0\\u228 rger\\\\") << QByteArray("\\lang0 ja\\uc0 ");
    QTest::newRow("unsearched groups")
        << QByteArray("{\\info{\\title \\\\ekName\\\\}}{\\*\\pict \\\\ekName\\\\}")
        << QByteArray("{\\info{\\title \\\\ekName\\\\}}{\\*\\pict \\\\ekName\\\\}");
    QTest::newRow("font table charset replaced")
        << QByteArray("{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fcharset238 X;}}\\\\ekName\\\\")
        << QByteArray("{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fcharset0 X;}}\\lang0 M\\'FCller");
    QTest::newRow("empty field is text") << QByteArray("a\\\\\\\\b") << QByteArray("a\\\\\\\\b");
    QTest::newRow("visible backslash before a field")
        << QByteArray("\\\\\\\\ekName\\\\") << QByteArray("\\\\\\lang0 M\\'FCller");
    QTest::newRow("binary data is skipped")
        << QByteArray("{\\*\\x\\bin4 \\\\}{}\\\\ekName\\\\") << QByteArray("{\\*\\x\\bin4 \\\\}{}\\lang0 M\\'FCller");
    QTest::newRow("double quotes literal") << QByteArray("\\\\\\ldblquote a b\\rdblquote \\\\") << QByteArray("\\lang0 a b");
    QTest::newRow("typographic single quotes") << QByteArray("\\\\\\lquote a b\\rquote \\\\") << QByteArray("\\lang0 a b");
    QTest::newRow("guillemets") << QByteArray("\\\\\\'aba b\\'bb\\\\") << QByteArray("\\lang0 a b");
    QTest::newRow("German quotes") << QByteArray("\\\\\\'84a b\\'93\\\\") << QByteArray("\\lang0 a b");
    QTest::newRow("tilde quotes and escaped braces")
        << QByteArray("\\\\~\\{x\\}~\\\\") << QByteArray("\\lang0 \\{x\\}");
    QTest::newRow("blank escape") << QByteArray("\\\\'a\\~b'\\\\") << QByteArray("\\lang0 a b");
}

void TestReportTemplates::fields()
{
    QFETCH(QByteArray, tpl);
    QFETCH(QByteArray, expected);
    const QStringList vars = {QStringLiteral("ekName=Müller"), QStringLiteral("ek Vorname=Eva"), QStringLiteral("ärger=ja")};
    QCOMPARE(run(tpl, vars), expected);
}

void TestReportTemplates::characters_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("braces and backslash") << "a{b}c\\d" << QByteArray("a\\{b\\}c\\\\d");
    QTest::newRow("umlauts") << "äöüßÄ" << QByteArray("\\'E4\\'F6\\'FC\\'DF\\'C4");
    QTest::newRow("euro and quotes") << "€ „x“" << QByteArray("\\'80 \\'84x\\'93");
    QTest::newRow("outside the code page") << "Łódź" << QByteArray("\\u321?\\'F3d\\u378?");
    QTest::newRow("beyond 16 bits") << QString::fromUtf8("\xF0\x9F\x98\x80") << QByteArray("\\u-10179?\\u-8704?");
    QTest::newRow("tab, line, page") << QString("a\tb\x0b" "c\x0c" "d") << QByteArray("a\\tab b\\line c\\page d");
    QTest::newRow("CR LF") << "a\r\nb" << QByteArray("a\\par \nb");
    QTest::newRow("lone LF is a line break") << "a\nb" << QByteArray("a\\par b");
}

void TestReportTemplates::characters()
{
    QFETCH(QString, value);
    QFETCH(QByteArray, written);
    QCOMPARE(run("\\\\v\\\\", {QStringLiteral("v=") + value}), QByteArray("\\lang0 ") + written);
}

void TestReportTemplates::formats_data()
{
    QTest::addColumn<QByteArray>("tpl");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("FFIX default") << QByteArray("FFIX(n)") << QByteArray("1234,57");
    QTest::newRow("FFIX digits") << QByteArray("FFIX(n,3)") << QByteArray("1234,568");
    QTest::newRow("FNUM") << QByteArray("FNUM(n)") << QByteArray("1.234,57");
    QTest::newRow("FNUM precision and digits") << QByteArray("FNUM(n, 10:1)") << QByteArray("1.234,6");
    QTest::newRow("FCUR") << QByteArray("FCUR(n)") << QByteArray("1.234,57\\'A0\\'80");
    QTest::newRow("FCUR negative") << QByteArray("FCUR(-n,0)") << QByteArray("-1.235\\'A0\\'80");
    QTest::newRow("FFIXR decimals") << QByteArray("FFIXR(12.5)") << QByteArray("12-50");
    QTest::newRow("FFIXR whole") << QByteArray("FFIXR(12)") << QByteArray("12=");
    QTest::newRow("FFIXR no decimals") << QByteArray("FFIXR(12.4,0)") << QByteArray("12=");
    QTest::newRow("FNUMR") << QByteArray("FNUMR(n)") << QByteArray("1.234-57");
    QTest::newRow("FEXP") << QByteArray("FEXP(n,5:3)") << QByteArray("1,2346E+003");
    QTest::newRow("FEXP default") << QByteArray("FEXP(0.5)") << QByteArray("5,00000000000000000E-01");
    QTest::newRow("text under number format") << QByteArray("FFIX(t)") << QByteArray("zw\\'F6lf");
    QTest::newRow("NOFORMAT number") << QByteArray("NOFORMAT(n)") << QByteArray("1234,5678");
    QTest::newRow("FDTM quoted") << QByteArray("FDTM(d,'dddd, d. mmmm yyyy')") << QByteArray("Freitag, 1. M\\'E4rz 2024");
    QTest::newRow("FDTM short names") << QByteArray("FDTM(d,\"ddd dd.mm.yy mmm\")") << QByteArray("Fr 01.03.24 Mrz");
    QTest::newRow("FDTM from variable") << QByteArray("FDTM(d,muster)") << QByteArray("2024.03");
    QTest::newRow("FDTM time") << QByteArray("FDTM(d+0.5,'hh:nn:ss.zzz')") << QByteArray("12:00:00.000");
    QTest::newRow("FBOOL true text") << QByteArray("FBOOL('tRuE')") << QByteArray("True");
    QTest::newRow("FBOOL other") << QByteArray("FBOOL(t)") << QByteArray("False");
    QTest::newRow("FBOOL boolean") << QByteArray("FBOOL(1=1)") << QByteArray("True");
    QTest::newRow("FRTF") << QByteArray("FRTF(r)") << QByteArray("{\\b fett} \\'FC");
    QTest::newRow("FLNK target only") << QByteArray("FLNK('https://x.de')")
                                      << QByteArray("{\\field{\\*\\fldinst {\\lang0 HYPERLINK \"https://x.de\" }}{\\fldrslt \\lang0 https://x.de}}");
    QTest::newRow("FLNK with text") << QByteArray("FLNK('https://x.de|Seite')")
                                    << QByteArray("{\\field{\\*\\fldinst {\\lang0 HYPERLINK \"https://x.de\" }}{\\fldrslt \\lang0 Seite}}");
    QTest::newRow("date variable") << QByteArray("d") << QByteArray("01.03.2024");
    QTest::newRow("boolean") << QByteArray("1<2") << QByteArray("True");
    QTest::newRow("number variable") << QByteArray("n") << QByteArray("1234,5678");
}

void TestReportTemplates::formats()
{
    QFETCH(QByteArray, tpl);
    QFETCH(QByteArray, written);
    TRtfReport report;
    report.AddVariable(QStringLiteral("n"));
    report.FindVariable(QStringLiteral("n")).setNumber(1234.5678);
    report.AddVariable(QStringLiteral("d"));
    report.FindVariable(QStringLiteral("d")).setDate(QDate(2024, 3, 1));
    report.AddVariable(QStringLiteral("t"), QStringLiteral("zwölf"));
    report.AddVariable(QStringLiteral("muster"), QStringLiteral("yyyy/mm"));
    report.AddVariable(QStringLiteral("r"), QStringLiteral("{\\b fett} ü"));
    const QByteArray out = body(render(document("\\\\" + tpl + "\\\\"), {}, {}, &report));
    QCOMPARE(out, QByteArray("\\lang0 ") + written);
}

void TestReportTemplates::fastNumberTextMatchesGermanFormat()
{
    // Money columns go through a hand-made formatter; it must round like the core formats.
    QList<double> values = {0.0, -0.0, 0.005, 0.015, 1.005, 2.675, 9.995, 999.995, -0.001, -0.005, 1e16, 9.9999999e15,
                            123456789.125, 0.000001, 5e-324, 1234.5, -1234.5, 99999.999, 0.5, 1.5, 2.5};
    QRandomGenerator random(4711);
    for (int i = 0; i < 20000; ++i) {
        const double magnitude = std::pow(10.0, random.bounded(-4, 16));
        values << (random.generateDouble() - 0.5) * magnitude;
        values << std::round(random.generateDouble() * 1e6) / 1000.0 + 0.0005;
    }
    for (double v : values) {
        for (int d = 0; d <= 4; ++d) {
            QCOMPARE(ReportNumberText::german(v, d, false), GermanFormat::fixed(v, d));
            QCOMPARE(ReportNumberText::german(v, d, true), GermanFormat::number(v, d));
        }
        QCOMPARE(ReportNumberText::germanCurrency(v, 2), GermanFormat::currency(v, 2));
    }
}

void TestReportTemplates::clearZeroOption()
{
    {
        // The sibling option: fields that name nothing of the report vanish instead of staying.
        TRtfReport report;
        report.setOptions(report.Options() | TRtfReport::eoClearMissedFields);
        QCOMPARE(body(render(document("a\\\\{\\b unbekannt}\\\\b"), {}, {}, &report)), QByteArray("a{\\b }b"));
    }
    TRtfReport report;
    report.setOptions(report.Options() | TRtfReport::eoNumericFormatClearZero);
    const QByteArray out = body(render(document("[\\\\FCUR(0.001)\\\\|\\\\FFIX(0.5,0)\\\\|\\\\FNUMR(0)\\\\]"), {}, {}, &report));
    QCOMPARE(out, QByteArray("[\\lang0 |\\lang0 1|\\lang0 ]"));
}

void TestReportTemplates::pictures()
{
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("bild.png"));
    QFile f(png);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(tinyPng());
    f.close();

    TRtfReport report;
    report.AddVariable(QStringLiteral("bild"), png);
    report.AddVariable(QStringLiteral("fehlt"), dir.filePath(QStringLiteral("fehlt.png")));
    const QByteArray hex = body(render(document("\\\\FIMG(bild)\\\\"), {}, {}, &report));
    QVERIFY(hex.startsWith("\\lang0 {\\pict\\pngblip\\picw2\\pich3\\picwgoal30\\pichgoal45\n89504e47"));
    QVERIFY(hex.endsWith("}"));

    report.setOptions(report.Options() | TRtfReport::eoGraphicsBinary);
    const QByteArray binary = body(render(document("\\\\FIMG(bild)\\\\"), {}, {}, &report));
    QVERIFY2(binary.startsWith("\\lang0 {\\pict\\pngblip\\picw2\\pich3\\picwgoal30\\pichgoal45\\bin33 \x89PNG"), binary.constData());

    const QByteArray missing = body(render(document("\\\\FIMG(fehlt)\\\\"), {}, {}, &report));
    QCOMPARE(missing, QByteArray("\\lang0 #Can't load file ") + dir.filePath(QStringLiteral("fehlt.png")).toUtf8());
}

void TestReportTemplates::picturesOnlyFromOrdinaryFiles()
{
    // A pipe would block the printout for ever, a device would fill the memory: both are
    // refused before they are read, and so is a file too large to be a picture.
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("bild.png"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString large = dir.filePath(QStringLiteral("gross.png"));
    {
        QFile f(large);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(20LL * 1024 * 1024 + 1));   // sparse: costs no disk
    }
    const QByteArray tpl = document("\\\\FIMG(bild)\\\\");
    QCOMPARE(errorOf(tpl, {QStringLiteral("bild=") + fifo}), QStringLiteral("Das Bild %1 ist keine gewöhnliche Datei.").arg(fifo));
    QCOMPARE(errorOf(tpl, {QStringLiteral("bild=/dev/zero")}), QStringLiteral("Das Bild /dev/zero ist keine gewöhnliche Datei."));
    QCOMPARE(errorOf(tpl, {QStringLiteral("bild=") + large}), QStringLiteral("Das Bild %1 ist größer als 20 MB.").arg(large));
    // A folder is a file that cannot be loaded, as before.
    QCOMPARE(body(render(tpl, {QStringLiteral("bild=") + dir.path()})),
             QByteArray("\\lang0 #Can't load file ") + dir.path().toUtf8());
}

void TestReportTemplates::scans_data()
{
    QTest::addColumn<QByteArray>("tpl");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<QByteArray>("written");

    const QByteArray row = "\\\\A:name\\\\";
    QTest::newRow("head, rows, foot") << QByteArray("\\\\SCAN(A)\\\\H\\\\SCANENTRY\\\\<" + row + ">\\\\SCANFOOTER\\\\F\\\\ENDSCAN\\\\")
                                      << false
                                      << QByteArray("H<\\lang0 Miete><\\lang0 Strom><\\lang0 Wasser>F");
    QTest::newRow("without entry everything repeats")
        << QByteArray("\\\\SCAN(qrposten)\\\\<" + row + ">\\\\ENDSCAN\\\\") << false
        << QByteArray("<\\lang0 Miete><\\lang0 Strom><\\lang0 Wasser>");
    QTest::newRow("page breaks between records")
        << QByteArray("\\\\SCAN(A),page\\\\" + row + "\\\\ENDSCAN\\\\") << false
        << QByteArray("\\lang0 Miete\\page \\lang0 Strom\\page \\lang0 Wasser");
    QTest::newRow("empty set: head, one empty row, foot")
        << QByteArray("\\\\SCAN(A)\\\\H\\\\SCANENTRY\\\\<" + row + ">\\\\SCANFOOTER\\\\F\\\\ENDSCAN\\\\") << true
        << QByteArray("H<\\lang0 >F");
    QTest::newRow("empty set with noeof: nothing")
        << QByteArray("a\\\\SCAN(A),noeof\\\\H\\\\SCANENTRY\\\\<" + row + ">\\\\SCANFOOTER\\\\F\\\\ENDSCAN\\\\b") << true
        << QByteArray("ab");
    QTest::newRow("noeof with records") << QByteArray("\\\\SCAN(A),noeof\\\\" + row + "\\\\ENDSCAN\\\\") << false
                                        << QByteArray("\\lang0 Miete\\lang0 Strom\\lang0 Wasser");
    QTest::newRow("while stops early")
        << QByteArray("\\\\SCAN(A),while(A:betrag<3)\\\\" + row + "\\\\ENDSCAN\\\\") << false
        << QByteArray("\\lang0 Miete\\lang0 Strom");
    QTest::newRow("while only")
        << QByteArray("\\\\i:=0\\\\\\\\SCAN(),while(i<3)\\\\\\\\i:=i+1\\\\\\\\i\\\\\\\\ENDSCAN\\\\") << false
        << QByteArray("\\lang0 1\\lang0 2\\lang0 3");
    QTest::newRow("entry functions run per record")
        << QByteArray("\\\\SCAN(A)\\\\\\\\SCANENTRY,SUM(A:betrag,s)\\\\\\\\s\\\\,\\\\ENDSCAN\\\\") << false
        << QByteArray("\\lang0 1,\\lang0 3,\\lang0 6,");
    QTest::newRow("footer writes the sum")
        << QByteArray("\\\\SCAN(A),SUM(A:betrag,s)\\\\x\\\\SCANFOOTER\\\\=\\\\FFIX(s)\\\\\\\\ENDSCAN\\\\") << false
        << QByteArray("xxx=\\lang0 6,00");
    QTest::newRow("trailing blanks of text columns go")
        << QByteArray("\\\\SCAN(A)\\\\[\\\\A:name\\\\]\\\\NEXT(A)\\\\\\\\NEXT(A)\\\\\\\\ENDSCAN\\\\") << false
        << QByteArray("[\\lang0 Miete]");
    QTest::newRow("column types")
        << QByteArray("\\\\SCAN(A)\\\\\\\\A:datum\\\\/\\\\A:aktiv\\\\/\\\\A:betrag\\\\;\\\\ENDSCAN\\\\") << false
        << QByteArray("\\lang0 31.01.2024/\\lang0 True/\\lang0 1;\\lang0 29.02.2024/\\lang0 False/\\lang0 2;"
                      "\\lang0 /\\lang0 /\\lang0 3;");
    QTest::newRow("nested scans and conditions")
        << QByteArray("\\\\SCAN(A)\\\\\\\\IF(A:betrag=2)\\\\*\\\\ELSE\\\\\\\\A:betrag\\\\\\\\ENDIF\\\\\\\\ENDSCAN\\\\") << false
        << QByteArray("\\lang0 1*\\lang0 3");
}

void TestReportTemplates::scans()
{
    QFETCH(QByteArray, tpl);
    QFETCH(bool, empty);
    QFETCH(QByteArray, written);
    auto rows = empty ? emptyRows(QStringLiteral("qrPosten")) : sampleRows();
    if (empty)
        rows->addField(QStringLiteral("betrag"), ReportDataSet::FieldKind::Number);
    QCOMPARE(run(tpl, {QStringLiteral("i=")}, {rows.get()}), written);
}

void TestReportTemplates::scanLeavesDataSetOnLastRecord()
{
    auto rows = sampleRows();
    QCOMPARE(run("\\\\SCAN(A)\\\\\\\\ENDSCAN\\\\\\\\A:name\\\\", {}, {rows.get()}), QByteArray("\\lang0 Wasser"));
    QCOMPARE(rows->currentRow(), 2);
    // A second scan over the same set starts again at its first record.
    QCOMPARE(run("\\\\SCAN(A)\\\\\\\\ENDSCAN\\\\\\\\SCAN(A),noeof\\\\\\\\A:betrag\\\\\\\\ENDSCAN\\\\", {}, {rows.get()}),
             QByteArray("\\lang0 1\\lang0 2\\lang0 3"));
}

void TestReportTemplates::repeatedPartsStayBalanced()
{
    auto rows = sampleRows();
    // The repeated part closes a group the head opened and opens one the foot closes, or
    // leaves one open: each repetition starts at the same depth, the document stays whole.
    const QByteArray cases[] = {
        "{\\b \\\\SCAN(A)\\\\h}{\\i \\\\SCANENTRY\\\\r}{\\ul x\\\\SCANFOOTER\\\\f}\\\\ENDSCAN\\\\",
        "\\\\SCAN(A)\\\\{\\b \\\\A:name\\\\\\\\ENDSCAN\\\\}",
        "{{\\\\SCAN(A)\\\\\\\\A:name\\\\}\\\\ENDSCAN\\\\}",
        "\\\\IF(1=2)\\\\{\\b x\\\\ELSE\\\\}{\\i y\\\\ENDIF\\\\}",
        "{\\\\IF(1=2)\\\\}{\\\\ENDIF\\\\}",
        "{\\\\SCAN(A),noeof\\\\}\\\\SCANENTRY\\\\{\\\\ENDSCAN\\\\}",
    };
    for (const QByteArray &tpl : cases) {
        const QByteArray out = render(document(tpl), {}, {rows.get()});
        QVERIFY2(depthBalance(out) == 0, out.constData());
    }
    auto empty = emptyRows(QStringLiteral("qrPosten"));
    const QByteArray skipped = render(document(cases[5]), {}, {empty.get()});
    QVERIFY2(depthBalance(skipped) == 0, skipped.constData());
    QCOMPARE(body(skipped), QByteArray("{}{}"));
}

void TestReportTemplates::conditions_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("written");
    const QByteArray tpl = "";
    QTest::newRow("if") << 1 << QByteArray("[eins]");
    QTest::newRow("elsif") << 2 << QByteArray("[zwei]");
    QTest::newRow("second elsif") << 3 << QByteArray("[drei]");
    QTest::newRow("else") << 4 << QByteArray("[sonst]");
}

void TestReportTemplates::conditions()
{
    QFETCH(int, value);
    QFETCH(QByteArray, written);
    TRtfReport report;
    report.AddVariable(QStringLiteral("n"));
    report.FindVariable(QStringLiteral("n")).setNumber(value);
    const QByteArray tpl = "[\\\\IF(n=1)\\\\eins\\\\ELSIF(n=2)\\\\zwei\\\\ELSIF(n=3)\\\\drei\\\\ELSE\\\\sonst\\\\ENDIF\\\\]";
    QCOMPARE(body(render(document(tpl), {}, {}, &report)), written);
}

void TestReportTemplates::skippedBranchKeepsTheFormattingItOpens_data()
{
    QTest::addColumn<QByteArray>("tpl");
    QTest::addColumn<QByteArray>("written");
    // ENDIF inside a bold run, as LibreOffice writes it: the text after the block is bold
    // in the template and stays bold when the block is left out.
    QTest::newRow("bold run") << QByteArray("\\\\IF(1=2)\\\\weg {\\loch\\b auch weg\\\\ENDIF\\\\ fett}")
                              << QByteArray("{\\loch\\b  fett}");
    QTest::newRow("text and breaks stay out") << QByteArray("\\\\IF(1=2)\\\\x{\\i\\fs24 a\\par\\tab b\\u8364?\\\\ENDIF\\\\c}")
                                              << QByteArray("{\\i\\fs24 c}");
    QTest::newRow("closed groups need nothing") << QByteArray("a\\\\IF(1=2)\\\\{\\b x}{\\i y}\\\\ENDIF\\\\b")
                                                << QByteArray("ab");
    QTest::newRow("destinations reopen bare") << QByteArray("\\\\IF(1=2)\\\\{\\*\\bkmkstart m\\\\ENDIF\\\\}")
                                              << QByteArray("{}");
    QTest::newRow("taken branch skips the other")
        << QByteArray("\\\\IF(1=1)\\\\a{\\b b\\\\ELSE\\\\}c{\\i d\\\\ENDIF\\\\e}")
        << QByteArray("a{\\b b}{\\i e}");
}

void TestReportTemplates::skippedBranchKeepsTheFormattingItOpens()
{
    QFETCH(QByteArray, tpl);
    QFETCH(QByteArray, written);
    QCOMPARE(run(tpl), written);
}

void TestReportTemplates::compileRules_data()
{
    QTest::addColumn<QByteArray>("tpl");
    QTest::addColumn<QString>("message");

    QTest::newRow("scan without bracket") << QByteArray("\\\\SCAN(A\\\\") << "Illegal using of \"scan\" keyword: SCAN(A";
    QTest::newRow("scan alias") << QByteArray("\\\\SCAN(qrNix)\\\\\\\\ENDSCAN\\\\") << "Scan Alias not found: qrNix";
    QTest::newRow("scan neither") << QByteArray("\\\\SCAN()\\\\\\\\ENDSCAN\\\\")
                                  << "Either \"scan\" with DataSet or \"while\" function must be present in command SCAN()";
    QTest::newRow("two whiles") << QByteArray("\\\\SCAN(A),while(TRUE),while(TRUE)\\\\\\\\ENDSCAN\\\\")
                                << "More than one \"while\" function is not allowed in command SCAN(A),while(TRUE),while(TRUE)";
    QTest::newRow("element not a call") << QByteArray("\\\\SCAN(A),x\\\\\\\\ENDSCAN\\\\")
                                        << "Cannot process expression x in scan command SCAN(A),x";
    QTest::newRow("format function in command") << QByteArray("\\\\SCAN(A),FFIX(1)\\\\\\\\ENDSCAN\\\\")
                                                << "Format function FFIX(1) not allowed in scan command SCAN(A),FFIX(1)";
    QTest::newRow("entry text") << QByteArray("\\\\SCAN(A)\\\\\\\\SCANENTRYx\\\\\\\\ENDSCAN\\\\")
                                << "Cannot process expression x in scan command SCANENTRYx";
    QTest::newRow("aggregate first argument") << QByteArray("\\\\SCAN(A),SUM(1,s)\\\\\\\\ENDSCAN\\\\")
                                              << "Illegal function use: SUM(1,s) - datafield, variable or UDF expected as "
                                                 "first argument in expression SCAN(A),SUM(1,s)";
    QTest::newRow("aggregate second argument") << QByteArray("\\\\SCAN(A),SUM(A:betrag,1)\\\\\\\\ENDSCAN\\\\")
                                               << "Illegal function use: SUM(A:betrag,1) - report variable expected as second "
                                                  "argument in expression SCAN(A),SUM(A:betrag,1)";
    QTest::newRow("aggregate third argument") << QByteArray("\\\\SCAN(A),CTN(A:betrag,s,1)\\\\\\\\ENDSCAN\\\\")
                                              << "Illegal function use: CTN(A:betrag,s,1) - symbol \")\" or keyword \"NORESET\" "
                                                 "expected as third argument in expression SCAN(A),CTN(A:betrag,s,1)";
    QTest::newRow("VAR in command") << QByteArray("\\\\SCAN(A),VAR(1)\\\\\\\\ENDSCAN\\\\")
                                    << "Illegal function use: VAR(1) - report variable expected as argument in expression SCAN(A),VAR(1)";
    QTest::newRow("entry outside") << QByteArray("\\\\SCANENTRY\\\\") << "Error: Scanentry must be after scan: SCANENTRY";
    QTest::newRow("entry twice") << QByteArray("\\\\SCAN(A)\\\\\\\\SCANENTRY\\\\\\\\SCANENTRY\\\\")
                                 << "Error: Scanentry already exists for scan block: SCANENTRY";
    QTest::newRow("entry after footer") << QByteArray("\\\\SCAN(A)\\\\\\\\SCANFOOTER\\\\\\\\SCANENTRY\\\\")
                                        << "Error: Scanentry not allowed after scanfooter: SCANENTRY";
    QTest::newRow("entry in condition") << QByteArray("\\\\SCAN(A)\\\\\\\\IF(TRUE)\\\\\\\\SCANENTRY\\\\")
                                        << "Error: Scanentry is not expected: SCANENTRY";
    QTest::newRow("footer outside") << QByteArray("\\\\SCANFOOTER\\\\") << "Error: Scanfooter must be after Scan: SCANFOOTER";
    QTest::newRow("footer twice") << QByteArray("\\\\SCAN(A)\\\\\\\\SCANFOOTER\\\\\\\\SCANFOOTER\\\\")
                                  << "Error: Scanfooter already exists for scan block: SCANFOOTER";
    QTest::newRow("footer in condition") << QByteArray("\\\\SCAN(A)\\\\\\\\IF(TRUE)\\\\\\\\SCANFOOTER\\\\")
                                         << "Error: Scanfooter is not expected: SCANFOOTER";
    QTest::newRow("endscan outside") << QByteArray("\\\\ENDSCAN\\\\") << "Error: Endscan must be after scan: ENDSCAN";
    QTest::newRow("endscan in condition") << QByteArray("\\\\SCAN(A)\\\\\\\\IF(TRUE)\\\\\\\\ENDSCAN\\\\")
                                          << "Error: Endscan is not expected: ENDSCAN";
    QTest::newRow("if with more") << QByteArray("\\\\IF(TRUE),x\\\\") << "Illegal using of \"if\" command: IF(TRUE),x";
    QTest::newRow("if without bracket") << QByteArray("\\\\IF(TRUE\\\\") << "Illegal using of \"if\" keyword: IF(TRUE";
    QTest::newRow("elsif with more") << QByteArray("\\\\IF(TRUE)\\\\\\\\ELSIF(TRUE)x\\\\")
                                     << "Illegal using of \"elsif\" command: ELSIF(TRUE)x";
    QTest::newRow("elsif without bracket") << QByteArray("\\\\IF(TRUE)\\\\\\\\ELSIF(TRUE\\\\")
                                           << "Illegal using of \"elsif\" keyword: ELSIF(TRUE";
    QTest::newRow("elsif outside") << QByteArray("\\\\ELSIF(TRUE)\\\\") << "Error: \"elseif\" must be after \"if\": ELSIF(TRUE)";
    QTest::newRow("elsif after else") << QByteArray("\\\\IF(TRUE)\\\\\\\\ELSE\\\\\\\\ELSIF(TRUE)\\\\")
                                      << "Error: \"elseif\" is not expected: ELSIF(TRUE)";
    QTest::newRow("elsif in scan") << QByteArray("\\\\IF(TRUE)\\\\\\\\SCAN(A)\\\\\\\\ELSIF(TRUE)\\\\")
                                   << "Error: \"elseif\" is not expected: ELSIF(TRUE)";
    QTest::newRow("else with more") << QByteArray("\\\\IF(TRUE)\\\\\\\\ELSEx\\\\") << "Illegal using of \"Else\" command: ELSEx";
    QTest::newRow("else outside") << QByteArray("\\\\ELSE\\\\") << "Error: \"else\" must be after \"if\": ELSE";
    QTest::newRow("else twice") << QByteArray("\\\\IF(TRUE)\\\\\\\\ELSE\\\\\\\\ELSE\\\\") << "Error: \"else\" is not expected: ELSE";
    QTest::newRow("endif with more") << QByteArray("\\\\IF(TRUE)\\\\\\\\ENDIF1\\\\") << "Illegal using of \"endif\" command: ENDIF1";
    QTest::newRow("endif outside") << QByteArray("\\\\ENDIF\\\\") << "Error: \"endif\" must be after \"if\": ENDIF";
    QTest::newRow("endif in scan") << QByteArray("\\\\IF(TRUE)\\\\\\\\SCAN(A)\\\\\\\\ENDIF\\\\")
                                   << "Error: \"endif\" is not expected: ENDIF";
    QTest::newRow("open scan") << QByteArray("\\\\SCAN(A)\\\\") << "Nesting error - endscan expected, but end of document found";
    QTest::newRow("open if") << QByteArray("\\\\IF(TRUE)\\\\") << "Endif expected, but end of document found";
    QTest::newRow("condition not boolean") << QByteArray("\\\\IF(1)\\\\\\\\ENDIF\\\\")
                                           << "Operand of boolean type expected. Function \"IF\", expression 1";
    QTest::newRow("while not boolean") << QByteArray("\\\\SCAN(A),while(1)\\\\\\\\ENDSCAN\\\\")
                                       << "Operand of boolean type expected. Function \"WHILE\", expression 1";
    QTest::newRow("format too few") << QByteArray("\\\\FDTM(d)\\\\")
                                    << "Illegal format function use: FDTM(d) - number of arguments is less than minimum required";
    QTest::newRow("format too many") << QByteArray("\\\\FFIX(1,2,3)\\\\")
                                     << "Illegal format function use: FFIX(1,2,3) - number of arguments is more than maximum allowed";
    QTest::newRow("format brackets") << QByteArray("\\\\FFIX(1\\\\") << "Brackets balance violation in format function FFIX(1";
    QTest::newRow("format parameter") << QByteArray("\\\\FFIX(1,a)\\\\") << "Illegal use of format function FFIX(1,a) - cannot understand argument a";
    QTest::newRow("format two colons") << QByteArray("\\\\FEXP(1,1:2:3)\\\\")
                                       << "Illegal use of format function FEXP(1,1:2:3) - cannot understand argument 1:2:3";
    QTest::newRow("FDTM pattern") << QByteArray("\\\\FDTM(1,2)\\\\") << "Illegal use of format function FDTM(1,2) - cannot understand argument 2";
    QTest::newRow("format unknown variable") << QByteArray("\\\\FFIX(nix)\\\\")
                                             << "Illegal function use: FFIX(nix) - report variable nix not found";
}

void TestReportTemplates::compileRules()
{
    QFETCH(QByteArray, tpl);
    QFETCH(QString, message);
    auto rows = sampleRows();
    QCOMPARE(errorOf(document(tpl), {}, {rows.get()}), message);
}

void TestReportTemplates::nothingWrittenOnError()
{
    // An error at the end of the document stops the run before any piece is written:
    // the division in the first field would otherwise have failed first.
    auto rows = sampleRows();
    QCOMPARE(errorOf(document("\\\\1/0\\\\ text \\\\IF(TRUE)\\\\"), {}, {rows.get()}),
             QStringLiteral("Endif expected, but end of document found"));
}

void TestReportTemplates::endlessWhileIsStopped()
{
    TRtfReport report;
    report.setMaxScanPasses(1000);
    try {
        render(document("\\\\SCAN(),while(TRUE)\\\\x\\\\ENDSCAN\\\\"), {}, {}, &report);
        QFAIL("an endless scan must stop");
    } catch (const AppError &e) {
        QCOMPARE(e.message(), QStringLiteral("Der Bericht wurde abgebrochen, weil sich ein Block mehr als 1000-mal wiederholt "
                                             "hat (endet die Schleife nie?): SCAN(),while(TRUE)"));
    }
    // A scan whose body moves the data set back never reaches the end either.
    auto rows = sampleRows();
    try {
        render(document("\\\\SCAN(A)\\\\\\\\PRIOR(A)\\\\\\\\ENDSCAN\\\\"), {}, {rows.get()}, &report);
        QFAIL("an endless scan must stop");
    } catch (const AppError &e) {
        QVERIFY(e.message().startsWith(QStringLiteral("Der Bericht wurde abgebrochen")));
    }
    // The output bound stops a template that would grow without end.
    report.setMaxScanPasses(10'000'000);
    report.setMaxOutputBytes(1024 * 1024);
    report.AddVariable(QStringLiteral("s"), QStringLiteral("xxxxxxxxxxxxxxxx"));
    try {
        render(document("\\\\SCAN(),while(TRUE)\\\\\\\\s\\\\\\\\ENDSCAN\\\\"), {}, {}, &report);
        QFAIL("the output bound must stop the run");
    } catch (const AppError &e) {
        QCOMPARE(e.message(), QStringLiteral("Der Bericht wurde abgebrochen, weil das Ergebnis größer als 1 MB würde."));
    }
}

void TestReportTemplates::hostileTemplatesFailCleanly_data()
{
    QTest::addColumn<QByteArray>("tpl");
    QTest::addColumn<QString>("message");   // empty: any outcome but a crash or hang

    QByteArray deepIf;
    for (int i = 0; i < 300; ++i)
        deepIf += "\\\\IF(TRUE)\\\\";
    QTest::newRow("deeply nested blocks") << deepIf << "Die Vorlage ist zu tief verschachtelt: IF(TRUE)";
    QTest::newRow("deep brackets") << "\\\\" + QByteArray(3000, '(') + "1" + QByteArray(3000, ')') + "\\\\"
                                   << "Der Ausdruck ist zu tief verschachtelt: " + QString(3000, u'(') + u'1' + QString(3000, u')');
    QByteArray chain = "\\\\1";
    for (int i = 0; i < 2000; ++i)
        chain += "+1";
    QTest::newRow("long operator chain") << chain + "\\\\" << QString();
    QByteArray calls = "\\\\";
    for (int i = 0; i < 1000; ++i)
        calls += "TRIM(";
    calls += "'a'" + QByteArray(1000, ')') + "\\\\";
    QTest::newRow("deep calls") << calls << QString();
    QTest::newRow("longer than the search") << "\\\\ekName" + QByteArray(20000, 'x') + "\\\\" << QString();
    QTest::newRow("unbalanced braces") << QByteArray("}}}{{{\\\\1\\\\}") << QString();
    QTest::newRow("truncated escape") << QByteArray("\\\\1\\\\\\'") << QString();
    QTest::newRow("truncated bin") << QByteArray("{\\bin999999999 ") << QString();
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 7919 + 13) % 256);
    QTest::newRow("binary garbage") << garbage << QString();
}

void TestReportTemplates::hostileTemplatesFailCleanly()
{
    QFETCH(QByteArray, tpl);
    QFETCH(QString, message);
    const QString error = errorOf(document(tpl), {QStringLiteral("ekName=x")});
    if (!message.isEmpty())
        QCOMPARE(error, message);
}

void TestReportTemplates::fieldsBeyondTheSharedOnesRunAlike_data()
{
    QTest::addColumn<QByteArray>("tpl");
    QTest::addColumn<bool>("clearMissed");

    QTest::newRow("formats, codes inside fields, FDTM from a variable")
        << QByteArray("\\\\FNUM(A:betrag+1){\\i }\\\\|\\\\ek{\\b Name}\\\\|\\\\FDTM(A:datum,muster)\\\\|\\\\FCUR(n*2)\\\\") << false;
    QTest::newRow("fields, sums, sets and conditions per record")
        << QByteArray("\\\\SCAN(A)\\\\[\\\\A:name\\\\;\\\\SUM(A:betrag,s)\\\\\\\\s\\\\;\\\\i:=i+1\\\\\\\\i\\\\;\\\\A:datum\\\\"
                      "\\\\IF(A:betrag=2)\\\\\\\\ek{\\b Name\\\\*\\\\ENDIF\\\\}]\\\\ENDSCAN\\\\")
        << false;
    QTest::newRow("no-result fields") << QByteArray("\\\\NEXT(A)\\\\\\\\A:name\\\\\\\\SET(n,7)\\\\\\\\n\\\\") << false;
    QTest::newRow("unknown fields stay") << QByteArray("a\\\\tipp{\\b fehler}\\\\b\\\\SCAN(A)\\\\\\\\nix\\\\\\\\ENDSCAN\\\\") << false;
    QTest::newRow("unknown fields vanish") << QByteArray("a\\\\tipp{\\b fehler}\\\\b\\\\SCAN(A)\\\\\\\\nix\\\\\\\\ENDSCAN\\\\") << true;
    QTest::newRow("an error names the same expression") << QByteArray("x\\\\SCAN(A)\\\\\\\\1/(A:betrag-2)\\\\\\\\ENDSCAN\\\\") << false;
}

void TestReportTemplates::fieldsBeyondTheSharedOnesRunAlike()
{
    // Past the first ten thousand different fields a template keeps only where each field
    // stands and compiles it again when it runs: the printout must not tell the difference.
    QFETCH(QByteArray, tpl);
    QFETCH(bool, clearMissed);
    QByteArray silent;   // different fields that write nothing
    for (int i = 0; i < 10050; ++i)
        silent += "\\\\SET(n," + QByteArray::number(i) + ")\\\\";
    auto outcome = [&](const QByteArray &templateBody) -> QByteArray {
        TRtfReport report;
        if (clearMissed)
            report.setOptions(report.Options() | TRtfReport::eoClearMissedFields);
        report.AddVariable(QStringLiteral("n"));
        report.AddVariable(QStringLiteral("i"));
        report.FindVariable(QStringLiteral("i")).setNumber(0);
        report.AddVariable(QStringLiteral("ekName"), QStringLiteral("Müller"));
        report.AddVariable(QStringLiteral("muster"), QStringLiteral("yyyy/mm"));
        auto rows = sampleRows();
        try {
            return body(render(document(templateBody), {}, {rows.get()}, &report));
        } catch (const AppError &e) {
            return "error: " + e.message().toUtf8();
        }
    };
    const QByteArray tail = "\\\\SET(n,1)\\\\" + tpl;
    const QByteArray alone = outcome(tail);
    QVERIFY(!alone.startsWith("<not a document"));
    QCOMPARE(outcome(silent + tail), alone);
}

QTEST_GUILESS_MAIN(TestReportTemplates)
#include "tst_report_templates.moc"
