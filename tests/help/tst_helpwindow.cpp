#include "support/GuiTest.h"
#include "support/RecordingDocumentOpener.h"
#include "support/TempDatabase.h"

#include "budget/BudgetPage.h"
#include "budget/rules/BudgetHandlers.h"
#include "data/DataModules.h"
#include "help/HelpPanel.h"
#include "help/HelpSetup.h"
#include "help/TFormProgInfo.h"
#include "ui/Guard.h"
#include "ui/Help.h"
#include "ui/Printout.h"
#include "ui/RecordDialog.h"
#include "ui/ScriptedDialogs.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

QStringList headings(DataSet *texts)
{
    QStringList h;
    for (int r = 0; r < texts->recordCount(); ++r)
        h << texts->valueAt(r, texts->fieldIndex("Rubrik")).toString();
    return h;
}

} // namespace

class TestHelpWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempDatabase> m_tmp;
    std::unique_ptr<QTemporaryDir> m_out;
    std::unique_ptr<DataModules> m_dm;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<HelpPanel> m_panel;
    RecordingDocumentOpener m_opener;

    DataSet *texts() { return m_dm->dmFirma->qrProgInfo; }
    void click(QWidget *root, const QString &name) { GuiTest::find<QAbstractButton>(root, name)->click(); }

private slots:
    void init()
    {
        m_tmp = std::make_unique<TempDatabase>();
        m_out = std::make_unique<QTemporaryDir>();
        m_dm = std::make_unique<DataModules>();
        m_tmp->openIn(m_dm->db);
        m_dm->db.exec("update firma set FReportIn = :in, FReportOut = :out",
                      {{"in", qEnvironmentVariable("FINORRA_SOURCE_DIR") + "/resources/Reportvorlagen/"},
                       {"out", m_out->path() + '/'}});
        QVERIFY(m_dm->dmMP->lookupUser("sb"));
        m_dialogs = std::make_unique<ScriptedDialogs>();
        Printout::installOpener(&m_opener);
        HelpSetup::install(*m_dm);
        m_panel = std::make_unique<HelpPanel>(*m_dm);
    }
    void cleanup()
    {
        m_panel.reset();
        Help::install({});
        Printout::installOpener(nullptr);
        m_dialogs.reset();
        m_dm.reset();
        m_out.reset();
        m_tmp.reset();
    }

    void panelSearchesAndPrints()
    {
        auto *toggle = GuiTest::find<QPushButton>(m_panel.get(), "btnHilfe");
        QCOMPARE(toggle->text(), QStringLiteral("Hilfe aufrufen"));
        toggle->click();
        QCOMPARE(toggle->text(), QStringLiteral("Hilfe verbergen"));
        QVERIFY(!GuiTest::find<QWidget>(m_panel.get(), "gbBedienungshinweise")->isHidden());

        GuiTest::find<QLineEdit>(m_panel.get(), "eHilfeSuchen")->setText("BUD");
        click(m_panel.get(), "btnHilfeGo");
        QCOMPARE(headings(texts()), QStringList{"Budget - Haushaltsplan erstellen"});
        click(m_panel.get(), "btnHilfeAusdruck");
        QCOMPARE(m_dialogs->texts(), QStringList());
        QFile out(m_out->filePath("sbProgramminfo.rtf"));
        QVERIFY(out.open(QIODevice::ReadOnly));
        const QByteArray rtf = out.readAll();
        QVERIFY(rtf.contains("Budget - Haushaltsplan erstellen"));
        QVERIFY(rtf.contains("\\par So gehen Sie vor:"));   // the text's lines stay lines
        click(m_panel.get(), "btnHilfeOhneFilter");
        QVERIFY(texts()->recordCount() >= 10);
        toggle->click();
        QCOMPARE(toggle->text(), QStringLiteral("Hilfe aufrufen"));
    }

    // A page's "Hilfe" opens the texts read-only with its keyword ready to filter; afterwards
    // the Home panel cannot change them until "Bearbeiten" opened them for writing.
    void hilfeButtonOpensReadOnlyWithItsKeyword()
    {
        new BudgetHandlers(*m_dm->dmHh, *m_dm->dmMP);
        BudgetPage page(*m_dm);
        const int all = m_dm->db.scalar("select count(*) from programminfo").toInt();
        bool shown = false;
        RecordDialog::whenShown([&](QDialog *dlg) {
            shown = true;
            QCOMPARE(dlg->windowTitle(), QStringLiteral("Programminfos bearbeiten ...."));
            auto *search = GuiTest::find<QLineEdit>(dlg, "piSuchen");
            QCOMPARE(search->text(), QStringLiteral("Budget"));
            QCOMPARE(texts()->recordCount(), all);   // not filtered yet
            QTest::keyClick(search, Qt::Key_Return);
            QCOMPARE(headings(texts()), QStringList{"Budget - Haushaltsplan erstellen"});
            QVERIFY(GuiTest::find<QLineEdit>(dlg, "piDbeRubrik")->isReadOnly());
            // Read-only, the window offers no button that could only fail.
            for (const char *b : {"piTbutNeu", "piTbutSpeichern", "piTbutAbbruch", "piTbutLoeschen"})
                QVERIFY2(!GuiTest::find<QWidget>(dlg, b)->isVisible(), b);
            QVERIFY(GuiTest::find<QWidget>(dlg, "piTbutDrucken")->isVisible());
            // The texts themselves refuse a change as well.
            guarded([&] { texts()->append(); });
            QCOMPARE(m_dialogs->texts(), QStringList{DataSet::ReadOnlyMessage});
            m_dialogs->clear();
            click(dlg, "piTbutSchliessen");
        });
        GuiTest::find<QAbstractButton>(&page, "budTbutHilfe")->click();
        QCOMPARE(m_dialogs->texts().join('|'), QString());
        QVERIFY(shown);
        QCOMPARE(texts()->recordCount(), all);   // closing shows all texts again
        QVERIFY(GuiTest::find<QPlainTextEdit>(m_panel.get(), "dbmHilfeText")->isReadOnly());

        // "Bearbeiten": a new heading without text, closed without saving, stores nothing;
        // a saved one is kept.
        RecordDialog::whenShown([&](QDialog *dlg) {
            QVERIFY(!texts()->isReadOnly());
            for (const char *b : {"piTbutNeu", "piTbutLoeschen"})
                QVERIFY2(GuiTest::find<QWidget>(dlg, b)->isVisible(), b);
            click(dlg, "piTbutNeu");
            GuiTest::type(GuiTest::find<QLineEdit>(dlg, "piDbeRubrik"), "Neue Rubrik");
            click(dlg, "piTbutSchliessen");
        });
        click(m_panel.get(), "btnHilfeBearbeiten");
        QCOMPARE(m_dm->db.scalar("select count(*) from programminfo").toInt(), all);
        RecordDialog::whenShown([&](QDialog *dlg) {
            click(dlg, "piTbutNeu");
            GuiTest::type(GuiTest::find<QLineEdit>(dlg, "piDbeRubrik"), "Eigene Hinweise");
            click(dlg, "piTbutSpeichern");
            click(dlg, "piTbutSchliessen");
        });
        click(m_panel.get(), "btnHilfeBearbeiten");
        QCOMPARE(m_dm->db.scalar("select count(*) from programminfo where Rubrik = 'Eigene Hinweise'").toInt(), 1);
        QVERIFY(!GuiTest::find<QPlainTextEdit>(m_panel.get(), "dbmHilfeText")->isReadOnly());
    }
};

QTEST_MAIN(TestHelpWindow)
#include "tst_helpwindow.moc"
