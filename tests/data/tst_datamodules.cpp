#include "support/TempDatabase.h"

#include "data/DataModules.h"

#include <QTest>

class TestDataModules : public QObject
{
    Q_OBJECT
private slots:
    void modulesHoldEveryQueryClosed()
    {
        DataModules dm;
        const QStringList names = {
            "qrAktUser", "qrUser", "qrFirma", "qrProgInfo", "qrBuland", "qrPlzOrt", "qrBudget",
            "qrBudEinkommen", "qrBudWohnkosten", "qrBudVersicherungen", "qrBudVerkehrskosten",
            "qrBudLebenshaltung", "qrBudAllgemein", "qrBudSonstKredite", "qrBudHausKredite", "qrHhplan",
            "qrHhbuch", "qrKontakte", "qrKontWahl", "qrSchrift", "qrTbau", "qrEmpKon", "qrInfos",
            "qrTermine", "qrInfoRubrik", "qrInfoRubrikEdit", "qrPfand", "qrPfaendung", "tbPfaendung"};
        QStringList actual;
        for (DataSet *ds : dm.allDataSets()) {
            actual << ds->name();
            QVERIFY(!ds->isOpen());
        }
        QCOMPARE(actual, names);
        QCOMPARE(dm.dmHh->qrBudget->sql(), QStringLiteral("select * from budget where user_id = :ben_id "));
        QCOMPARE(dm.dmHh->qrBudget->master(), dm.dmMP->qrAktUser);
        QCOMPARE(dm.dmHh->qrBudWohnkosten->sql(), QStringLiteral("select * from bud_Wohnkosten where bud_id = :bud_id"));
        QCOMPARE(dm.dmHh->qrHhbuch->master(), dm.dmHh->qrHhplan);
        QCOMPARE(dm.dmSchrift->qrSchrift->master(), dm.dmMP->qrAktUser);
        QVERIFY(dm.dmAdressen->qrKontWahl->isReadOnly());
        QVERIFY(dm.dmSchrift->qrEmpKon->isReadOnly());
    }

    void everyQueryRunsOnARealFile()
    {
        TempDatabase tmp;
        DataModules dm;
        tmp.openIn(dm.db);
        dm.dmMP->qrAktUser->setParam("pvkuerzel", "sb");
        for (DataSet *ds : dm.allDataSets())
            ds->open();
        QCOMPARE(dm.dmMP->qrAktUser->recordCount(), 1);
        QCOMPARE(dm.dmFirma->qrBuland->recordCount(), 16);
        QCOMPARE(dm.dmFirma->qrBuland->asString("Buland"), QStringLiteral("Baden-Württemberg"));

        // A user without records sees empty lists, and his new plan carries his key.
        QCOMPARE(dm.dmHh->qrBudget->recordCount(), 0);
        dm.dmHh->qrBudget->append();
        dm.dmHh->qrBudget->setValue("User_id", dm.dmMP->qrAktUser->value("Ben_id"));
        dm.dmHh->qrBudget->post();
        QCOMPARE(dm.dmHh->qrBudget->asInteger("Bud_id"), 1);
        QCOMPARE(dm.dmHh->qrBudget->asInteger("User_id"), dm.dmMP->qrAktUser->asInteger("Ben_id"));
        dm.dmHh->qrBudEinkommen->append();
        dm.dmHh->qrBudEinkommen->setValue("Bud_id", dm.dmHh->qrBudget->value("Bud_id"));
        dm.dmHh->qrBudEinkommen->setValue("Ek_bez", "Lohn");
        dm.dmHh->qrBudEinkommen->post();
        QCOMPARE(dm.dmHh->qrBudEinkommen->asInteger("Bud_id"), 1);

        // Closing the connection closes every query.
        dm.db.close();
        for (DataSet *ds : dm.allDataSets())
            QVERIFY(!ds->isOpen());
    }
};

QTEST_GUILESS_MAIN(TestDataModules)
#include "tst_datamodules.moc"
