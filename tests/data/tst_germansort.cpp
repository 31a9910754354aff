#include "support/TempDatabase.h"

#include "data/DataModules.h"

#include <QTest>

namespace {

QStringList column(const Database &db, const QString &sql)
{
    QStringList out;
    QSqlQuery q = db.exec(sql);
    while (q.next())
        out << (q.value(0).isNull() ? QStringLiteral("<null>") : q.value(0).toString());
    return out;
}

} // namespace

// Lists sort as a German dictionary does, on the file and on the server alike.
class TestGermanSort : public QObject
{
    Q_OBJECT
private slots:
    void listsSortGerman()
    {
        TempDatabase tmp;
        DataModules dm;
        tmp.openIn(dm.db);
        const QStringList names = {"Zander", "Öztürk", "Otto", "arnold", "Ärztekammer", "Bäcker", "Bach",
                                   "Strauss", "Straße", "Strasse", "Müller", "muller", "Muller", "MÜLLER",
                                   "müller", "Übersicht", "Termine", "Ulm", "ebert", "Eberhardt"};
        for (const QString &n : names)
            dm.db.exec("insert into adressen (Suna, Name1) values (:s, :s)", {{"s", n}});
        dm.db.exec("insert into adressen (Name1) values ('ohne Suchname')");

        const QStringList german = {"<null>", "arnold", "Ärztekammer", "Bach", "Bäcker", "Eberhardt", "ebert",
                                    "muller", "Muller", "müller", "Müller", "MÜLLER", "Otto", "Öztürk",
                                    "Strasse", "Straße", "Strauss", "Termine", "Übersicht", "Ulm", "Zander"};
        QCOMPARE(column(dm.db, "select suna from adressen order by suna"), german);
        QStringList reversed(german.crbegin(), german.crend());
        QCOMPARE(column(dm.db, "select suna from Adressen order by Suna DESC"), reversed);

        // The program's own lists read through the data sets the same way, also with a
        // second column after the text.
        DataSet *contacts = dm.dmAdressen->qrKontakte;
        contacts->open();
        QStringList listed;
        for (int r = 0; r < contacts->recordCount(); ++r) {
            const QVariant v = contacts->valueAt(r, contacts->fieldIndex("Suna"));
            listed << (v.isNull() ? QStringLiteral("<null>") : v.toString());
        }
        QCOMPARE(listed, german);
        dm.db.exec("update adressen set Ort = 'Köln' where Suna in ('Otto', 'Bach', 'Ulm')");
        dm.db.exec("update adressen set Ort = 'Kiel' where Suna in ('Zander', 'ebert')");
        QCOMPARE(column(dm.db, "select suna from adressen where ort is not null order by ort,suna"),
                 QStringList({"ebert", "Zander", "Bach", "Otto", "Ulm"}));

        // Numbers and dates keep their own order.
        QCOMPARE(column(dm.db, "select adr_id from adressen where suna in ('Zander', 'Otto') order by adr_id"),
                 QStringList({"1", "3"}));
    }

    // A quoted "order by" is text, not a clause.
    void literalsStayAsTyped()
    {
        TempDatabase tmp;
        Database db;
        tmp.openIn(db);
        db.exec("insert into programminfo (Rubrik, Text) values ('x order by y', 'b'), ('Ärzte', 'a')");
        QCOMPARE(column(db, "select text from programminfo where rubrik = 'x order by y'"), QStringList{"b"});
        QCOMPARE(column(db, "select rubrik from programminfo where rubrik in ('x order by y', 'Ärzte') order by rubrik"),
                 QStringList({"Ärzte", "x order by y"}));
    }
};

QTEST_GUILESS_MAIN(TestGermanSort)
#include "tst_germansort.moc"
