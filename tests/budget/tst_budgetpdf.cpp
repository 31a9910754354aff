#include "support/RecordingDocumentOpener.h"
#include "support/TempDatabase.h"

#include "budget/BudgetPage.h"
#include "budget/rules/BudgetHandlers.h"
#include "data/DataModules.h"
#include "ui/PdfConverter.h"
#include "ui/PdfPreview.h"
#include "ui/Printout.h"
#include "ui/PrintoutSettings.h"
#include "ui/RecordDialog.h"
#include "ui/ScriptedDialogs.h"

#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QTest>
#include <QToolButton>

// A budget printout as PDF and in the preview, through the page's own buttons and the real
// LibreOffice.
class TestBudgetPdf : public QObject
{
    Q_OBJECT

    QTemporaryDir m_settings;
    std::unique_ptr<TempDatabase> m_tmp;
    std::unique_ptr<QTemporaryDir> m_out;
    std::unique_ptr<DataModules> m_dm;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<BudgetPage> m_page;
    RecordingDocumentOpener m_opener;

    QToolButton *button(const char *name) { return m_page->findChild<QToolButton *>(QLatin1String(name)); }
    QAction *entry(const char *name) { return m_page->findChild<QAction *>(QLatin1String(name)); }
    QString out(const QString &name) const { return m_out->filePath(name); }

    void needLibreOffice()
    {
        if (PdfConverter::program().isEmpty())
            QSKIP("LibreOffice (soffice) ist hier nicht installiert: Ausdrucke als PDF lassen sich nicht prüfen");
    }

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
    }

    void init()
    {
        m_tmp = std::make_unique<TempDatabase>();
        m_out = std::make_unique<QTemporaryDir>();
        {
            auto db = m_tmp->connect();
            db->exec("update firma set FReportIn = :in, FReportOut = :out",
                     {{"in", qEnvironmentVariable("FINORRA_SOURCE_DIR") + "/resources/Reportvorlagen/"},
                      {"out", m_out->path() + '/'}});
            db->exec("insert into budget (BudTitel, User_id, Bud_Personen, Sum_Ek, Sum_Wk) "
                     "values ('Familie Muster', 1, 3, 1000, 400)");
            db->exec("insert into bud_einkommen (Bud_id, Ek_bez, Ek_Betrag, Ek_monat, Ek_zahlung) "
                     "values (1, 'Lohn', 1000, '01', 'monatlich')");
        }
        m_dm = std::make_unique<DataModules>();
        m_tmp->openIn(m_dm->db);
        new BudgetHandlers(*m_dm->dmHh, *m_dm->dmMP);
        QVERIFY(m_dm->dmMP->lookupUser("sb"));
        m_dialogs = std::make_unique<ScriptedDialogs>();
        m_opener.opened.clear();
        m_opener.answer = {};
        Printout::installOpener(&m_opener);
        m_page = std::make_unique<BudgetPage>(*m_dm);
        m_dm->dmHh->qrBudget->reopen();
        for (DataSet *q : m_dm->dmHh->budgetItemQueries())
            q->reopen();
    }

    void cleanup()
    {
        m_page.reset();
        Printout::installOpener(nullptr);
        PdfConverter::setProgram({});
        PrintoutSettings::setPdf("sb", false);
        m_dialogs.reset();
        m_dm.reset();
        m_out.reset();
        m_tmp.reset();
    }

    void everyPrintButtonOffersPdfAndPreview()
    {
        for (const char *name : {"budTbutHhMonat", "budTbutBudgetplan", "budTbutBlanko"}) {
            QToolButton *b = button(name);
            QCOMPARE(b->popupMode(), QToolButton::MenuButtonPopup);
            QStringList texts;
            for (QAction *a : b->menu()->actions())
                texts << a->text();
            QCOMPARE(texts, QStringList({"Als &PDF", "&Vorschau"}));
        }
    }

    void asPdfOpensThePdfBesideTheRtf()
    {
        needLibreOffice();
        entry("budTbutBudgetplanPdf")->trigger();
        QVERIFY2(m_dialogs->texts().isEmpty(), qPrintable(m_dialogs->texts().join('|')));
        QCOMPARE(m_opener.opened, QStringList{out("sbBudgetplan.pdf")});
        QVERIFY(QFile::exists(out("sbBudgetplan.rtf")));
        QFile pdf(out("sbBudgetplan.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QCOMPARE(pdf.read(5), QByteArray("%PDF-"));
    }

    void userSettingTurnsTheButtonItselfToPdf()
    {
        needLibreOffice();
        PrintoutSettings::setPdf("SB", true);
        PrintoutSettings::setPdf("mk", false);
        button("budTbutHhMonat")->click();
        QCOMPARE(m_opener.opened, QStringList{out("sbHaushaltsplan.pdf")});
        PrintoutSettings::setPdf("sb", false);
        button("budTbutHhMonat")->click();
        QCOMPARE(m_opener.opened.last(), out("sbHaushaltsplan.rtf"));
    }

    void previewShowsThePrintout()
    {
        needLibreOffice();
        int pages = 0;
        QString title, pageText;
        RecordDialog::whenShown(
            [&](QDialog *dlg) {
                title = dlg->objectName();
                if (auto *preview = qobject_cast<PdfPreview *>(dlg)) {
                    pages = preview->pageCount();
                    pageText = preview->findChild<QLabel *>("pdfLblSeite")->text();
                }
                dlg->findChild<QToolButton *>("pdfTbutSchliessen")->click();
            },
            120000);
        entry("budTbutBudgetplanVorschau")->trigger();
        QVERIFY2(m_dialogs->texts().isEmpty(), qPrintable(m_dialogs->texts().join('|')));
        QCOMPARE(title, QStringLiteral("frmPdfVorschau"));
        QVERIFY(pages >= 1);
        QCOMPARE(pageText, QStringLiteral("Seite 1 von %1").arg(pages));
        // The preview opened nothing by itself.
        QVERIFY(m_opener.opened.isEmpty());
        QVERIFY(QFile::exists(out("sbBudgetplan.pdf")));
    }

    void missingLibreOfficeIsReportedAndNothingOpens()
    {
        PdfConverter::setProgram("/nicht/vorhanden/soffice");
        entry("budTbutBudgetplanPdf")->trigger();
        QCOMPARE(m_dialogs->texts(),
                 QStringList{"Ausdrucke als PDF brauchen LibreOffice, es ist auf diesem Rechner aber nicht installiert."
                             "\rDer Ausdruck liegt als RTF-Datei vor: "
                             + out("sbBudgetplan.rtf")});
        QVERIFY(m_opener.opened.isEmpty());
    }
};

QTEST_MAIN(TestBudgetPdf)
#include "tst_budgetpdf.moc"
