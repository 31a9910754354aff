#include "support/RecordingDocumentOpener.h"

#include "core/AppError.h"
#include "ui/PdfConverter.h"
#include "ui/PdfPreview.h"
#include "ui/Printout.h"
#include "ui/PrintoutSettings.h"
#include "ui/ScriptedDialogs.h"

#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

// Three pages, so paging has somewhere to go.
const QByteArray ThreePages = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 DejaVu Sans;}}\\f0\\fs24 "
                              "Seite eins\\page Seite zwei\\page Seite drei\\par}";

QString writeFile(const QString &path, const QByteArray &content, bool executable = false)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    f.write(content);
    f.close();
    if (executable)
        f.setPermissions(f.permissions() | QFile::ExeOwner);
    return path;
}

QByteArray head(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(5) : QByteArray();
}

} // namespace

class TestPdfPrintout : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QTemporaryDir m_settings;

    void needLibreOffice()
    {
        PdfConverter::setProgram({});
        if (PdfConverter::program().isEmpty())
            QSKIP("LibreOffice (soffice) ist hier nicht installiert: die Umwandlung in PDF lässt sich nicht prüfen");
    }

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
    }

    void cleanup()
    {
        PdfConverter::setProgram({});
        PdfConverter::setTimeoutMs(120000);
        Printout::installOpener(nullptr);
    }

    void convertsBesideTheRtf()
    {
        needLibreOffice();
        const QString rtf = writeFile(m_dir.filePath(QStringLiteral("sbbudget.rtf")), ThreePages);
        const PdfConverter::Result r = PdfConverter::convert(rtf);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(r.pdfPath, m_dir.filePath(QStringLiteral("sbbudget.pdf")));
        QCOMPARE(head(r.pdfPath), QByteArray("%PDF-"));
    }

    void failuresAreReportedInGermanAndLeaveNoOldPdf_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<int>("timeoutMs");
        QTest::addColumn<QString>("message");
        QTest::newRow("bricht ab") << QByteArray("#!/bin/sh\necho 'Error: source file could not be loaded' >&2\nexit 1\n")
                                   << 120000
                                   << QStringLiteral("LibreOffice konnte den Ausdruck %1 nicht in PDF umwandeln.\r"
                                                     "Meldung von LibreOffice: Error: source file could not be loaded");
        // Exit 0 without writing anything: success would be claimed for a file that is not there.
        QTest::newRow("schreibt nichts") << QByteArray("#!/bin/sh\nexit 0\n") << 120000
                                         << QStringLiteral("LibreOffice konnte den Ausdruck %1 nicht in PDF umwandeln.");
        QTest::newRow("haengt") << QByteArray("#!/bin/sh\nexec sleep 30\n") << 2000
                                << QStringLiteral("LibreOffice hat den Ausdruck nicht innerhalb von 2 Sekunden in PDF "
                                                  "umgewandelt; die Umwandlung wurde abgebrochen.");
    }

    void failuresAreReportedInGermanAndLeaveNoOldPdf()
    {
        QFETCH(QByteArray, script);
        QFETCH(int, timeoutMs);
        QFETCH(QString, message);
        const QString rtf = writeFile(m_dir.filePath(QStringLiteral("fail.rtf")), ThreePages);
        const QString oldPdf = writeFile(m_dir.filePath(QStringLiteral("fail.pdf")), "%PDF- von gestern");
        PdfConverter::setProgram(writeFile(m_dir.filePath(QStringLiteral("fake-soffice")), script, true));
        PdfConverter::setTimeoutMs(timeoutMs);
        const PdfConverter::Result r = PdfConverter::convert(rtf);
        QVERIFY(!r.ok);
        QCOMPARE(r.error, message.contains(QStringLiteral("%1")) ? message.arg(rtf) : message);
        QVERIFY(!QFile::exists(oldPdf));
    }

    void missingLibreOfficeStopsThePrintoutWithAGermanError()
    {
        PdfConverter::setProgram(QStringLiteral("/nicht/vorhanden/soffice"));
        RecordingDocumentOpener recording;
        Printout::installOpener(&recording);
        const QString rtf = writeFile(m_dir.filePath(QStringLiteral("brief.rtf")), ThreePages);
        Printout::OutputScope pdf(Printout::Output::Pdf);
        try {
            Printout::opener()->open(rtf, 5);
            QFAIL("no error");
        } catch (const AppError &e) {
            QCOMPARE(e.message(), QStringLiteral("Ausdrucke als PDF brauchen LibreOffice, es ist auf diesem Rechner "
                                                 "aber nicht installiert.\rDer Ausdruck liegt als RTF-Datei vor: ")
                                      + rtf);
        }
        QVERIFY(recording.opened.isEmpty());
    }

    void documentOutputAndOtherFilesPassThrough()
    {
        PdfConverter::setProgram(QStringLiteral("/nicht/vorhanden/soffice"));
        RecordingDocumentOpener recording;
        Printout::installOpener(&recording);
        QCOMPARE(Printout::output(), Printout::Output::Document);
        Printout::opener()->open(QStringLiteral("/tmp/a.rtf"), 5);
        {
            // Only RTF printouts are converted; a document of the Infothek may be anything.
            Printout::OutputScope pdf(Printout::Output::Pdf);
            Printout::opener()->open(QStringLiteral("/tmp/b.odt"), 5);
        }
        QCOMPARE(recording.opened, QStringList({QStringLiteral("/tmp/a.rtf"), QStringLiteral("/tmp/b.odt")}));
    }

    void settingIsPerUser()
    {
        PrintoutSettings::setPdf(QStringLiteral("MK"), true);
        PrintoutSettings::setPdf(QStringLiteral("a/b"), true);
        QVERIFY(PrintoutSettings::pdf(QStringLiteral("mk")));
        QVERIFY(!PrintoutSettings::pdf(QStringLiteral("sb")));
        QVERIFY(PrintoutSettings::pdf(QStringLiteral("a/b")));
        QVERIFY(!PrintoutSettings::pdf(QStringLiteral("a")));
        // Without a logged-in user nothing is stored and nothing is switched on.
        PrintoutSettings::setPdf(QString(), true);
        QVERIFY(!PrintoutSettings::pdf(QString()));
        PrintoutSettings::setPdf(QStringLiteral("mk"), false);
        QVERIFY(!PrintoutSettings::pdf(QStringLiteral("MK")));
    }

    void menuEntriesRunTheButtonsPrintoutOnce()
    {
        QToolButton button;
        button.setObjectName(QStringLiteral("tbutDruck"));
        QList<Printout::Output> seen;
        connect(&button, &QToolButton::clicked, &button, [&] { seen << Printout::output(); });
        Printout::offerPdf(&button);
        button.click();
        button.findChild<QAction *>(QStringLiteral("tbutDruckPdf"))->trigger();
        button.findChild<QAction *>(QStringLiteral("tbutDruckVorschau"))->trigger();
        button.click();
        QCOMPARE(seen, QList<Printout::Output>({Printout::Output::Document, Printout::Output::Pdf,
                                                Printout::Output::Preview, Printout::Output::Document}));
    }

    void previewPagesZoomsPrintsAndOpensTheRtf()
    {
        needLibreOffice();
        const QString rtf = writeFile(m_dir.filePath(QStringLiteral("vorschau.rtf")), ThreePages);
        const PdfConverter::Result r = PdfConverter::convert(rtf);
        QVERIFY2(r.ok, qPrintable(r.error));
        RecordingDocumentOpener recording;
        ScriptedDialogs dialogs;
        PdfPreview preview(r.pdfPath, rtf, &recording);
        preview.show();
        QCOMPARE(preview.pageCount(), 3);
        auto *label = preview.findChild<QLabel *>(QStringLiteral("pdfLblSeite"));
        auto *prior = preview.findChild<QToolButton *>(QStringLiteral("pdfTbutVorige"));
        auto *next = preview.findChild<QToolButton *>(QStringLiteral("pdfTbutNaechste"));
        QCOMPARE(label->text(), QStringLiteral("Seite 1 von 3"));
        QVERIFY(!prior->isEnabled());
        next->click();
        next->click();
        QCOMPARE(preview.currentPage(), 2);
        QCOMPARE(label->text(), QStringLiteral("Seite 3 von 3"));
        QVERIFY(!next->isEnabled());
        prior->click();
        QCOMPARE(label->text(), QStringLiteral("Seite 2 von 3"));

        preview.findChild<QToolButton *>(QStringLiteral("pdfTbutVergroessern"))->click();
        const qreal zoomed = preview.zoomFactor();
        preview.findChild<QToolButton *>(QStringLiteral("pdfTbutVergroessern"))->click();
        QVERIFY(preview.zoomFactor() > zoomed);
        preview.findChild<QToolButton *>(QStringLiteral("pdfTbutVerkleinern"))->click();
        QVERIFY(qAbs(preview.zoomFactor() - zoomed) < 1e-6);

        // The system's print dialog fills the printer; what the preview then prints is checked here.
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_dir.filePath(QStringLiteral("gedruckt.pdf")));
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 3);
        QVERIFY(preview.printTo(printer));
        QCOMPARE(head(printer.outputFileName()), QByteArray("%PDF-"));

        preview.findChild<QToolButton *>(QStringLiteral("pdfTbutTextverarbeitung"))->click();
        QCOMPARE(recording.opened, QStringList{rtf});
        recording.answer = {false, 31};
        preview.findChild<QToolButton *>(QStringLiteral("pdfTbutTextverarbeitung"))->click();
        QCOMPARE(dialogs.lastText(), QStringLiteral("Der Ausdruck ließ sich nicht in der Textverarbeitung öffnen.\r"
                                                    "Auf diesem Computer ist kein Programm für RTF-Dateien "
                                                    "eingerichtet.\rInstallieren Sie bitte eine Textverarbeitung, "
                                                    "z. B. LibreOffice, und öffnen Sie die Datei danach erneut."));
    }
};

QTEST_MAIN(TestPdfPrintout)
#include "tst_pdfprintout.moc"
