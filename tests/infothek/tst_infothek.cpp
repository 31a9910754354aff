#include "support/GuiTest.h"
#include "support/ReadFile.h"
#include "support/RecordingDocumentOpener.h"
#include "support/TempDatabase.h"

#include "data/DataModules.h"
#include "infothek/InfothekModule.h"
#include "infothek/rules/InfothekRules.h"
#include "ui/DbGrid.h"
#include "ui/Printout.h"
#include "ui/RecordDialog.h"
#include "ui/ScriptedDialogs.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

namespace {

void write(const QString &path, const QByteArray &content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

const QByteArray Document = "{\\rtf1\\ansi {\\header \\\\ekFirma\\\\\\par}Antrag auf Ratenzahlung\\par \\\\ekFuss\\\\\\par}";

} // namespace

class TestInfothek : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempDatabase> m_tmp;
    std::unique_ptr<QTemporaryDir> m_files;
    std::unique_ptr<DataModules> m_dm;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<InfothekModule> m_module;
    std::unique_ptr<QWidget> m_page;
    RecordingDocumentOpener m_opener;

    DataSet *documents() { return m_dm->dmExtras->qrInfos; }
    DataSet *rubrics() { return m_dm->dmExtras->qrInfoRubrik; }
    QString dir(const QString &name) { return m_files->filePath(name) + '/'; }
    QString out() { return dir("Reportausgabe"); }
    void click(QWidget *root, const QString &name) { GuiTest::find<QAbstractButton>(root, name)->click(); }
    void click(const QString &name) { click(m_page.get(), name); }
    QString shown(const QString &label) { return GuiTest::find<QLabel>(m_page.get(), label)->text(); }
    QStringList listed()
    {
        QStringList l;
        for (int r = 0; r < documents()->recordCount(); ++r)
            l << documents()->valueAt(r, documents()->fieldIndex("Kurz")).toString();
        return l;
    }
    void search(const QString &text, bool keywords = false)
    {
        GuiTest::find<QRadioButton>(m_page.get(), keywords ? "itrbSchlag" : "itrbKurz")->click();
        GuiTest::find<QLineEdit>(m_page.get(), "iteSuchen")->setText(text);
        click("itbutGo");
    }
    void selectRubric(int row) { rubrics()->moveTo(row); }

private slots:
    void init()
    {
        m_tmp = std::make_unique<TempDatabase>();
        m_files = std::make_unique<QTemporaryDir>();
        for (const char *d : {"Formulare", "Musterbriefe", "Reportausgabe", "Anderswo"})
            QVERIFY(QDir(m_files->path()).mkdir(d));
        write(dir("Musterbriefe") + "Ratenplan.rtf", Document);
        write(m_files->filePath("geheim.rtf"), Document);
        m_dm = std::make_unique<DataModules>();
        m_tmp->openIn(m_dm->db);
        m_dm->db.exec("update firma set FReportOut = :out", {{"out", out()}});
        m_dm->db.exec("insert into inforubrik (Rubrik, Pfad) values ('Musterbriefe', :m), ('Formulare', :f)",
                      {{"m", dir("Musterbriefe")}, {"f", dir("Formulare")}});
        // Rubric 1 "Musterbriefe" comes second in the list, ordered by name.
        m_dm->db.exec("insert into infothek (Kurz, Rubrik_id, Schlag, Datei) values "
                      "('Ratenplan an Gläubiger', 1, 'raten gläubiger zahlungsplan', 'Ratenplan.rtf'), "
                      "('Antrag Stundung', 1, 'stundung ratenpause', 'Stundung.rtf'), "
                      "('Schuldner''s Brief', 1, 'brief', ''), "
                      "('Haushaltsfragebogen', 2, 'budget raten fragebogen', 'Fragebogen.rtf'), "
                      "('Antrag P-Konto', 2, 'pfändungsschutz konto', 'PKonto.rtf')");
        QVERIFY(m_dm->dmMP->lookupUser("sb"));
        m_dialogs = std::make_unique<ScriptedDialogs>();
        Printout::installOpener(&m_opener);
        m_opener.opened.clear();
        m_opener.answer = {};
        m_module = std::make_unique<InfothekModule>(*m_dm);
        m_page.reset(m_module->createPage(nullptr));
        m_module->activate();
    }
    void cleanup()
    {
        m_page.reset();
        m_module.reset();
        Printout::installOpener(nullptr);
        m_dialogs.reset();
        m_dm.reset();
        m_files.reset();
        m_tmp.reset();
    }

    void searchTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("keywords");
        QTest::addColumn<QString>("sql");
        QTest::newRow("short description, A to Z lowered, umlauts kept")
            << "ÄRGER Über" << false
            << "Select * from infothek where  rubrik_id = :pvrubrik_id and lower(kurz) like '%Ärger Über%' order by kurz";
        QTest::newRow("keywords, quote doubled")
            << "O'Neil" << true
            << "Select * from infothek where rubrik_id = :pvrubrik_id and lower(schlag) like '%o''neil%' order by kurz";
        QTest::newRow("empty") << "" << false
                               << "Select * from infothek where  rubrik_id = :pvrubrik_id and lower(kurz) like '%%' order by kurz";
    }
    void searchTexts()
    {
        QFETCH(QString, text);
        QFETCH(bool, keywords);
        QFETCH(QString, sql);
        QCOMPARE(InfothekRules::searchSql(text, keywords ? InfothekRules::SearchIn::Keywords
                                                         : InfothekRules::SearchIn::ShortDescription),
                 sql);
    }

    void rubricsListTheirDocuments()
    {
        QCOMPARE(rubrics()->asString("Rubrik"), QStringLiteral("Formulare"));
        QCOMPARE(listed(), QStringList({"Antrag P-Konto", "Haushaltsfragebogen"}));
        QCOMPARE(shown("itlblRubrik"), QStringLiteral("Formulare"));
        QCOMPARE(shown("itlblPfad"), dir("Formulare"));
        // A document being edited is stored when the rubric changes.
        documents()->edit();
        documents()->setValue("Schlag", "pfändungsschutz konto bescheinigung");
        selectRubric(1);
        QCOMPARE(m_dm->db.scalar("select Schlag from infothek where Kurz = 'Antrag P-Konto'").toString(),
                 QStringLiteral("pfändungsschutz konto bescheinigung"));
        QCOMPARE(listed(), QStringList({"Antrag Stundung", "Ratenplan an Gläubiger", "Schuldner's Brief"}));
        QCOMPARE(shown("itlblRubrik"), QStringLiteral("Musterbriefe"));
        QCOMPARE(shown("itlblDatei"), QStringLiteral("Stundung.rtf"));
    }

    // A search stays in force when the rubric changes, until the next one; keywords are
    // ordered by the short description as well; a quote does not break the query.
    void searching()
    {
        search("ANTRAG");
        QCOMPARE(listed(), QStringList{"Antrag P-Konto"});
        selectRubric(1);
        QCOMPARE(listed(), QStringList{"Antrag Stundung"});
        search("raten", true);
        QCOMPARE(listed(), QStringList({"Antrag Stundung", "Ratenplan an Gläubiger"}));
        selectRubric(0);
        QCOMPARE(listed(), QStringList{"Haushaltsfragebogen"});
        selectRubric(1);
        search("r's");
        QCOMPARE(listed(), QStringList{"Schuldner's Brief"});
        QCOMPARE(m_dialogs->texts(), QStringList());
        search("");
        QCOMPARE(listed().size(), 3);
    }

    // Enter starts the search wherever the focus is on the page.
    void enterSearchesFromAnywhere()
    {
        GuiTest::find<QLineEdit>(m_page.get(), "iteSuchen")->setText("antrag");
        for (const char *field : {"iteSuchen", "itdbgRubrik", "itdbeKurz", "itrbSchlag"}) {
            documents()->close();
            documents()->setSql("select * from Infothek where rubrik_id = :pvrubrik_id order by kurz");
            m_module->activate();
            QCOMPARE(listed().size(), 2);
            auto *w = GuiTest::find<QWidget>(m_page.get(), field);
            w->setFocus();
            QTest::keyClick(w, Qt::Key_Return);
            QVERIFY2(!documents()->isPending(), field);
            QCOMPARE(listed(), QStringList{"Antrag P-Konto"});
            GuiTest::find<QRadioButton>(m_page.get(), "itrbKurz")->click();
        }
        QCOMPARE(m_dialogs->texts(), QStringList());
    }

    // A document that cannot be stored keeps its rubric: the rubric list goes back to it, so
    // the list beside it and what was typed still belong together.
    void refusedSaveKeepsTheRubric()
    {
        m_dm->db.exec("update infothek set Datei = '../geheim.rtf' where Kurz = 'Antrag P-Konto'");
        m_module->activate();
        QVERIFY(documents()->locate("Kurz", "Antrag P-Konto"));
        auto *kurz = GuiTest::find<QLineEdit>(m_page.get(), "itdbeKurz");
        kurz->end(false);
        GuiTest::type(kurz, " (alt)");
        auto *rubricList = GuiTest::find<DbGrid>(m_page.get(), "itdbgRubrik");
        rubricList->setCurrentIndex(rubricList->model()->index(1, 0));
        QCOMPARE(m_dialogs->texts(), QStringList{InfothekRules::notPlainMessage("../geheim.rtf")});
        QCOMPARE(rubrics()->asString("Rubrik"), QStringLiteral("Formulare"));
        QCOMPARE(rubricList->currentIndex().row(), 0);
        QCOMPARE(listed(), QStringList({"Antrag P-Konto (alt)", "Haushaltsfragebogen"}));
        QVERIFY(documents()->isPending());
        QCOMPARE(documents()->asString("Kurz"), QStringLiteral("Antrag P-Konto (alt)"));
        QCOMPARE(shown("itlblRubrik"), QStringLiteral("Formulare"));

        // Once the document can be stored the rubric changes as asked.
        documents()->cancel();
        rubricList->setCurrentIndex(rubricList->model()->index(1, 0));
        QCOMPARE(rubrics()->asString("Rubrik"), QStringLiteral("Musterbriefe"));
        QCOMPARE(listed().size(), 3);
    }

    // A document that is no RTF file has nothing to fill: it opens as it is, with the
    // desktop's program; when none is there the message says what to install.
    void otherDocumentsOpenAsTheyAre()
    {
        write(dir("Formulare") + "PKonto.pdf", "%PDF-1.4\n%%EOF\n");
        m_dm->db.exec("update infothek set Datei = 'PKonto.pdf' where Kurz = 'Antrag P-Konto'");
        m_module->activate();
        QVERIFY(documents()->locate("Kurz", "Antrag P-Konto"));
        click("itdrucken");
        QCOMPARE(m_dialogs->texts(), QStringList());
        QCOMPARE(m_opener.opened, QStringList{dir("Formulare") + "PKonto.pdf"});
        QCOMPARE(QDir(out()).entryList(QDir::Files), QStringList());

        m_opener.answer = {false, 31};
        click("itdrucken");
        QCOMPARE(m_dialogs->texts(),
                 QStringList{"Das Dokument\r" + QDir::toNativeSeparators(dir("Formulare") + "PKonto.pdf")
                             + "\rließ sich nicht öffnen.\r\rAuf diesem Computer ist kein Programm für PDF-Dateien "
                               "eingerichtet.\rInstallieren Sie bitte ein Programm zum Anzeigen von PDF-Dateien und "
                               "öffnen Sie die Datei danach erneut."});
    }

    void newDocumentsBelongToTheCurrentRubric()
    {
        selectRubric(1);
        click("itneu");
        QCOMPARE(documents()->state(), DataSet::State::Insert);
        QCOMPARE(documents()->value("Rubrik_id").toInt(), 1);
        QCOMPARE(shown("itlblPfad"), dir("Musterbriefe"));
        documents()->cancel();

        // Without rubrics nothing can be created, by "Neu" or by "Dateiname".
        m_dm->db.exec("delete from inforubrik");
        m_module->activate();
        click("itneu");
        click("itbutDatei");
        QCOMPARE(m_dialogs->texts(), QStringList({"Neue Datensätze können noch nicht angelegt werden!\r"
                                                  "Legen Sie vorher die Info-Rubriken fest.",
                                                  "Neue Datensätze können nicht eingefügt werden.\r"
                                                  "Legen Sie vorher die <Info-Rubriken> fest!"}));
        QVERIFY(!documents()->isPending());
        QCOMPARE(documents()->recordCount(), 0);
    }

    // A file chosen in another directory is stored by name only and then looked for in the
    // rubric's directory; a cancelled choice leaves the row as it was.
    void choosingTheFile()
    {
        selectRubric(1);
        documents()->locate("Kurz", "Ratenplan an Gläubiger");
        m_dialogs->answer(dir("Anderswo") + "Vollmacht.rtf");
        click("itbutDatei");
        QCOMPARE(documents()->state(), DataSet::State::Edit);
        QCOMPARE(documents()->asString("Datei"), QStringLiteral("Vollmacht.rtf"));
        click("itspeichern");
        click("itdrucken");
        QCOMPARE(m_dialogs->lastText(), InfothekRules::notFoundMessage(dir("Musterbriefe") + "Vollmacht.rtf"));

        m_dialogs->answer(QString());
        click("itbutDatei");
        QCOMPARE(documents()->state(), DataSet::State::Edit);
        QCOMPARE(documents()->asString("Datei"), QStringLiteral("Vollmacht.rtf"));
        QCOMPARE(m_dialogs->log().last().call, QStringLiteral("chooseFile"));

        // Cut to the column's 80 characters the name would point to another file.
        const QString longName = QString(77, u'x') + ".rtf";
        m_dialogs->answer(dir("Anderswo") + longName);
        click("itbutDatei");
        QCOMPARE(m_dialogs->lastText(),
                 "Der Dateiname\r" + longName + "\rist zu lang: höchstens 80 Zeichen sind möglich.");
        QCOMPARE(documents()->asString("Datei"), QStringLiteral("Vollmacht.rtf"));
    }

    void printingFillsACopy()
    {
        selectRubric(1);
        documents()->locate("Kurz", "Ratenplan an Gläubiger");
        for (int i = 0; i < 2; ++i)
            click("itdrucken");
        QCOMPARE(m_dialogs->texts(), QStringList());
        const QString file = out() + "sbRatenplan.rtf";
        QCOMPARE(m_opener.opened, QStringList({file, file}));
        const QByteArray rtf = readFile(file);
        QCOMPARE(rtf.count("Erstellt mit Finorra 1.0 (Pro)"), 2);
        QVERIFY(!rtf.contains("\\\\ek"));
        QCOMPARE(readFile(dir("Musterbriefe") + "Ratenplan.rtf"), Document);
    }

    void printingWithoutAFile_data()
    {
        QTest::addColumn<QString>("kurz");
        QTest::addColumn<int>("rubric");
        QTest::addColumn<QString>("path");
        QTest::newRow("file missing") << "Antrag Stundung" << 1 << "Musterbriefe/Stundung.rtf";
        QTest::newRow("no file name: the directory alone") << "Schuldner's Brief" << 1 << "Musterbriefe/";
        QTest::newRow("no document: an empty path") << "" << 0 << "";
    }
    void printingWithoutAFile()
    {
        QFETCH(QString, kurz);
        QFETCH(int, rubric);
        QFETCH(QString, path);
        if (kurz.isEmpty())
            m_dm->db.exec("delete from infothek where Rubrik_id = 2");
        m_module->activate();
        selectRubric(rubric);
        documents()->locate("Kurz", kurz);
        click("itdrucken");
        QCOMPARE(m_dialogs->texts(),
                 QStringList{QStringLiteral("Reportvorlage \r\r<%1>\r\rwurde nicht gefunden.")
                                 .arg(path.isEmpty() ? QString() : m_files->path() + '/' + path)});
        QVERIFY(m_opener.opened.isEmpty());
    }

    // A stored name that climbs out of the rubric's directory reaches no file: printing
    // refuses it before reading or writing anything, and storing such a name is refused.
    void fileNamesStayInTheirDirectory_data()
    {
        QTest::addColumn<QString>("datei");
        QTest::newRow("parent") << "../geheim.rtf";
        QTest::newRow("parent, backslash") << "..\\geheim.rtf";
        QTest::newRow("absolute") << "" ;   // filled in with the full path
        QTest::newRow("dot dot") << "..";
        QTest::newRow("drive") << "C:geheim.rtf";
    }
    void fileNamesStayInTheirDirectory()
    {
        QFETCH(QString, datei);
        if (datei.isEmpty())
            datei = m_files->filePath("geheim.rtf");
        m_dm->db.exec("update infothek set Datei = :d where Kurz = 'Antrag Stundung'", {{"d", datei}});
        selectRubric(1);
        documents()->locate("Kurz", "Antrag Stundung");
        click("itdrucken");
        QCOMPARE(m_dialogs->texts(), QStringList{InfothekRules::notPlainMessage(datei)});
        QVERIFY(m_opener.opened.isEmpty());
        QCOMPARE(QDir(out()).entryList(QDir::Files), QStringList());
        QVERIFY(!QFile::exists(m_files->filePath("sbgeheim.rtf")));

        m_dialogs->clear();
        documents()->edit();
        documents()->setValue("Kurz", "Antrag Stundung (neu)");
        click("itspeichern");
        QCOMPARE(m_dialogs->texts(), QStringList{InfothekRules::notPlainMessage(datei)});
        QVERIFY(documents()->isPending());
        documents()->cancel();
    }

    void deletingDocuments()
    {
        selectRubric(1);
        documents()->locate("Kurz", "Ratenplan an Gläubiger");
        m_dialogs->answers({false, true});
        click("itloeschen");
        click("itloeschen");
        QCOMPARE(m_dialogs->texts(), QStringList({"Dokument löschen?", "Dokument löschen?"}));
        QCOMPARE(listed(), QStringList({"Antrag Stundung", "Schuldner's Brief"}));
        // The file stays on disk.
        QVERIFY(QFile::exists(dir("Musterbriefe") + "Ratenplan.rtf"));

        m_dialogs->clear();
        m_dm->db.exec("delete from infothek where Rubrik_id = 2");
        selectRubric(0);
        m_dialogs->answer(true);
        click("itloeschen");
        QCOMPARE(m_dialogs->texts(), QStringList({"Dokument löschen?", "Operation bei leerer Datenmenge nicht ausführbar"}));
    }

    // The rubric window behind the menu item: a new rubric takes its directory with a
    // trailing delimiter; closing stores it and the page lists the rubrics anew. A deleted
    // rubric leaves its documents in the catalogue, listed under no rubric.
    void rubricWindow()
    {
        auto handlers = m_module->menuHandlers();
        QCOMPARE(handlers.size(), 1);
        QCOMPARE(handlers.first().first, QStringLiteral("miInfoRubrik"));
        bool ran = false;
        RecordDialog::whenShown([&](QDialog *dlg) {
            QCOMPARE(dlg->windowTitle(), QStringLiteral("Infothek - Rubrik"));
            click(dlg, "irTbutNeu");
            GuiTest::type(GuiTest::find<QLineEdit>(dlg, "irdbeRubrik"), "Anträge");
            m_dialogs->answer(dir("Anderswo").chopped(1));
            click(dlg, "irbutPfad");
            QCOMPARE(m_dm->dmExtras->qrInfoRubrikEdit->asString("Pfad"), dir("Anderswo"));
            m_dialogs->answer(QString());
            click(dlg, "irbutPfad");
            QCOMPARE(m_dm->dmExtras->qrInfoRubrikEdit->asString("Pfad"), dir("Anderswo"));
            const QString deep = "/" + QString(200, u'v');
            m_dialogs->answer(deep);
            click(dlg, "irbutPfad");
            QCOMPARE(m_dialogs->lastText(), "Der Pfad\r" + QDir::toNativeSeparators(deep + "/")
                                                + "\rist zu lang: höchstens 200 Zeichen sind möglich.");
            QCOMPARE(m_dm->dmExtras->qrInfoRubrikEdit->asString("Pfad"), dir("Anderswo"));
            dlg->close();
            ran = true;
        });
        handlers.first().second();
        QVERIFY(ran);
        QCOMPARE(m_dm->db.scalar("select Pfad from inforubrik where Rubrik = 'Anträge'").toString(), dir("Anderswo"));
        QVERIFY(!m_dm->dmExtras->qrInfoRubrikEdit->isOpen());
        QCOMPARE(rubrics()->recordCount(), 3);
        QCOMPARE(rubrics()->asString("Rubrik"), QStringLiteral("Anträge"));
        QVERIFY(documents()->isOpen());
        QCOMPARE(listed(), QStringList());

        m_dialogs->clear();
        m_dialogs->answer(true);
        RecordDialog::whenShown([&](QDialog *dlg) {
            m_dm->dmExtras->qrInfoRubrikEdit->locate("Rubrik", "Musterbriefe");
            click(dlg, "irTbutLoeschen");
            dlg->close();
        });
        handlers.first().second();
        QCOMPARE(m_dialogs->texts(), QStringList{"Datensatz löschen?"});
        QCOMPARE(rubrics()->recordCount(), 2);
        QCOMPARE(m_dm->db.scalar("select count(*) from infothek where Rubrik_id = 1").toInt(), 3);
    }

    // Every sample document shipped in the rubric folders fills through "Drucken".
    void shippedSamplesFill()
    {
        const QString samples = qEnvironmentVariable("FINORRA_SOURCE_DIR") + "/resources/Infothek/";
        m_dm->db.exec("delete from inforubrik");
        m_dm->db.exec("delete from infothek");
        int count = 0;
        for (const QString &rubric : QDir(samples).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            m_dm->db.exec("insert into inforubrik (Rubrik, Pfad) values (:r, :p)",
                          {{"r", rubric}, {"p", samples + rubric + '/'}});
            const int id = m_dm->db.scalar("select max(Rubrik_id) from inforubrik").toInt();
            for (const QString &file : QDir(samples + rubric).entryList({"*.rtf"}, QDir::Files)) {
                m_dm->db.exec("insert into infothek (Kurz, Rubrik_id, Datei) values (:k, :r, :d)",
                              {{"k", file}, {"r", id}, {"d", file}});
                ++count;
            }
        }
        QCOMPARE(count, 3);
        m_module->activate();
        for (int r = 0; r < rubrics()->recordCount(); ++r) {
            selectRubric(r);
            for (int d = 0; d < documents()->recordCount(); ++d) {
                documents()->moveTo(d);
                click("itdrucken");
                const QString file = out() + "sb" + documents()->asString("Datei");
                const QByteArray rtf = readFile(file);
                QVERIFY2(rtf.count("Erstellt mit Finorra 1.0 (Pro)") >= 2, qPrintable(file));
                QVERIFY2(!rtf.contains("\\\\"), qPrintable(file + " keeps an unfilled field"));
            }
        }
        QCOMPARE(m_dialogs->texts(), QStringList());
        QCOMPARE(m_opener.opened.size(), count);
    }
};

QTEST_MAIN(TestInfothek)
#include "tst_infothek.moc"
