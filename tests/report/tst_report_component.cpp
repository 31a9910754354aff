#include "support/RecordingDocumentOpener.h"
#include "ReportTestSupport.h"

#include "core/AppError.h"
#include "report/OpenFailureReason.h"
#include "report/ReportOutputPath.h"
#include "report/TReportUdfList.h"

#include <QtTest>

using namespace ReportTestSupport;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString failureOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const AppError &e) {
        return e.message();
    }
    return {};
}

QByteArray body(const QByteArray &out)
{
    const QByteArray head = "{\\rtf1\\ansi ";
    return out.mid(head.size(), out.size() - head.size() - 1);
}

} // namespace

class TestReportComponent : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void programSettings();
    void variablesInEveryForm();
    void variableNamesIgnoreCase();
    void variableErrors();
    void runWritesAndOpens();
    void secondRunOverwrites();
    void failuresKeepOrRemoveOutput_data();
    void failuresKeepOrRemoveOutput();
    void outputNeverOverwritesTheTemplate();
    void openingFailureNamesTheReason_data();
    void openingFailureNamesTheReason();
    void controlsDetachedAndRestored();
    void anyFailureEndsTheRun();
    void templateCacheFollowsTheFile();
    void lettersStandForPositions();
    void unknownFieldsAreListed();
    void userDefinedFunctions();
    void outputPath_data();
    void outputPath();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString &name) const { return m_dir->filePath(name); }
};

void TestReportComponent::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestReportComponent::programSettings()
{
    TRtfReport r;
    QCOMPARE(r.TrueValue(), QStringLiteral("True"));
    QCOMPARE(r.FalseValue(), QStringLiteral("False"));
    QCOMPARE(r.Charset(), 0);
    QCOMPARE(r.Lang(), 0);
    // Pictures in hexadecimal: LibreOffice shows every picture after a \binN one as that one.
    QCOMPARE(r.Options(), int(TRtfReport::eoDotAsColon));
    QVERIFY(r.DisableControls());
    QCOMPARE(r.OutFile(), QStringLiteral("outfile.doc"));
    QCOMPARE(r.LastError(), QStringLiteral("No errors."));
}

void TestReportComponent::variablesInEveryForm()
{
    TRtfReport r;
    r.setVarList({QStringLiteral("ekText=a"), QStringLiteral("ekZahl="), QStringLiteral("ekJa="),
                  QStringLiteral("ekTag="), QStringLiteral("ekZeit=")});
    r.FindVariable(QStringLiteral("ekZahl")).setNumber(1234.5);
    r.FindVariable(QStringLiteral("ekJa")).setBoolean(true);
    r.FindVariable(QStringLiteral("ekTag")).setDate(QDate(2024, 3, 1));
    r.FindVariable(QStringLiteral("ekZeit")).setDateTime(QDateTime(QDate(2024, 3, 1), QTime(8, 5, 9, 7)));

    QCOMPARE(r.VarList(), QStringList({QStringLiteral("ekText=a"), QStringLiteral("ekZahl=1234.5"), QStringLiteral("ekJa=True"),
                                       QStringLiteral("ekTag={2024-03-01}"), QStringLiteral("ekZeit={2024-03-01,08:05:09:007}")}));
    QCOMPARE(r.FindVariable(QStringLiteral("ekText")).type(), 1);
    QCOMPARE(r.FindVariable(QStringLiteral("ekZahl")).type(), 2);
    QCOMPARE(r.FindVariable(QStringLiteral("ekJa")).type(), 3);
    QCOMPARE(r.FindVariable(QStringLiteral("ekTag")).type(), 4);
    QCOMPARE(r.FindVariable(QStringLiteral("ekZahl")).text(), QStringLiteral("1234,5"));
    QCOMPARE(r.FindVariable(QStringLiteral("ekTag")).text(), QStringLiteral("01.03.2024"));
    QCOMPARE(r.FindVariable(QStringLiteral("ekZeit")).text(), QStringLiteral("01.03.2024 08:05:09"));

    // Own texts for true and false; when both are equal the stored form says True/False.
    r.setTrueValue(QStringLiteral("ja"));
    r.setFalseValue(QStringLiteral("nein"));
    QCOMPARE(r.FindVariable(QStringLiteral("ekJa")).storedText(), QStringLiteral("ja"));
    QCOMPARE(body(render(document("\\\\ekJa\\\\"), {}, {}, &r)), QByteArray("\\lang0 ja"));
    r.setFalseValue(QStringLiteral("ja"));
    QCOMPARE(r.FindVariable(QStringLiteral("ekJa")).storedText(), QStringLiteral("True"));
}

void TestReportComponent::variableNamesIgnoreCase()
{
    TRtfReport r;
    r.setVarList({QStringLiteral("ekFirma=")});
    r.FindVariable(QStringLiteral("EKFIRMA")) = QStringLiteral("Finorra");
    QCOMPARE(r.VarList(), QStringList({QStringLiteral("ekFirma=Finorra")}));
}

void TestReportComponent::variableErrors()
{
    TRtfReport r;
    r.setVarList({QStringLiteral("ekA=")});
    QCOMPARE(failureOf([&] { r.FindVariable(QStringLiteral("ekB")).setText(QStringLiteral("x")); }),
             QStringLiteral("Set variable: report variable not found: ekB"));
    QCOMPARE(failureOf([&] { r.FindVariable(QStringLiteral("ekB")).text(); }),
             QStringLiteral("Get variable: report variable not found: ekB"));
    QCOMPARE(failureOf([&] { r.AddVariable(QStringLiteral("EKA")); }),
             QStringLiteral("Can't add report variable EKA - variable already exists"));
    // VAR in a template adds only what is missing.
    QCOMPARE(body(render(document("\\\\VAR(ekA,ekNeu)\\\\ok"), {}, {}, &r)), QByteArray("ok"));
    QVERIFY(r.variables().contains(QStringLiteral("ekneu")));
}

void TestReportComponent::runWritesAndOpens()
{
    writeFile(path("Vorlage.rtf"), document("Hallo \\\\ekName\\\\"));
    RecordingDocumentOpener opener;
    TRtfReport r;
    r.setDocumentOpener(&opener);
    r.setVarList({QStringLiteral("ekName=")});
    r.setInFile(path("Vorlage.rtf"));
    r.setOutFile(path("abVorlage.rtf"));
    r.FindVariable(QStringLiteral("ekname")).setText(QStringLiteral("Jörg"));
    r.RunReportAndOpen({}, 5);
    QCOMPARE(readFile(path("abVorlage.rtf")), QByteArray("{\\rtf1\\ansi Hallo \\lang0 J\\'F6rg}"));
    QCOMPARE(opener.opened, QStringList({path("abVorlage.rtf")}));
    QCOMPARE(opener.showModes, QList<int>({5}));
    QCOMPARE(r.LastError(), QStringLiteral("No errors."));

    // RunReport writes without opening.
    r.RunReport({});
    QCOMPARE(opener.opened.size(), 1);
}

void TestReportComponent::secondRunOverwrites()
{
    writeFile(path("T.rtf"), document("\\\\n\\\\"));
    RecordingDocumentOpener opener;
    TRtfReport r;
    r.setDocumentOpener(&opener);
    r.setVarList({QStringLiteral("n=")});
    r.setInFile(path("T.rtf"));
    r.setOutFile(path("out.rtf"));
    r.FindVariable(QStringLiteral("n")) = QStringLiteral("eins eins eins");
    r.RunReportAndOpen({}, 5);
    r.FindVariable(QStringLiteral("n")) = QStringLiteral("zwei");
    r.RunReportAndOpen({}, 5);
    QCOMPARE(readFile(path("out.rtf")), QByteArray("{\\rtf1\\ansi \\lang0 zwei}"));
}

void TestReportComponent::failuresKeepOrRemoveOutput_data()
{
    QTest::addColumn<QByteArray>("tpl");     // null: no template file at all
    QTest::addColumn<QString>("outDir");     // relative to the temporary folder
    QTest::addColumn<QString>("message");    // "%1" stands for the template path, "%2" for the output

    QTest::newRow("missing template") << QByteArray() << QString() << "Can't read file %1";
    QTest::newRow("empty template") << QByteArray("") << QString() << "Template is not RTF file.";
    QTest::newRow("not RTF") << QByteArray("Hallo") << QString() << "Template is not RTF file.";
    QTest::newRow("syntax error") << document("\\\\IF(TRUE)\\\\") << QString() << "Endif expected, but end of document found";
    QTest::newRow("missing output folder") << document("x") << QStringLiteral("fehlt/") << QStringLiteral("Die Berichtsausgabe kann nicht geschrieben werden: %2");
}

void TestReportComponent::failuresKeepOrRemoveOutput()
{
    QFETCH(QByteArray, tpl);
    QFETCH(QString, outDir);
    QFETCH(QString, message);
    const QString in = path("T.rtf");
    const QString out = path(outDir + "out.rtf");
    if (!tpl.isNull())
        writeFile(in, tpl);
    writeFile(path("out.rtf"), "alt");
    RecordingDocumentOpener opener;
    TRtfReport r;
    r.setDocumentOpener(&opener);
    r.setInFile(in);
    r.setOutFile(out);
    const QString expected = QString(message).replace(QStringLiteral("%1"), in).replace(QStringLiteral("%2"), out);
    QCOMPARE(failureOf([&] { r.RunReportAndOpen({}, 5); }), expected);
    QCOMPARE(r.LastError(), expected);
    QVERIFY(opener.opened.isEmpty());
    // The old output goes once the template has been read and checked; nothing half-written stays.
    const bool templateUsable = !tpl.isNull() && tpl.startsWith("{\\rtf");
    QCOMPARE(QFile::exists(path("out.rtf")), !templateUsable || !outDir.isEmpty());
}

void TestReportComponent::outputNeverOverwritesTheTemplate()
{
    writeFile(path("Brief.rtf"), document("\\\\x\\\\"));
    TRtfReport r;
    r.setInFile(path("Brief.rtf"));
    r.setOutFile(m_dir->path() + QStringLiteral("/./Brief.rtf"));
    QCOMPARE(failureOf([&] { r.RunReport({}); }),
             QStringLiteral("Die Ausgabedatei ist die Vorlage selbst und würde sie überschreiben: ") + r.OutFile());
    QCOMPARE(readFile(path("Brief.rtf")), document("\\\\x\\\\"));
}

void TestReportComponent::openingFailureNamesTheReason_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("reason");
    QTest::newRow("0") << 0 << "Dem Betriebssystem fehlen Speicher oder andere Mittel.";
    QTest::newRow("2") << 2 << "Die Datei wurde nicht gefunden.";
    QTest::newRow("3") << 3 << "Der Pfad wurde nicht gefunden.";
    QTest::newRow("5") << 5 << "Das Betriebssystem hat den Zugriff auf die Datei verweigert.";
    QTest::newRow("8") << 8 << "Für diesen Vorgang reicht der Arbeitsspeicher nicht aus.";
    QTest::newRow("11") << 11 << "Das Programm für diese Datei ist beschädigt oder ungültig.";
    QTest::newRow("26") << 26 << "Die Datei wird gerade von einem anderen Programm verwendet.";
    QTest::newRow("27") << 27 << "Die Verknüpfung dieses Dateityps mit einem Programm ist unvollständig oder ungültig.";
    QTest::newRow("28") << 28 << "Das Programm für diese Datei hat nicht rechtzeitig geantwortet.";
    QTest::newRow("29") << 29 << "Das Programm für diese Datei hat den Auftrag nicht angenommen.";
    QTest::newRow("30") << 30 << "Das Programm für diese Datei ist noch mit anderen Aufträgen beschäftigt.";
    QTest::newRow("31: no program, what to install")
        << 31
        << "Auf diesem Computer ist kein Programm für RTF-Dateien eingerichtet.\r"
           "Installieren Sie bitte eine Textverarbeitung, z. B. LibreOffice, und öffnen Sie die Datei danach erneut.";
    QTest::newRow("32") << 32 << "Eine Programmbibliothek wurde nicht gefunden.";
    QTest::newRow("other") << 99 << "Der Grund ist unbekannt.";
}

void TestReportComponent::openingFailureNamesTheReason()
{
    QFETCH(int, error);
    QFETCH(QString, reason);
    writeFile(path("T.rtf"), document("x"));
    RecordingDocumentOpener opener;
    opener.answer = {false, error};
    TRtfReport r;
    r.setDocumentOpener(&opener);
    r.setInFile(path("T.rtf"));
    r.setOutFile(path("out.rtf"));
    QCOMPARE(failureOf([&] { r.RunReportAndOpen({}, 5); }),
             "Der Ausdruck wurde gespeichert, ließ sich aber nicht öffnen:\r" + QDir::toNativeSeparators(path("out.rtf"))
                 + "\r\r" + reason);
    // The written output stays on disk.
    QCOMPARE(readFile(path("out.rtf")), document("x"));
}

void TestReportComponent::controlsDetachedAndRestored()
{
    writeFile(path("ok.rtf"), document("\\\\SCAN(A)\\\\\\\\ENDSCAN\\\\"));
    writeFile(path("bad.rtf"), document("\\\\1/0\\\\"));
    auto a = sampleRows(QStringLiteral("qrA"));
    auto b = sampleRows(QStringLiteral("qrB"));
    b->disableControls();  // already detached by its owner: stays so
    RecordingDocumentOpener opener;
    TRtfReport r;
    r.setDocumentOpener(&opener);
    r.setOutFile(path("out.rtf"));
    for (const char *tpl : {"ok.rtf", "bad.rtf"}) {
        r.setInFile(path(tpl));
        failureOf([&] { r.RunReportAndOpen({a.get(), b.get()}, 5); });
        QCOMPARE(a->controlsDisableCount(), 0);
        QCOMPARE(b->controlsDisableCount(), 1);
    }
    QCOMPARE(r.aliasTable(), QStringList({QStringLiteral("QRA=0"), QStringLiteral("QRB=1")}));
    QCOMPARE(r.LastError(), QStringLiteral("Division by zero. Operation \"/\", expression 1/0"));
}

void TestReportComponent::anyFailureEndsTheRun()
{
    // A failure that is none of the engine's own still ends the run cleanly.
    struct BrokenOpener : DocumentOpener
    {
        Result open(const QString &, int) override { throw std::runtime_error("kaputt"); }
    };
    writeFile(path("ok.rtf"), document("\\SCAN(A)\\\\ENDSCAN\\"));
    auto a = sampleRows(QStringLiteral("qrA"));
    BrokenOpener broken;
    TRtfReport r;
    r.setDocumentOpener(&broken);
    r.setInFile(path("ok.rtf"));
    r.setOutFile(path("out.rtf"));
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, r.RunReportAndOpen({a.get()}, 5));
    QCOMPARE(a->controlsDisableCount(), 0);
    RecordingDocumentOpener opener;
    r.setDocumentOpener(&opener);
    QCOMPARE(failureOf([&] { r.RunReportAndOpen({a.get()}, 5); }), QString());
}

void TestReportComponent::templateCacheFollowsTheFile()
{
    const QString in = path("T.rtf");
    writeFile(in, document("eins"));
    RecordingDocumentOpener opener;
    TRtfReport r;
    r.setDocumentOpener(&opener);
    r.setInFile(in);
    r.setOutFile(path("out.rtf"));
    r.RunReport({});
    writeFile(in, document("zwei, geändert"));
    r.RunReport({});
    QCOMPARE(readFile(path("out.rtf")), document("zwei, geändert"));
}

void TestReportComponent::lettersStandForPositions()
{
    auto first = sampleRows(QStringLiteral("qrEins"));
    auto second = sampleRows(QStringLiteral("B"));
    auto third = sampleRows(QStringLiteral("qrDrei"));
    second->next();
    third->last();
    // "B" is the second set's own name; "C" is the third position; names ignore case.
    const QByteArray out = render(document("\\\\A:betrag\\\\\\\\B:betrag\\\\\\\\C:betrag\\\\\\\\QRDREI:betrag\\\\"), {},
                                  {first.get(), second.get(), third.get()});
    QCOMPARE(body(out), QByteArray("\\lang0 1\\lang0 2\\lang0 3\\lang0 3"));
}

void TestReportComponent::unknownFieldsAreListed()
{
    // A misspelt name is left in the letter, as intended, and listed once with its line.
    TRtfReport r;
    r.AddVariable(QStringLiteral("ekAktenzeichen"), QStringLiteral("4711"));
    const QByteArray out = r.renderTemplate("{\\rtf1\\ansi \\\\ekAktenzeichn\\\\\\par\n"
                                            "\\\\ekAktenzeichen\\\\\\par\n"
                                            "\\\\EKAKTENZEICHN\\\\ \\\\IF(1=2)\\\\\\\\Nam e\\\\\\\\ENDIF\\\\}",
                                            {});
    QVERIFY(out.contains("\\\\ekAktenzeichn\\\\"));
    const std::vector<UnknownField> expected = {{QStringLiteral("ekAktenzeichn"), 1}, {QStringLiteral("Name"), 3}};
    QVERIFY(r.unknownFields() == expected);
    r.renderTemplate("{\\rtf1 \\\\ekAktenzeichen\\\\}", {});
    QVERIFY(r.unknownFields().empty());
}

void TestReportComponent::userDefinedFunctions()
{
    TReportUdfList list;
    TReportUdf twice;
    twice.Name = QStringLiteral("DOPPELT");
    twice.ArgMinCount = 1;
    twice.ArgMaxCount = 1;
    twice.ResultType_ = TReportUdf::udfrTReportVariable;
    twice.OnCalculate = [](const TReportUdf &, const std::vector<ReportValue> &args, int, TReportUdf::Result &result) {
        result.value = ReportValue::fromNumber(args[0].number * 2);
    };
    list.add(twice);
    QCOMPARE(failureOf([&] { list.add(twice); }), QStringLiteral("User defined function with name DOPPELT already exists"));
    TReportUdf bad = twice;
    bad.Name = QStringLiteral("2x");
    QCOMPARE(failureOf([&] { list.add(bad); }), QStringLiteral("Illegal function name 2x"));

    TRtfReport r;
    // Looked up before the built-in names.
    TReportUdf trim = twice;
    trim.Name = QStringLiteral("trim");
    list.add(trim);
    r.setUDFList(&list);
    QCOMPARE(body(render(document("\\\\DOPPELT(21)\\\\ \\\\TRIM(2)\\\\"), {}, {}, &r)), QByteArray("\\lang0 42 \\lang0 4"));
    QCOMPARE(errorOf(document("\\\\DOPPELT(1,2)\\\\")), QStringLiteral("Function not found: DOPPELT"));

    // Pictures and functions without a result cannot take part in expressions.
    TReportUdf picture = twice;
    picture.Name = QStringLiteral("BILD");
    picture.ResultType_ = TReportUdf::udfrTPicture;
    list.add(picture);
    TReportUdf nothing = twice;
    nothing.Name = QStringLiteral("NICHTS");
    nothing.ResultType_ = TReportUdf::udfrNil;
    list.add(nothing);
    QCOMPARE(failureOf([&] { render(document("\\\\(BILD(1))\\\\"), {}, {}, &r); }),
             QStringLiteral("Illegal brackets use in expression: (BILD(1)) - result type udfrTReportVariable expected inside the brackets"));
    QCOMPARE(failureOf([&] { render(document("\\\\1+NICHTS(1)\\\\"), {}, {}, &r); }),
             QStringLiteral("Cannot use NICHTS(1) as argument for another expression"));
    QCOMPARE(body(render(document("[\\\\NICHTS(1)\\\\]"), {}, {}, &r)), QByteArray("[]"));

    TReportUdfList old;
    old.setVersion(305);
    QCOMPARE(failureOf([&] { r.setUDFList(&old); }), QStringLiteral("TRtfReport version 306 doesn't equal TReportUdfList version 305"));

    // Changing the list from inside a running report is refused.
    TReportUdfList meddling;
    TReportUdf swap = twice;
    swap.Name = QStringLiteral("TAUSCH");
    swap.OnCalculate = [&](const TReportUdf &, const std::vector<ReportValue> &, int, TReportUdf::Result &) {
        r.setUDFList(nullptr);
    };
    meddling.add(swap);
    r.setUDFList(&meddling);
    writeFile(path("T.rtf"), document("\\\\TAUSCH(1)\\\\"));
    r.setInFile(path("T.rtf"));
    r.setOutFile(path("out.rtf"));
    QCOMPARE(failureOf([&] { r.RunReport({}); }), QStringLiteral("Can't set UDFList while executing report"));
    QCOMPARE(r.UDFList(), &meddling);
}

void TestReportComponent::outputPath_data()
{
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ordinary") << "/out/" << "ab" << "Kontaktliste.rtf" << "/out/abKontaktliste.rtf";
    QTest::newRow("folder without separator") << "/out" << "ab" << "Kontaktliste.rtf" << "/out/abKontaktliste.rtf";
    QTest::newRow("template with folder") << "/out/" << "ab" << "/vorlagen/x/Brief.rtf" << "/out/abBrief.rtf";
    QTest::newRow("Windows folder") << "/out/" << "ab" << "C:\\vorlagen\\Brief.rtf" << "/out/abBrief.rtf";
    QTest::newRow("short name climbing up") << "/out/" << "../../etc/x" << "Brief.rtf" << "/out/____etc_xBrief.rtf";
    QTest::newRow("short name with backslash") << "/out/" << "..\\x" << "Brief.rtf" << "/out/__xBrief.rtf";
    QTest::newRow("drive colon") << "/out/" << "c:" << "Brief.rtf" << "/out/c_Brief.rtf";
    QTest::newRow("only dots") << "/out/" << "" << ".." << "/out/_";
}

void TestReportComponent::outputPath()
{
    QFETCH(QString, dir);
    QFETCH(QString, user);
    QFETCH(QString, file);
    QFETCH(QString, expected);
    QCOMPARE(ReportOutputPath::forPrintout(dir, user, file), expected);
}

QTEST_GUILESS_MAIN(TestReportComponent)
#include "tst_report_component.moc"
