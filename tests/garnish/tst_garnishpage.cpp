#include "GarnishFixture.h"

#include "support/GuiTest.h"
#include "support/VisibleAccessKeys.h"

#include "garnish/GarnishModule.h"
#include "garnish/GarnishPage.h"
#include "support/RecordingDocumentOpener.h"
#include "ui/Printout.h"
#include "ui/DbEdit.h"
#include "ui/DbGrid.h"
#include "ui/RecordDialog.h"
#include "ui/ScriptedDialogs.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

namespace {

const QString Closed = QStringLiteral("Die Pfändungstabelle ist noch nicht geladen.\rKlicken Sie bitte zuerst auf \"Aktivieren\".");

} // namespace

class TestGarnishPage : public QObject
{
    Q_OBJECT

    std::unique_ptr<GarnishFixture> m_f;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<GarnishPage> m_page;
    RecordingDocumentOpener m_opener;

    QString label(const QString &name) { return GuiTest::find<QLabel>(m_page.get(), name)->text(); }
    void click(QWidget *root, const QString &name) { GuiTest::find<QAbstractButton>(root, name)->click(); }
    void search(const QString &net, const QString &dependants)
    {
        GuiTest::find<QLineEdit>(m_page.get(), "pfEsuchen")->setText(net);
        GuiTest::find<QLineEdit>(m_page.get(), "eUh")->setText(dependants);
        click(m_page.get(), "pfbutSuchen");
    }
    // Replaces what a field shows by typed text, as the user does.
    static void retype(QLineEdit *e, const QString &text)
    {
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        GuiTest::type(e, text);
        GuiTest::leave(e);
    }
    // Opens the base-values window through the module's menu handler and runs `work` in it.
    void inWindow(const std::function<void(QDialog *)> &work)
    {
        GarnishModule module(m_f->dm);
        const auto handlers = module.menuHandlers();
        QCOMPARE(handlers.size(), 1);
        QCOMPARE(handlers.first().first, QStringLiteral("miPfandGrunddaten"));
        bool ran = false;
        RecordDialog::whenShown([&](QDialog *dlg) {
            work(dlg);
            ran = true;
            if (dlg->isVisible())
                click(dlg, "piTbutSchliessen");
        });
        handlers.first().second();
        QVERIFY(ran);
    }

private slots:
    void init()
    {
        m_f = std::make_unique<GarnishFixture>();
        m_dialogs = std::make_unique<ScriptedDialogs>();
        m_page = std::make_unique<GarnishPage>(m_f->dm);
        Printout::installOpener(&m_opener);
        m_opener.opened.clear();
    }
    void cleanup()
    {
        m_page.reset();
        Printout::installOpener(nullptr);
        m_dialogs.reset();
        m_f.reset();
    }

    // Empty fields are named in order; a closed table changes no label.
    void searchNeedsInputAndAnOpenTable()
    {
        search("", "");
        search("2500", "");
        search("2500", "1");
        QCOMPARE(m_dialogs->texts(), QStringList({"Kein Nettogehalt eingegeben!", "Keine unterhaltspflichtige Person eingegeben!",
                                                  Closed}));
        QCOMPARE(label("lbnetto"), QString());
        QCOMPARE(label("lbPfand"), QString());
    }

    void search_data()
    {
        QTest::addColumn<QString>("net");
        QTest::addColumn<QString>("dependants");
        QTest::addColumn<QString>("netto");
        QTest::addColumn<QString>("unter");
        QTest::addColumn<QString>("pfand");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("rowFrom");   // NettoVon of the current row
        QTest::newRow("found") << "2.195,00" << "1" << "2.195,00\u00a0€" << "1 Person" << "2,59\u00a0€" << "" << "2.190,00\u00a0€";
        QTest::newRow("above the cap") << "5000" << "0" << "5.000,00\u00a0€" << "0 Personen" << "2.424,51\u00a0€" << ""
                                       << "4.860,00\u00a0€";
        QTest::newRow("between rows: the count stays as typed") << "1589,995" << "x" << "1.590,00\u00a0€" << "x Personen"
                                                                 << "0,00\u00a0€" << "" << "0,00\u00a0€";
        QTest::newRow("not a number") << "zwei" << "1" << "" << "" << "" << "'zwei' ist kein gültiger Gleitkommawert" << "";
        QTest::newRow("found, count not a whole number") << "2000" << "1,5" << "2.000,00\u00a0€" << "1,5 Personen" << ""
                                                         << "'1,5' ist kein gültiger Integerwert" << "2.000,00\u00a0€";
        QTest::newRow("negative count") << "2000" << "-1" << "2.000,00\u00a0€" << "-1 Personen" << ""
                                        << "Die Zahl der unterhaltspflichtigen Personen darf nicht negativ sein."
                                        << "2.000,00\u00a0€";
    }

    void search()
    {
        QFETCH(QString, net);
        QFETCH(QString, dependants);
        QFETCH(QString, netto);
        QFETCH(QString, unter);
        QFETCH(QString, pfand);
        QFETCH(QString, message);
        QFETCH(QString, rowFrom);
        click(m_page.get(), "pftbutAktivieren");
        DataSet *table = m_f->ex().qrPfaendung;
        QVERIFY(table->isOpen());
        search(net, dependants);
        QCOMPARE(m_dialogs->texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(label("lbnetto"), netto);
        QCOMPARE(label("lbUnter"), unter);
        QCOMPARE(label("lbPfand"), pfand);
        if (!rowFrom.isEmpty()) {
            QCOMPARE(table->displayText("NettoVon"), rowFrom);
            auto *grid = GuiTest::find<DbGrid>(m_page.get(), "dbgPfand");
            QCOMPARE(grid->currentIndex().row(), table->currentRow());
        }
    }

    // Enter in a field searches; "&Schließen" empties the grid.
    void enterSearchesAndCloseEmptiesTheGrid()
    {
        click(m_page.get(), "pftbutAktivieren");
        auto *grid = GuiTest::find<DbGrid>(m_page.get(), "dbgPfand");
        QCOMPARE(m_f->ex().qrPfaendung->recordCount(), 329);
        QCOMPARE(grid->model()->headerData(7, Qt::Horizontal).toString(), QStringLiteral("5 und mehr"));
        QCOMPARE(grid->model()->index(1, 2).data().toString(), QStringLiteral("1,82\u00a0€"));
        auto *net = GuiTest::find<QLineEdit>(m_page.get(), "pfEsuchen");
        net->setText("1595");
        GuiTest::find<QLineEdit>(m_page.get(), "eUh")->setText("0");
        QTest::keyClick(net, Qt::Key_Return);
        QCOMPARE(label("lbPfand"), QStringLiteral("1,82\u00a0€"));
        click(m_page.get(), "pftbutSchliessen");
        QCOMPARE(grid->model()->rowCount(), 0);
    }

    // One access key per visible button, none the main window's menus take; Alt+S searches.
    void accessKeys()
    {
        m_page->show();
        QApplication::setActiveWindow(m_page.get());
        QVERIFY(QTest::qWaitForWindowActive(m_page.get()));
        QCOMPARE(VisibleAccessKeys::clashes(m_page.get()), QStringList());
        GuiTest::find<QLineEdit>(m_page.get(), "eUh")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(m_dialogs->texts(), QStringList{"Kein Nettogehalt eingegeben!"});
    }

    // The printout of the shipped template, named after the user, opened once.
    void printsTheTable()
    {
        QTemporaryDir out;
        m_f->dm.db.exec(QStringLiteral("update firma set FReportIn = :in, FReportOut = :out"),
                        {{"in", qEnvironmentVariable("FINORRA_SOURCE_DIR") + "/resources/Reportvorlagen/"},
                         {"out", out.path() + '/'}});
        QVERIFY(m_f->dm.dmMP->lookupUser("sb"));
        click(m_page.get(), "pftbutDrucken");
        QCOMPARE(m_dialogs->texts(), QStringList{Closed});
        QVERIFY(QDir(out.path()).isEmpty());

        m_dialogs->clear();
        click(m_page.get(), "pftbutAktivieren");
        click(m_page.get(), "pftbutDrucken");
        QCOMPARE(m_dialogs->texts(), QStringList());
        const QString file = out.filePath("sbPfaendungstabelle.rtf");
        QCOMPARE(m_opener.opened, QStringList{file});
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray rtf = f.readAll();
        QVERIFY(rtf.contains("Der Betrag \\'FCber 4866,30 \\'80 ist voll pf\\'E4ndbar."));
        QVERIFY(rtf.contains("Stand: 01.07.2026"));
        QVERIFY(rtf.contains("Eigene Beratungsstelle"));
        QVERIFY(rtf.contains("4.860,00"));
        QVERIFY(rtf.contains("2.290,82"));
        QCOMPARE(rtf.count("\\row"), 2 + 329);
        QVERIFY(!rtf.contains("SCAN"));
        if (qEnvironmentVariableIsSet("FINORRA_KEEP_PRINTOUT"))
            QFile::copy(file, qEnvironmentVariable("FINORRA_KEEP_PRINTOUT"));
        f.close();

        // The sentence names the end of the table printed, whatever the base values say or
        // whether there are any.
        for (const char *change : {"update Pfand set Nettobisende = 5000", "delete from Pfand"}) {
            m_f->dm.db.exec(change);
            click(m_page.get(), "pftbutDrucken");
            QCOMPARE(m_dialogs->texts(), QStringList());
            QVERIFY(f.open(QIODevice::ReadOnly));
            QVERIFY2(f.readAll().contains("Der Betrag \\'FCber 4866,30 \\'80 ist voll pf\\'E4ndbar."), change);
            f.close();
        }
    }

    // The window shows the stored values; typing starts editing; closing stores.
    void windowEditsAndStoresOnClose()
    {
        inWindow([this](QDialog *dlg) {
            QCOMPARE(dlg->windowTitle(), QStringLiteral("Initialisierung der Pfändungstabelle"));
            auto *save = GuiTest::find<QToolButton>(dlg, "piTbutSpeichern");
            QVERIFY(!save->isEnabled());
            auto *ende = GuiTest::find<DbEdit>(dlg, "dbeNettovonende");
            QCOMPARE(ende->text(), QStringLiteral("4.860,00\u00a0€"));
            QCOMPARE(GuiTest::find<DbEdit>(dlg, "dbeStand")->text(), QStringLiteral("01.07.2026"));
            retype(GuiTest::find<DbEdit>(dlg, "dbeNettobisende"), "4870,00");
            QCOMPARE(m_f->ex().qrPfand->state(), DataSet::State::Edit);
            QVERIFY(save->isEnabled());
        });
        QVERIFY(!m_f->ex().qrPfand->isOpen());
        QCOMPARE(m_f->dm.db.scalar("select Nettobisende from Pfand").toDouble(), 4870.0);
    }

    // The tab order runs row by row, left to right.
    void tabOrder()
    {
        inWindow([](QDialog *dlg) {
            QStringList chain;
            QWidget *w = GuiTest::find<QWidget>(dlg, "dbeStand");
            // Only the fields: labels and group boxes in the chain take no focus.
            for (; chain.size() < 10; w = w->nextInFocusChain())
                if (w->focusPolicy() & Qt::TabFocus)
                    chain << w->objectName();
            QCOMPARE(chain, QStringList({"dbeStand", "dbeNettovonbeginn", "dbeNettobisbeginn", "dbeNettovonende",
                                         "dbeNettobisende", "dbeNettovonintervall", "dbeNettobisintervall",
                                         "dbePfand0Netto", "dbePfand0beginn", "dbePfand0intervall"}));
        });
    }

    // Typed values are used; off the grid they are refused before any question.
    void initialiseUsesTypedValuesAndAsks()
    {
        inWindow([this](QDialog *dlg) {
            retype(GuiTest::find<DbEdit>(dlg, "dbeNettovonende"), "4865");
            click(dlg, "piTbutInit");
            QCOMPARE(m_dialogs->texts().size(), 1);
            QVERIFY(m_dialogs->lastText().startsWith("Der „Netto von – Schlusswert“ (4.865,00\u00a0€) wird"));

            m_dialogs->clear();
            retype(GuiTest::find<DbEdit>(dlg, "dbeNettovonende"), "2000");
            m_dialogs->answer(false);
            click(dlg, "piTbutInit");
            QCOMPARE(m_f->storedRows().size(), 329);

            m_dialogs->answer(true);
            click(dlg, "piTbutInit");
            QCOMPARE(m_dialogs->texts(), QStringList({"Pfändungstabelle bereits initialisiert!\rNeu initialisieren?",
                                                      "Pfändungstabelle bereits initialisiert!\rNeu initialisieren?",
                                                      "Pfändungstabelle wurde erfolgreich initialisiert."}));
            QCOMPARE(m_f->storedRows().size(), 2 + 41);
            QCOMPARE(m_f->storedRows().last().nettoBis, eur(4866.30));
            QVERIFY(!m_f->ex().qrPfaendung->isOpen());
            auto *bar = GuiTest::find<QProgressBar>(dlg, "pbInit");
            QVERIFY(bar->isHidden());
            QCOMPARE(bar->value(), 43);
            QCOMPARE(m_f->ex().qrPfand->state(), DataSet::State::Edit);   // still to be stored by the user
        });
    }

    void initialiseEmptyTable()
    {
        m_f->dm.db.exec("delete from pfaendung");
        inWindow([this](QDialog *dlg) { click(dlg, "piTbutInit"); });
        QCOMPARE(m_dialogs->texts(),
                 QStringList({"Pfändungstabelle nicht vorhanden!\rInitialisieren Sie die Pfändungstabelle über <Globale Einstellungen>.",
                              "Pfändungstabelle wurde erfolgreich initialisiert."}));
        QCOMPARE(m_f->storedRows().size(), 329);
    }

    // The four amounts of the notice fill every base value; nothing is stored yet.
    void takeNotice()
    {
        m_f->dm.db.exec("delete from Pfand");
        inWindow([this](QDialog *dlg) {
            GuiTest::find<QLineEdit>(dlg, "eBekG")->setText("1587,40");
            click(dlg, "pibutUebernehmen");
            QCOMPARE(m_dialogs->texts(), QStringList{"Bitte geben Sie alle vier Beträge der Bekanntmachung ein."});
            GuiTest::find<QLineEdit>(dlg, "eBekU1")->setText("597,42");
            GuiTest::find<QLineEdit>(dlg, "eBekU2")->setText("332,83");
            GuiTest::find<QLineEdit>(dlg, "eBekK")->setText("4.866,30");
            click(dlg, "pibutUebernehmen");
            QCOMPARE(m_dialogs->texts().size(), 1);
            QCOMPARE(GuiTest::find<DbEdit>(dlg, "dbePfand3beginn")->text(), QStringLiteral("2,86\u00a0€"));
            QCOMPARE(GuiTest::find<DbEdit>(dlg, "dbeNettovonende")->text(), QStringLiteral("4.860,00\u00a0€"));
            QCOMPARE(m_f->ex().qrPfand->state(), DataSet::State::Insert);
            click(dlg, "piTbutAbbruch");
        });
        QCOMPARE(m_f->dm.db.scalar("select count(*) from Pfand").toInt(), 0);
    }

    // Base values saved without building the table anew: both windows say so, and the page
    // still looks up in the table as it is stored, to its end and beyond.
    void staleTableIsNamed()
    {
        const QString stale = QStringLiteral("Die Tabelle wurde noch nicht neu erstellt");
        inWindow([&](QDialog *dlg) {
            auto *notice = GuiTest::find<QLabel>(dlg, "lblPiTabelleVeraltet");
            QVERIFY(notice->isHidden());
            retype(GuiTest::find<DbEdit>(dlg, "dbeNettobisende"), "5.000,00");
            QVERIFY(notice->isHidden());   // not stored yet
            click(dlg, "piTbutSpeichern");
            QVERIFY(!notice->isHidden());
            QVERIFY(notice->text().contains(stale));
        });
        m_page->show();
        auto *notice = GuiTest::find<QLabel>(m_page.get(), "lblPfTabelleVeraltet");
        QVERIFY(notice->isVisible());
        QVERIFY(notice->text().contains(stale));
        click(m_page.get(), "pftbutAktivieren");
        search("4900", "0");
        QCOMPARE(label("lbPfand"), QStringLiteral("2.324,51\u00a0€"));
        QCOMPARE(m_dialogs->texts(), QStringList());

        // Built anew from the stored values: the notices go, and the new end counts.
        m_dialogs->answer(true);
        inWindow([&](QDialog *dlg) {
            auto *windowNotice = GuiTest::find<QLabel>(dlg, "lblPiTabelleVeraltet");
            QVERIFY(!windowNotice->isHidden());
            click(dlg, "piTbutInit");
            QVERIFY(windowNotice->isHidden());
        });
        click(m_page.get(), "pftbutAktivieren");
        QVERIFY(notice->isHidden());
        search("4900", "0");
        QCOMPARE(label("lbPfand"), QStringLiteral("2.290,82\u00a0€"));   // in the last row now
    }

    void deleteAsks()
    {
        m_dialogs->answer(true);
        inWindow([this](QDialog *dlg) { click(dlg, "piTbutLoeschen"); });
        QCOMPARE(m_dialogs->texts(), QStringList{"Datensatz löschen?"});
        QCOMPARE(m_f->dm.db.scalar("select count(*) from Pfand").toInt(), 0);
    }
};

QTEST_MAIN(TestGarnishPage)
#include "tst_garnishpage.moc"
