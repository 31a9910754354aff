#include "support/TempDatabase.h"

#include "data/DataError.h"
#include "data/DatabaseCopy.h"
#include "data/FieldValue.h"

#include <QDate>
#include <QTest>

// A file's records moved to the test database (the server on the _postgres run) and back
// into a new file arrive complete: the same rows, keys, amounts, dates, flags and texts.
class TestDatabaseCopy : public QObject
{
    Q_OBJECT

    static void fill(Database &db)
    {
        db.transaction([&] {
            db.exec("insert into hhplan (Bezeichnung, User_id) values ('Haushalt Müller', 1)");
            for (int i = 0; i < 1000; ++i)
                db.exec("insert into hhbuch (Hhplan_id, Buchdat, Rubrik, Betrag, RubText) values (1, :d, 'Lebensmittel', :b, :t)",
                        {{"d", QDate(2024, 1, 1).addDays(i % 366)}, {"b", (i % 2 ? -1 : 1) * (i * 1.37 + 0.01)},
                         {"t", QStringLiteral("Einkauf Nr. %1 – Straße 'ß'").arg(i)}});
            db.exec("delete from hhbuch where Hhbuch_id between 100 and 199");   // gaps in the keys
            db.exec("insert into Termine (WvDatum, User_id, WvKurz, WvErledigt, Uhrzeit) values (:d, 1, 'Gläubiger anrufen', :e, :u)",
                    {{"d", QDate(2026, 12, 10)}, {"e", true}, {"u", QTime(9, 30)}});
        });
    }

    static QString fingerprint(const Database &db)
    {
        QStringList parts;
        QSqlQuery q = db.exec("select Hhbuch_id, Buchdat, Betrag, RubText from hhbuch order by Hhbuch_id");
        double sum = 0;
        int rows = 0;
        QString lastKey;
        while (q.next()) {
            sum += q.value(2).toDouble();
            ++rows;
            lastKey = q.value(0).toString();
        }
        parts << QString::number(rows) << lastKey << QString::number(qRound64(sum * 100));
        QSqlQuery t = db.exec("select WvDatum, WvErledigt, Uhrzeit, WvKurz from Termine");
        if (t.next())
            parts << FieldValue::fromStorage(t.value(0), FieldType::Date).toDate().toString(Qt::ISODate)
                  << QString::number(FieldValue::fromStorage(t.value(1), FieldType::Boolean).toBool())
                  << FieldValue::fromStorage(t.value(2), FieldType::Time).toTime().toString()
                  << t.value(3).toString();
        parts << db.scalar("select RubText from hhbuch where Hhbuch_id = 2").toString();
        return parts.join(u'|');
    }

private slots:
    void fileToTestDatabaseAndBack()
    {
        QTemporaryDir sourceDir;
        Database source;
        source.open(sourceDir.path());
        fill(source);
        const QString expected = fingerprint(source);
        QVERIFY(expected.startsWith(QStringLiteral("900|1000|")));

        TempDatabase middle;
        auto target = middle.connect();
        qint64 reported = 0;
        const auto counts = DatabaseCopy::copy(source, *target, [&](const QString &table, qint64 done, qint64) {
            if (table == QLatin1String("hhbuch"))
                reported = done;
        });
        QCOMPARE(reported, 900);
        for (const auto &c : counts)
            QVERIFY2(c.source == c.target, qPrintable(c.table));
        QCOMPARE(fingerprint(*target), expected);

        // Keys go on after the highest copied one.
        target->exec("insert into hhbuch (Hhplan_id, RubText) values (1, 'neu')");
        QCOMPARE(target->scalar("select max(Hhbuch_id) from hhbuch").toInt(), 1001);
        target->exec("delete from hhbuch where RubText = 'neu'");

        QTemporaryDir backDir;
        Database back;
        back.open(backDir.path());
        DatabaseCopy::copy(*target, back);
        QCOMPARE(fingerprint(back), expected);
    }

    void targetWithRecordsIsRefused()
    {
        QTemporaryDir sourceDir;
        Database source;
        source.open(sourceDir.path());
        TempDatabase tmp;
        auto target = tmp.connect();
        target->exec("insert into adressen (Name1) values ('Schon da')");
        try {
            DatabaseCopy::copy(source, *target);
            QFAIL("copied into a database with records");
        } catch (const DataError &e) {
            QCOMPARE(e.message(), QStringLiteral("Die Zieldatenbank %1 ist nicht leer (Tabelle adressen).\rBitte geben "
                                                 "Sie eine neue, leere Datenbank als Ziel an.")
                                      .arg(target->location()));
        }
        QCOMPARE(target->scalar("select count(*) from adressen").toInt(), 1);
    }
};

QTEST_GUILESS_MAIN(TestDatabaseCopy)
#include "tst_databasecopy.moc"
