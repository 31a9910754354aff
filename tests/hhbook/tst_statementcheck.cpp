// Reads every real bank file of ../shared/bankstatements (other projects' data, kept outside
// the project) and compares the import with the file's expected.json. Skipped where the
// folder does not exist.
#include "HhbookFixture.h"

#include "hhbook/import/StatementImport.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <memory>

using namespace StatementImport;

namespace {

QString sharedFolder()
{
    const QString env = qEnvironmentVariable("FINORRA_BANKSTATEMENTS");
    return env.isEmpty() ? QStringLiteral(FINORRA_SOURCE "/../shared/bankstatements") : env;
}

Money money(const QString &text)
{
    Money m;
    GermanFormat::tryParseMoney(text, &m, GermanFormat::DecimalMark::Point);
    return m;
}

QString amountText(Money m)
{
    return QString::number(m.toDouble(), 'f', 2);
}

} // namespace

class TestStatementCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!QDir(sharedFolder()).exists())
            QSKIP("no folder of shared bank statements beside the project");
    }

    void sharedFiles_data()
    {
        QTest::addColumn<QString>("folder");
        const QDir dir(sharedFolder());
        if (!dir.exists())
            return;
        for (const QString &c : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
            QTest::newRow(qPrintable(c)) << dir.filePath(c);
    }
    void sharedFiles()
    {
        QFETCH(QString, folder);
        QFile json(folder + "/expected.json");
        QVERIFY(json.open(QIODevice::ReadOnly));
        const QJsonObject expected = QJsonDocument::fromJson(json.readAll()).object();
        const QString file = folder + '/' + expected.value("file").toString();

        HhbookFixture f;
        const int book = f.addBook("Prüfung");
        ReadResult r = readFile(f.dm.db, file);

        // Each account apart; the bookings of all of them in file order.
        const QJsonArray perStatement = expected.value("per_statement").toArray();
        QVector<StatementEntry> all;
        LeftOut leftOut;
        if (perStatement.size() > 1) {
            QCOMPARE(r.accounts.size(), perStatement.size());
            for (int i = 0; i < perStatement.size(); ++i) {
                const QJsonObject st = perStatement.at(i).toObject();
                QCOMPARE(r.accounts.at(i).id, st.value("account").toString());
                QCOMPARE(r.accounts.at(i).entries.size(), st.value("entries").toInt());
            }
        }
        for (const StatementAccount &a : std::as_const(r.accounts)) {
            all += a.entries;
            leftOut += a.leftOut;
        }

        // A batch booked as one entry is split into its parts: compare the parts.
        QStringList wanted;
        QVector<QPair<int, int>> groups;   // the bookings each entry of the file became
        const QJsonArray order = expected.contains("amounts_in_file_order") ? expected.value("amounts_in_file_order").toArray()
                                                                            : expected.value("amounts_in_document_order").toArray();
        QJsonArray batches = expected.value("batch_entries").toArray();
        for (const QJsonValue &v : order) {
            if (!batches.isEmpty() && batches.first().toObject().value("entry_amount").toString() == v.toString()) {
                const bool debit = v.toString().startsWith('-');
                const auto parts = batches.first().toObject().value("tx_amounts").toArray();
                groups.append({int(wanted.size()), int(parts.size())});
                for (const QJsonValue &t : parts)
                    wanted << amountText(money(t.toString().section(' ', 0, 0)) * (debit ? -1 : 1));
                batches.removeFirst();
            } else {
                groups.append({int(wanted.size()), 1});
                wanted << amountText(money(v.toString()));
            }
        }
        QStringList got;
        for (const StatementEntry &e : std::as_const(all))
            got << amountText(e.amount);
        QCOMPARE(got, wanted);

        auto matches = [&](QPair<int, int> group, const QJsonObject &want) {
            QString words;
            for (int i = group.first; i < group.first + group.second; ++i)
                words += all.at(i).counterparty + ' ' + all.at(i).text + ' ';
            return all.at(group.first).bookingDate == QDate::fromString(want.value("date").toString(), Qt::ISODate)
                   && words.contains(want.value("text_contains").toString(), Qt::CaseInsensitive);
        };
        QVERIFY2(matches(groups.first(), expected.value("first").toObject()), qPrintable(all.first().text));
        QVERIFY2(matches(groups.last(), expected.value("last").toObject()), qPrintable(all.last().text));
        if (expected.value("sum").isString()) {
            Money sum;
            for (const StatementEntry &e : std::as_const(all))
                sum += e.amount;
            QCOMPARE(amountText(sum), amountText(money(expected.value("sum").toString())));
        }
        QCOMPARE(leftOut.pending, expected.value("pending").toObject().value("count").toInt());
        QCOMPARE(leftOut.scheduled, expected.value("not_bookings").toObject().value("scheduled_rows").toInt());
        if (expected.contains("balances"))
            QCOMPARE(leftOut.balances, 2);

        // Into the book: every booking of the account the book takes in euro, the identical
        // ones of one day all; a second import adds nothing.
        QVector<Row> rows = prepare(f.dm.db, book, r.entries);
        int takeable = 0;
        for (Row &row : rows) {
            Money euro;
            row.take = row.bookable(&euro);
            takeable += row.take;
        }
        fileUncategorised(rows, "Allgemeine Kosten");
        QCOMPARE(store(f.dm.db, book, rows).stored, takeable);
        QCOMPARE(f.storedCount("hhbuch"), takeable);
        QVector<Row> again = prepare(f.dm.db, book, r.entries);
        for (Row &row : again) {
            QVERIFY2(row.duplicate || !row.take, qPrintable(row.text));
            row.take = true;
        }
        fileUncategorised(again, "Allgemeine Kosten");
        for (Row &row : again) {
            Money euro;
            row.take = row.bookable(&euro);
        }
        QCOMPARE(store(f.dm.db, book, again).stored, 0);
        QCOMPARE(f.storedCount("hhbuch"), takeable);
        qInfo("%s (%s): %d bookings, %d taken in euro, left out %d (pending %d, balances %d, scheduled %d)",
              qPrintable(QFileInfo(folder).fileName()), qPrintable(r.profileName), int(all.size()), takeable, leftOut.total(), leftOut.pending,
              leftOut.balances, leftOut.scheduled);
    }
};

QTEST_GUILESS_MAIN(TestStatementCheck)
#include "tst_statementcheck.moc"
