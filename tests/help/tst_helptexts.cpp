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
                                    "Kontakte wählen", "Pfändung - Grundwerte", "BUD", "pfändung", "Gläubiger",
                                    "Einigungsplan", "P-Konto", "Kontoauszug-Import", "Soll/Ist", "Datensicherung",
                                    "Datenbank"}) {
            HelpTexts::show(*texts, HelpTexts::filterSql(QString::fromUtf8(keyword)), true);
            QVERIFY2(texts->recordCount() >= 1, keyword);
            QVERIFY(texts->asString("Text").size() > 200);
        }
        // The contacts page has no "Neu" of its own: its help does not send the user looking for one.
        HelpTexts::show(*texts, HelpTexts::filterSql("Kontakte - Adressen"), true);
        QVERIFY(!texts->asString("Text").contains("\"Neu\""));
        HelpTexts::show(*texts, HelpTexts::filterSql("'; drop table programminfo; --"), true);
        QCOMPARE(texts->recordCount(), 0);
        HelpTexts::show(*texts, HelpTexts::AllSql, false);
        QVERIFY(texts->recordCount() >= 10);
        QVERIFY(!texts->isReadOnly());
    }

    // A database of an older version gets the help of the later parts; a text of the same
    // heading that the office wrote itself stays as it is.
    void olderDatabaseGetsTheLaterTexts()
    {
        TempDatabase tmp;
        const QString own = "Gläubiger - Forderungen eines Klienten";
        int all = 0;
        {
            auto db = tmp.connect();
            all = db->scalar("select count(*) from programminfo").toInt();
            db->exec("delete from programminfo where rubrik like 'Einigungsplan%' or rubrik like 'P-Konto%' "
                     "or rubrik like 'Kontoauszug%' or rubrik like 'Soll/Ist%' or rubrik like 'Datensicherung%' "
                     "or rubrik like 'Datenbank%'");
            db->exec("update programminfo set Text = 'Unsere Hinweise' where rubrik = :r", {{"r", own}});
            db->exec(TempDatabase::setVersionSql(4));
        }
        auto db = tmp.connect();
        QCOMPARE(db->scalar("select count(*) from programminfo").toInt(), all);
        QCOMPARE(db->scalar("select Text from programminfo where rubrik = :r", {{"r", own}}).toString(),
                 QStringLiteral("Unsere Hinweise"));
        QVERIFY(db->scalar("select Text from programminfo where rubrik like 'Datensicherung%'").toString().size() > 200);
    }
};

QTEST_GUILESS_MAIN(TestHelpTexts)
#include "tst_helptexts.moc"
