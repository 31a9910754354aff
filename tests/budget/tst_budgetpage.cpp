#include "support/GuiTest.h"
#include "support/TempDatabase.h"
#include "support/VisibleAccessKeys.h"

#include "budget/BudgetPage.h"
#include "budget/BudgetTabTexts.h"
#include "budget/TFormBudgetSuchen.h"
#include "budget/rules/BudgetHandlers.h"
#include "core/GermanFormat.h"
#include "data/DataModules.h"
#include "ui/DbComboBox.h"
#include "ui/DbEdit.h"
#include "ui/DbGrid.h"
#include "ui/DbLabel.h"
#include "ui/RecordDialog.h"
#include "ui/ScriptedDialogs.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

// The room the main window leaves the Budget page on a screen: the window's frame and the
// task bar, then the menu, the page buttons, the page title, the status bar and the
// navigation tree (measured on the screenshots, with a little to spare).
constexpr int PageChromeWidth = 8 + 172 + 20;
constexpr int PageChromeHeight = 78 + 20 + 40 + 36 + 22 + 4;
constexpr int PageWidth1366 = 1366 - PageChromeWidth;
constexpr int PageWidth1024 = 1024 - PageChromeWidth;
constexpr int PageHeight768 = 768 - PageChromeHeight;

class TestBudgetPage : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempDatabase> m_tmp;
    std::unique_ptr<DataModules> m_dm;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<BudgetPage> m_page;

    TdmHh &hh() { return *m_dm->dmHh; }
    QString text(const QString &name) { return GuiTest::find<QLabel>(m_page.get(), name)->text(); }
    void click(const QString &name) { GuiTest::find<QToolButton>(m_page.get(), name)->click(); }
    // Shows the page as the main window does when the Budget page is entered.
    void enter()
    {
        hh().qrBudget->reopen();
        for (DataSet *q : hh().budgetItemQueries())
            q->reopen();
    }
    // Picks a value in a list-only drop-down as the user does.
    static void pick(DbComboBox *cb, const QString &value)
    {
        cb->setCurrentIndex(cb->findText(value));
        emit cb->activated(cb->currentIndex());
    }

private slots:
    // The income suggestions name today's benefits.
    void incomeSuggestionsNameTodaysBenefits()
    {
        const QStringList s = BudgetTabTexts::forPrefix("Ek").suggestions;
        for (const char *benefit : {"Bürgergeld", "Wohngeld", "Kinderzuschlag"})
            QVERIFY2(s.contains(QString::fromUtf8(benefit)), benefit);
        QVERIFY(!s.contains("ALG II"));
    }

    void init()
    {
        m_tmp = std::make_unique<TempDatabase>();
        {
            auto db = m_tmp->connect();
            db->exec("insert into budget (BudTitel, User_id, Sum_Ek, Sum_Wk) values ('Plan A', 1, 1000, 400)");
            db->exec("insert into budget (BudTitel, User_id, Sum_Ek, Sum_Wk) values ('Plan B', 1, 500, 500)");
            db->exec("insert into bud_einkommen (Bud_id, Ek_bez, Ek_Betrag, Ek_zahlung) values (1, 'Lohn', 1000, 'monatlich')");
            db->exec("insert into bud_Wohnkosten (Bud_id, Wk_bez, Wk_Betrag, Wk_Zahlung) values (1, 'Miete', 400, 'monatlich')");
            db->exec("insert into bud_Wohnkosten (Bud_id, Wk_bez, Wk_Betrag, Wk_Zahlung) values (2, 'Miete B', 500, 'monatlich')");
        }
        m_dm = std::make_unique<DataModules>();
        m_tmp->openIn(m_dm->db);
        new BudgetHandlers(*m_dm->dmHh, *m_dm->dmMP);
        m_dm->dmMP->lookupUser("sb");
        m_dialogs = std::make_unique<ScriptedDialogs>();
        m_page = std::make_unique<BudgetPage>(*m_dm);
        enter();
    }
    void cleanup()
    {
        m_page.reset();
        m_dialogs.reset();
        m_dm.reset();
        m_tmp.reset();
    }

    void newIncomeItemUpdatesTotalsAndSurplus()
    {
        QCOMPARE(text("lblDefizit"), QStringLiteral("= Überschuss"));
        QCOMPARE(text("dbeDefizit"), GermanFormat::currency(600.0));
        click("ekTbutNeu");
        QCOMPARE(hh().qrBudEinkommen->state(), DataSet::State::Insert);
        auto *bez = GuiTest::find<DbComboBox>(m_page.get(), "ekdbeBez");
        bez->lineEdit()->setText(QString());
        GuiTest::type(bez->lineEdit(), "Kindergeld");
        pick(GuiTest::find<DbComboBox>(m_page.get(), "ekcbZahlung"), "vierteljährlich");
        pick(GuiTest::find<DbComboBox>(m_page.get(), "ekcbMonat"), "02");
        auto *betrag = GuiTest::find<DbEdit>(m_page.get(), "ekdbeBetrag");
        GuiTest::type(betrag, "1.500,30");
        GuiTest::leave(betrag);
        // The monthly amount follows as soon as the amount is taken over; the totals wait.
        QCOMPARE(text("eklblMonat"), GermanFormat::currency(500.10));
        QCOMPARE(text("lblSum_Ek"), GermanFormat::currency(1000.0));
        click("ekTbutSpeichern");
        QVERIFY(m_dialogs->log().isEmpty());
        QCOMPARE(text("lblSum_Ek"), GermanFormat::currency(1500.10));
        QCOMPARE(text("dbeDefizit"), GermanFormat::currency(1100.10));
        QCOMPARE(text("lblPro_WK"), QStringLiteral("26,66 %"));
        QCOMPARE(GuiTest::find<DbGrid>(m_page.get(), "ekdbgListe")->currentIndex().row(), 1);
    }

    void deficitIsRedAndZeroCountsAsDeficit()
    {
        hh().qrBudget->last();   // Plan B: 500 income, 500 housing
        QCOMPARE(text("lblDefizit"), QStringLiteral("= Defizit"));
        QVERIFY(GuiTest::find<QLabel>(m_page.get(), "dbeDefizit")->styleSheet().contains("#ff0000"));
        QCOMPARE(hh().qrBudWohnkosten->asString("Wk_bez"), QStringLiteral("Miete B"));
        QCOMPARE(hh().qrBudEinkommen->recordCount(), 0);
        hh().qrBudget->first();
        QVERIFY(GuiTest::find<QLabel>(m_page.get(), "dbeDefizit")->styleSheet().contains("#00ff00"));
        QCOMPARE(hh().qrBudEinkommen->recordCount(), 1);
    }

    void itemDeleteQuestionNamesTheItem()
    {
        m_dialogs->answer(false);
        click("wkTbutLoeschen");
        QCOMPARE(m_dialogs->lastText(), QStringLiteral("Soll diese Position gelöscht werden?\r\r<Miete>"));
        QCOMPARE(hh().qrBudWohnkosten->recordCount(), 1);
        m_dialogs->answer(true);
        click("wkTbutLoeschen");
        QCOMPARE(hh().qrBudWohnkosten->recordCount(), 0);
        QCOMPARE(text("lblSum_Wk"), GermanFormat::currency(0.0));
        // An empty list: empty brackets, then the data layer's message.
        m_dialogs->answer(true);
        click("wkTbutLoeschen");
        QCOMPARE(m_dialogs->texts().at(2), QStringLiteral("Soll diese Position gelöscht werden?\r\r<>"));
        QCOMPARE(m_dialogs->lastText(), QStringLiteral("Operation bei leerer Datenmenge nicht ausführbar"));
    }

    void badAmountKeepsTheItemPending()
    {
        click("wkTbutNeu");
        auto *betrag = GuiTest::find<DbEdit>(m_page.get(), "wkdbeBetrag");
        GuiTest::type(betrag, "12,3,4");
        GuiTest::leave(betrag);
        QCOMPARE(m_dialogs->lastText(), QStringLiteral("'12,3,4' ist kein gültiger Gleitkommawert"));
        click("wkTbutSpeichern");
        QCOMPARE(hh().qrBudWohnkosten->state(), DataSet::State::Insert);
        QCOMPARE(m_dm->db.scalar("select count(*) from bud_Wohnkosten").toInt(), 2);
    }

    void planTitleIsCheckedOnSave()
    {
        auto *title = GuiTest::find<DbEdit>(m_page.get(), "dbeBudTitel");
        title->setFocus();
        title->selectAll();
        GuiTest::type(title, "   ");
        click("budtbutSpeichern");
        // Blanks are a title; the plan is stored and its garnishable amount asked for.
        QCOMPARE(m_dialogs->texts(), QStringList{"Kein Nettogehalt eingegeben!"});
        QCOMPARE(m_dm->db.scalar("select BudTitel from budget where Bud_id = 1").toString(), QStringLiteral("   "));
        QCOMPARE(hh().qrBudget->asDate("Bud_aend"), QDate::currentDate());

        title->selectAll();
        GuiTest::type(title, "x");
        title->clear();
        emit title->textEdited(QString());
        click("budtbutSpeichern");
        QCOMPARE(m_dialogs->lastText(), QStringLiteral("Legen Sie die Bezeichnung des Haushaltsplanes fest!"));
        QVERIFY(hh().qrBudget->isPending());
    }

    void planListCloseRule_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("plans");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("new plan without title is discarded")
            << QString() << 2
            << QStringList({"Bezeichnung des Haushaltsplanes wurde nicht festgelegt!\rÄnderungen wurden nicht abgespeichert."});
        QTest::newRow("new plan with title is stored") << QStringLiteral("Neuer Plan") << 3 << QStringList();
    }
    void planListCloseRule()
    {
        QFETCH(QString, title);
        QFETCH(int, plans);
        QFETCH(QStringList, messages);
        TFormBudgetSuchen list(*m_dm);
        GuiTest::find<QToolButton>(&list, "tbutNeu")->click();
        QCOMPARE(hh().qrBudget->state(), DataSet::State::Insert);
        if (!title.isEmpty())
            GuiTest::type(GuiTest::find<DbEdit>(&list, "dbeBudTitel"), title);
        list.show();
        GuiTest::find<QToolButton>(&list, "tbutSchliessen")->click();
        QVERIFY(!list.isVisible());
        QCOMPARE(m_dialogs->texts(), messages);
        QCOMPARE(m_dm->db.scalar("select count(*) from budget").toInt(), plans);
        QVERIFY(!hh().qrBudget->isPending());
    }

    void planListDeleteRefusesPlansWithItems()
    {
        TFormBudgetSuchen list(*m_dm);
        GuiTest::find<QToolButton>(&list, "tbutLoeschen")->click();
        QCOMPARE(m_dialogs->texts(),
                 QStringList({"Haushaltsplan kann nicht gelöscht werden.\rEs sind noch Datensätze <EINKOMMEN> vorhanden."}));
        // An empty plan may go after the question.
        m_dm->db.exec("insert into budget (BudTitel, User_id) values ('leer', 1)");
        enter();
        hh().qrBudget->last();
        m_dialogs->answer(true);
        GuiTest::find<QToolButton>(&list, "tbutLoeschen")->click();
        QCOMPARE(m_dialogs->lastText(), QStringLiteral("Möchten Sie den aktuellen Haushaltsplan löschen?"));
        QCOMPARE(m_dm->db.scalar("select count(*) from budget").toInt(), 2);
    }

    void userWithoutPlanCannotAddItems()
    {
        m_dm->dmMP->lookupUser("niemand");
        enter();
        click("vkTbutNeu");
        QCOMPARE(m_dialogs->lastText(),
                 QStringLiteral("Ein Datensatz kann nicht eingefügt werden!\rLegen Sie vorher einen Haushaltsplan an."));
        QCOMPARE(m_dialogs->log().last().kind, mkWarning);
        QCOMPARE(hh().qrBudVerkehrskosten->recordCount(), 0);
    }

    void sharesAndHouseholdSizeInTheirForm()
    {
        m_dm->db.exec("update budget set Sum_Ek = 10, Sum_Wk = 500, Bud_Personen = 4 where Bud_id = 1");
        enter();
        QCOMPARE(text("lblPro_WK"), QStringLiteral("5000,00 %"));
        QCOMPARE(GuiTest::find<DbEdit>(m_page.get(), "dbePerson")->text(), QStringLiteral("4 Pers."));
        TFormBudgetSuchen list(*m_dm);
        QCOMPARE(GuiTest::find<DbEdit>(&list, "dbePerson")->text(), QStringLiteral("4 Pers."));
    }

    void descriptionColumnTakesTheRoomLeft()
    {
        m_page->resize(1200, 700);
        m_page->show();
        auto *grid = GuiTest::find<DbGrid>(m_page.get(), "ekdbgListe");
        QVERIFY(grid->columnWidth(0) > 220);
        QCOMPARE(grid->columnWidth(4), 110);
    }

    void tabFollowsThePageAndLeavesTheLists()
    {
        m_page->resize(1200, 700);
        m_page->show();
        QApplication::setActiveWindow(m_page.get());
        QVERIFY(QTest::qWaitForWindowActive(m_page.get()));
        GuiTest::find<DbEdit>(m_page.get(), "dbeBudTitel")->setFocus();
        QStringList order;
        for (int i = 0; i < 17; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        // Disabled buttons ("EK-Speichern" with nothing pending) are passed over.
        QCOMPARE(order, QStringList({"dbeBudDat", "dbeNetto", "dbePerson", "budsbutPfaendung", "qt_tabwidget_tabbar",
                                     "ekdbeBez", "ekcbMonat", "ekcbZahlung", "ekdbeBetrag", "ekTbutNeu", "ekTbutAbbruch",
                                     "ekTbutLoeschen", "ekdbgListe", "navNext", "navLast", "budTbutNeu",
                                     "budTbutAbbruch"}));
        QCOMPARE(hh().qrBudEinkommen->currentRow(), 0);
        // A typed beginning of a suggestion stays as typed when Tab leaves the field.
        auto *bez = GuiTest::find<DbComboBox>(m_page.get(), "ekdbeBez");
        bez->setFocus();
        bez->lineEdit()->selectAll();
        GuiTest::type(bez->lineEdit(), "Netto");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("ekcbMonat"));
        click("ekTbutSpeichern");
        QCOMPARE(m_dm->db.scalar("select Ek_bez from bud_einkommen").toString(), QStringLiteral("Netto"));
    }

    // One access key per visible button, none the main window's menus take: Alt+B opens
    // the plan list ("&Bearbeiten"), not the printout.
    void accessKeys()
    {
        m_page->resize(1200, 700);
        m_page->show();
        QApplication::setActiveWindow(m_page.get());
        QVERIFY(QTest::qWaitForWindowActive(m_page.get()));
        QCOMPARE(VisibleAccessKeys::clashes(m_page.get()), QStringList());
        QString opened;
        RecordDialog::whenShown([&](QDialog *dlg) {
            opened = dlg->objectName();
            dlg->close();
        });
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : m_page.get(), Qt::Key_B, Qt::AltModifier);
        QTRY_COMPARE(opened, QStringLiteral("TFormBudgetSuchen"));
    }

    void smallScreens_data()
    {
        // The room the main window leaves the page on a screen of this size.
        QTest::addColumn<QSize>("room");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("1366 x 768") << QSize(PageWidth1366, PageHeight768) << false;
        QTest::newRow("1024 x 768") << QSize(PageWidth1024, PageHeight768) << true;
    }

    void smallScreens()
    {
        QFETCH(QSize, room);
        QFETCH(bool, scrolls);
        m_page->resize(room);
        m_page->show();
        QApplication::processEvents();
        auto *scroll = GuiTest::find<QScrollArea>(m_page.get(), "budScroll");
        QCOMPARE(scroll->horizontalScrollBar()->isVisible() || scroll->verticalScrollBar()->isVisible(), scrolls);
        // Nothing is cut: every total shows its whole text.
        for (QLabel *l : m_page->findChildren<QLabel *>())
            if (l->isVisible() && !l->text().isEmpty())
                QVERIFY2(l->width() >= l->sizeHint().width(), qPrintable(l->objectName() + ": " + l->text()));
    }
};

QTEST_MAIN(TestBudgetPage)
#include "tst_budgetpage.moc"
