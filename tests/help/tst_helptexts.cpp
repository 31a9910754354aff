#include "support/TempDatabase.h"

#include "data/DataModules.h"
#include "help/rules/HelpTexts.h"

#include <QtTest>

class TestHelpTexts : public QObject
{
    Q_OBJECT

private slots:
    void filterText()
    {
        QCOMPARE(HelpTexts::filterSql("BUD"),
                 QStringLiteral("Select * from Programminfo where lower(rubrik) like '%bud%' order by rubrik"));
        QCOMPARE(HelpTexts::filterSql("d'Arc"),
                 QStringLiteral("Select * from Programminfo where lower(rubrik) like '%d''arc%' order by rubrik"));
    }

    // A new database explains every page and window whose "Hilfe" button looks up its keyword.
    void everyKeywordFindsItsText()
    {
        TempDatabase tmp;
        DataModules dm;
        tmp.openIn(dm.db);
        DataSet *texts = dm.dmFirma->qrProgInfo;
        for (const char *keyword : {"Budget", "Haushaltsbuch", "Kontakte", "Briefe", "Pfändung", "Infothek", "Termin",
                                    "Kontakte wählen", "Pfändung - Grundwerte", "BUD", "pfändung"}) {
            HelpTexts::show(*texts, HelpTexts::filterSql(QString::fromUtf8(keyword)), true);
            QVERIFY2(texts->recordCount() >= 1, keyword);
            QVERIFY(texts->asString("Text").size() > 200);
        }
        HelpTexts::show(*texts, HelpTexts::filterSql("'; drop table programminfo; --"), true);
        QCOMPARE(texts->recordCount(), 0);
        HelpTexts::show(*texts, HelpTexts::AllSql, false);
        QVERIFY(texts->recordCount() >= 10);
        QVERIFY(!texts->isReadOnly());
    }
};

QTEST_GUILESS_MAIN(TestHelpTexts)
#include "tst_helptexts.moc"
