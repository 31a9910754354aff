#include "GarnishFixture.h"

#include "support/GuiTest.h"

#include "budget/BudgetPage.h"
#include "budget/rules/BudgetHandlers.h"
#include "ui/DbLabel.h"
#include "ui/RecordDialog.h"
#include "ui/ScriptedDialogs.h"

#include <QDialog>
#include <QLabel>
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

        // Base values saved with another end, the table not built anew: the table's end holds.
        m_f->dm.db.exec("update Pfand set Nettobisende = 5000");
        typePlan(4900.0, 0);
        click("budsbutPfaendung");
        QCOMPARE(storedPfand(), 2324.51);
    }

    // The field is the number of dependants the lookup takes, and both plan windows say so:
    // a single person enters 0, not the household's size 1.
    void personsAreTheDependants()
    {
        auto *persons = GuiTest::find<QLineEdit>(m_page.get(), "dbePerson");
        auto *caption = GuiTest::find<QLabel>(m_page.get(), "budlbPerson");
        QCOMPARE(caption->text(), QStringLiteral("Unterhaltspfl. Pers. :"));
        QVERIFY(persons->toolTip().startsWith("Zahl der Personen, denen der Schuldner Unterhalt leistet, ohne ihn selbst."));
        QCOMPARE(caption->toolTip(), persons->toolTip());
        auto retype = [](QLineEdit *e, const QString &text) {
            e->setFocus();
            e->selectAll();
            GuiTest::type(e, text);
            GuiTest::leave(e);
        };
        retype(GuiTest::find<QLineEdit>(m_page.get(), "dbeNetto"), "1950");
        for (const auto &[typed, amount] : {std::pair{"1", 0.0}, std::pair{"0", 253.82}}) {
            retype(persons, QString::fromLatin1(typed));
            click("budsbutPfaendung");
            QCOMPARE(storedPfand(), amount);
        }
        QCOMPARE(m_dialogs->texts(), QStringList());

        QStringList listCaptions;
        RecordDialog::whenShown([&](QDialog *dlg) {
            for (QLabel *l : dlg->findChildren<QLabel *>())
                listCaptions << l->text();
            QCOMPARE(GuiTest::find<QLineEdit>(dlg, "dbePerson")->toolTip(), persons->toolTip());
            dlg->close();
        });
        click("budTbutNeu");
        QVERIFY(listCaptions.contains("Unterhaltspfl. Pers. :"));
        QVERIFY(!listCaptions.join('|').contains("Personen im HH"));
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
