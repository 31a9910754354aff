#include "support/GuiTest.h"
#include "support/ReadFile.h"
#include "support/RecordingDocumentOpener.h"
#include "support/TempDatabase.h"

#include "budget/BudgetPage.h"
#include "budget/BudgetPrintouts.h"
#include "budget/rules/BudgetHandlers.h"
#include "budget/rules/PlanPrintValues.h"
#include "data/DataModules.h"
#include "ui/DbEdit.h"
#include "ui/Printout.h"
#include "ui/ScriptedDialogs.h"

#include <QDir>
#include <QToolButton>

namespace {

const QString Nbsp = QString(QChar(0x00A0));

QString euro(const char *amount)
{
    return QString::fromUtf8(amount) + Nbsp + QStringLiteral("€");
}

QHash<QString, QString> asHash(const PlanPrintValues::Values &values)
{
    QHash<QString, QString> h;
    for (const auto &[name, value] : values)
        h.insert(name, value);
    return h;
}

} // namespace

class TestBudgetPrintouts : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempDatabase> m_tmp;
    std::unique_ptr<QTemporaryDir> m_out;
    std::unique_ptr<DataModules> m_dm;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<BudgetPage> m_page;
    RecordingDocumentOpener m_opener;

    TdmHh &hh() { return *m_dm->dmHh; }
    void click(const QString &name) { GuiTest::find<QToolButton>(m_page.get(), name)->click(); }
    void enter()
    {
        hh().qrBudget->reopen();
        for (DataSet *q : hh().budgetItemQueries())
            q->reopen();
    }
    QString outFile(const QString &name) const { return m_out->filePath(name); }

private slots:
    void init()
    {
        m_tmp = std::make_unique<TempDatabase>();
        m_out = std::make_unique<QTemporaryDir>();
        {
            auto db = m_tmp->connect();
            db->exec("insert into benutzer (SbKurz, Passwort) values ('mk', '')");
            db->exec("update firma set FReportIn = :in, FReportOut = :out",
                     {{"in", qEnvironmentVariable("FINORRA_SOURCE_DIR") + "/resources/Reportvorlagen/"},
                      {"out", m_out->path() + '/'}});
            db->exec("insert into budget (BudTitel, User_id, Bud_Personen, Bud_dat, Sum_Ek, Sum_Wk) "
                     "values ('Familie Muster', 1, 3, '2026-11-03', 1000, 400)");
            db->exec("insert into bud_einkommen (Bud_id, Ek_bez, Ek_Betrag, Ek_monat, Ek_zahlung) "
                     "values (1, 'Lohn', 1000, '01', 'monatlich')");
            db->exec("insert into bud_Wohnkosten (Bud_id, Wk_bez, Wk_Betrag, Wk_monat, Wk_Zahlung) "
                     "values (1, 'Miete', 400, '01', 'monatlich')");
            db->exec("insert into budget (BudTitel, User_id) select 'Plan MK', Ben_id from benutzer where SbKurz = 'mk'");
            for (int m = 1; m <= 12; ++m)
                db->exec(QStringLiteral("update budget set Eksum%1 = 1000, Wksum%1 = 400").arg(m, 2, 10, QChar('0')));
        }
        m_dm = std::make_unique<DataModules>();
        m_tmp->openIn(m_dm->db);
        new BudgetHandlers(*m_dm->dmHh, *m_dm->dmMP);
        QVERIFY(m_dm->dmMP->lookupUser("sb"));
        m_dialogs = std::make_unique<ScriptedDialogs>();
        Printout::installOpener(&m_opener);
        m_opener.opened.clear();
        m_page = std::make_unique<BudgetPage>(*m_dm);
        enter();
    }
    void cleanup()
    {
        m_page.reset();
        Printout::installOpener(nullptr);
        m_dialogs.reset();
        m_dm.reset();
        m_out.reset();
        m_tmp.reset();
    }

    void formats_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("money") << "money" << QVariant(1234.56) << euro("1.234,56");
        QTest::newRow("money negative") << "money" << QVariant(-0.5) << euro("-0,50");
        QTest::newRow("money empty") << "money" << QVariant() << euro("0,00");
        QTest::newRow("share padded") << "share" << QVariant(30.0) << " 30,00 %";
        QTest::newRow("share small") << "share" << QVariant(5.5) << "  5,50 %";
        QTest::newRow("share full") << "share" << QVariant(100.0) << "100,00 %";
        QTest::newRow("share of no income") << "share" << QVariant() << "  0,00 %";
        QTest::newRow("persons") << "persons" << QVariant(3) << "3 Person(en)";
        QTest::newRow("persons empty") << "persons" << QVariant() << " Person(en)";
        QTest::newRow("month due") << "month" << QVariant(120.0) << euro("120,00");
        QTest::newRow("month zero") << "month" << QVariant(0.0) << "---";
        QTest::newRow("month empty") << "month" << QVariant() << "---";
        QTest::newRow("month credit") << "month" << QVariant(-12.5) << euro("-12,50");
    }
    void formats()
    {
        QFETCH(QString, kind);
        QFETCH(QVariant, value);
        QFETCH(QString, text);
        const QString got = kind == "money"     ? PlanPrintValues::money(value)
                            : kind == "share"   ? PlanPrintValues::share(value)
                            : kind == "persons" ? PlanPrintValues::persons(value)
                                                : PlanPrintValues::monthTotal(value);
        QCOMPARE(got, text);
    }

    void householdPlanVariablesInListOrder()
    {
        const PlanPrintValues::Values v = PlanPrintValues::householdPlan(*hh().qrBudget, Printout::CreditLine);
        QStringList names;
        for (const auto &p : v)
            names << p.first;
        QCOMPARE(names, QStringList({"eksuna", "ekerfdat", "ekaenddat", "ekpersonen", "ekeinkommen", "ekwohnen",
                                     "ekversicherung", "ekverkehr", "ekallgemein", "ekleben", "ekmaxkredit",
                                     "eksonstkredit", "ekmaxhaus", "ekdefizit", "ekhauskredit", "ekfirma", "ekzwisu",
                                     "ekekproz", "ekwkproz", "ekvkproz", "ekakproz", "ekvsproz", "eklkproz",
                                     "ekskproz", "ekhkproz", "ekueber"}));
        const auto h = asHash(v);
        QCOMPARE(h["eksuna"], QStringLiteral("Familie Muster"));
        QCOMPARE(h["ekerfdat"], QStringLiteral("03.11.2026"));
        QCOMPARE(h["ekaenddat"], QString());
        QCOMPARE(h["ekpersonen"], QStringLiteral("3 Person(en)"));
        QCOMPARE(h["ekdefizit"], euro("600,00"));
        QCOMPARE(h["ekwkproz"], QStringLiteral(" 40,00 %"));
        QCOMPARE(h["ekueber"], QStringLiteral("Überschuss"));
        QCOMPARE(h["ekfirma"], QStringLiteral("Erstellt mit Finorra 1.0 (Pro)"));

        // Nothing left over is still a surplus on paper, though the page calls it a deficit.
        hh().qrBudget->edit();
        hh().qrBudget->setValue("Sum_Wk", 1000);
        QCOMPARE(asHash(PlanPrintValues::householdPlan(*hh().qrBudget, QString()))["ekueber"], QStringLiteral("Überschuss"));
        hh().qrBudget->setValue("Sum_Wk", 1000.01);
        const auto deficit = asHash(PlanPrintValues::householdPlan(*hh().qrBudget, QString()));
        QCOMPARE(deficit["ekueber"], QStringLiteral("Defizit"));
        QCOMPARE(deficit["ekdefizit"], euro("-0,01"));
        hh().qrBudget->cancel();
    }

    void budgetPlanOfAPlanWithoutItems()
    {
        hh().qrBudget->append();
        hh().qrBudget->setValue("BudTitel", "Leer");
        hh().qrBudget->post();
        const PlanPrintValues::Values v = PlanPrintValues::budgetPlan(*hh().qrBudget, Printout::CreditLine);
        QCOMPARE(v.size(), 125);
        QCOMPARE(asHash(v).size(), 125);
        QCOMPARE(v.first().first, QStringLiteral("eksuna"));
        QCOMPARE(v.at(17).first, QStringLiteral("ekeksum01"));
        QCOMPARE(v.last().first, QStringLiteral("eksum12"));
        for (const auto &[name, value] : v) {
            if (name.startsWith("eksum") || QRegularExpression("^ek[a-z]+$").match(name).hasMatch()) {
                if (!QStringList{"eksuna", "ekpersonen", "ekfirma", "ekerfdat", "ekaenddat"}.contains(name))
                    QCOMPARE(value, euro("0,00"));
            } else {
                QCOMPARE(value, QStringLiteral("---"));
            }
        }
        for (DataSet *items : hh().budgetItemQueries())
            QCOMPARE(items->recordCount(), 0);
    }

    void yearlyInsuranceFallsDueInItsMonthOnly()
    {
        DataSet *vs = hh().qrBudVersicherungen;
        vs->append();
        vs->setValue("Vs_bez", "Haftpflicht");
        vs->setValue("Vs_Betrag", 120.0);
        vs->setValue("Vs_monat", "03");
        vs->setValue("Vs_zahlung", "jährlich");
        vs->post();
        const auto h = asHash(PlanPrintValues::budgetPlan(*hh().qrBudget, QString()));
        for (int m = 1; m <= 12; ++m)
            QCOMPARE(h[QStringLiteral("ekvssum%1").arg(m, 2, 10, QChar('0'))], m == 3 ? euro("120,00") : "---");
        QCOMPARE(h["ekeksum07"], euro("1.000,00"));
        QCOMPARE(h["eksum03"], euro("480,00"));
        QCOMPARE(h["eksum04"], euro("600,00"));
        QCOMPARE(h["ekversicherung"], euro("10,00"));
    }

    void eachUserPrintsIntoTheirOwnFile()
    {
        click("budTbutHhMonat");
        QCOMPARE(m_dialogs->texts().join('|'), QString());
        QCOMPARE(m_opener.opened, QStringList{outFile("sbHaushaltsplan.rtf")});
        const QByteArray rtf = readFile(outFile("sbHaushaltsplan.rtf"));
        QVERIFY(rtf.contains("Familie Muster"));
        QVERIFY(rtf.contains("Miete"));
        QVERIFY(!rtf.contains("\\\\ek"));

        click("budTbutHhMonat");   // the same user again: the same file
        QVERIFY(m_dm->dmMP->lookupUser("mk"));
        enter();
        QCOMPARE(hh().qrBudget->asString("BudTitel"), QStringLiteral("Plan MK"));
        click("budTbutHhMonat");
        click("budTbutBudgetplan");
        click("budTbutBlanko");
        QCOMPARE(m_dialogs->texts().join('|'), QString());
        QCOMPARE(QDir(m_out->path()).entryList(QDir::Files, QDir::Name),
                 QStringList({"mkBudgetplan.rtf", "mkHaushaltsplan.rtf", "mkHaushaltsplanBlanko.rtf",
                              "sbHaushaltsplan.rtf"}));
        QCOMPARE(m_opener.opened.size(), 5);
    }

    void noPlanWarnsAndWritesNothing_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("HH - Monat") << "budTbutHhMonat";
        QTest::newRow("Budgetplan") << "budTbutBudgetplan";
    }
    void noPlanWarnsAndWritesNothing()
    {
        QFETCH(QString, button);
        QVERIFY(m_dm->dmMP->lookupUser("mk"));
        m_dm->db.exec("delete from bud_einkommen");
        m_dm->db.exec("delete from bud_wohnkosten");
        m_dm->db.exec("delete from budget");
        enter();
        click(button);
        QCOMPARE(m_dialogs->texts(), QStringList{BudgetPrintouts::NoPlanWarning});
        QCOMPARE(m_dialogs->log().first().kind, mkWarning);
        QVERIFY(QDir(m_out->path()).isEmpty());

        // The blank form needs no plan.
        m_dialogs->clear();
        click("budTbutBlanko");
        QCOMPARE(m_dialogs->texts(), QStringList());
        QVERIFY(readFile(outFile("mkHaushaltsplanBlanko.rtf")).contains("Erstellt mit Finorra 1.0 (Pro)"));
    }

    // An item still being edited is saved with its category's totals before anything is
    // printed: the totals and the item list of one printout agree.
    void pendingItemIsInTotalsAndList()
    {
        DataSet *ek = hh().qrBudEinkommen;
        ek->edit();
        ek->setValue("Ek_Betrag", 1234.5);
        click("budTbutHhMonat");
        QCOMPARE(m_dialogs->texts(), QStringList());
        QVERIFY(!ek->isPending());
        const QByteArray rtf = readFile(outFile("sbHaushaltsplan.rtf"));
        QVERIFY2(rtf.count("1.234,50") >= 3, rtf.constData());   // item amount, monthly, category and chain total
        QVERIFY(!rtf.contains("1.000,00"));
        QCOMPARE(hh().qrBudget->asFloat("Sum_Ek"), 1234.5);
    }

    void brokenTemplateIsReportedAndChangesNothing()
    {
        m_dm->db.exec("update firma set FReportIn = :in", {{"in", m_out->path() + "/fehlt/"}});
        m_dm->dmFirma->qrFirma->reopen();
        click("budTbutBudgetplan");
        QCOMPARE(m_dialogs->log().size(), 1);
        QCOMPARE(m_dialogs->log().first().kind, mkError);
        QVERIFY(m_opener.opened.isEmpty());
        QCOMPARE(hh().qrBudget->asFloat("Sum_Ek"), 1000.0);
    }
};

QTEST_MAIN(TestBudgetPrintouts)
#include "tst_budgetprintouts.moc"
