#include "GarnishFixture.h"

#include "support/GuiTest.h"

#include "budget/BudgetPage.h"
#include "budget/rules/BudgetHandlers.h"
#include "ui/DbLabel.h"
#include "ui/ScriptedDialogs.h"

#include <QLineEdit>
#include <QToolButton>

// The budget plan's garnishable amount, from the Budget page's "Pfändung" button and after
// its "&Speichern", looked up in the table a new file brings.
class TestGarnishBudget : public QObject
{
    Q_OBJECT

    std::unique_ptr<GarnishFixture> m_f;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<BudgetPage> m_page;

    DataSet &plan() { return *m_f->dm.dmHh->qrBudget; }
    double storedPfand() { return m_f->dm.db.scalar("select Pfand from budget").toDouble(); }
    void click(const QString &name) { GuiTest::find<QToolButton>(m_page.get(), name)->click(); }
    void typePlan(const QVariant &net, const QVariant &persons)
    {
        plan().edit();
        plan().setValue("PfandNetto", net);
        plan().setValue("Bud_Personen", persons);
    }

private slots:
    void init()
    {
        m_f = std::make_unique<GarnishFixture>();
        new BudgetHandlers(*m_f->dm.dmHh, *m_f->dm.dmMP);
        QVERIFY(m_f->dm.dmMP->lookupUser("sb"));
        plan().reopen();
        plan().append();
        plan().setValue("BudTitel", "Familie Beispiel");
        plan().setValue("Pfand", 12.34);
        plan().post();
        m_dialogs = std::make_unique<ScriptedDialogs>();
        m_page = std::make_unique<BudgetPage>(m_f->dm);
    }
    void cleanup()
    {
        m_page.reset();
        m_dialogs.reset();
        m_f.reset();
    }

    void buttonStoresThePlanAndItsAmount()
    {
        typePlan(5000.0, 0);
        click("budsbutPfaendung");
        QCOMPARE(m_dialogs->texts(), QStringList());
        QVERIFY(!plan().isPending());
        QCOMPARE(storedPfand(), 2424.51);
        QCOMPARE(GuiTest::find<DbLabel>(m_page.get(), "lblPfand")->text(), QStringLiteral("2.424,51\u00a0€"));
    }

    void saveLooksUpTheAmount()
    {
        typePlan(2195.0, 1);
        click("budtbutSpeichern");
        QCOMPARE(m_dialogs->texts(), QStringList());
        QCOMPARE(storedPfand(), 2.59);
    }

    // Storing a plan without a net income says so and leaves its amount alone.
    void saveWithoutNetIncome()
    {
        typePlan(QVariant(), 2);
        click("budtbutSpeichern");
        QCOMPARE(m_dialogs->texts(), QStringList{"Kein Nettogehalt eingegeben!"});
        QVERIFY(!plan().isPending());
        QCOMPARE(m_f->dm.db.scalar("select Bud_Personen from budget").toInt(), 2);
        QCOMPARE(storedPfand(), 12.34);
    }

    // A plan without a title is not stored, so nothing is looked up.
    void titleCheckComesFirst()
    {
        typePlan(5000.0, 0);
        plan().setValue("BudTitel", QVariant());
        GuiTest::find<QLineEdit>(m_page.get(), "dbeBudTitel")->clear();
        click("budsbutPfaendung");
        QCOMPARE(m_dialogs->texts(), QStringList{"Legen Sie die Bezeichnung des Haushaltsplanes fest!"});
        QVERIFY(plan().isPending());
        QCOMPARE(storedPfand(), 12.34);
    }
};

QTEST_MAIN(TestGarnishBudget)
#include "tst_garnishbudget.moc"
