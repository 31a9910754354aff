// A camt.053 statement of 10,000 bookings into a household book of 100,000 imported before
// (each with its bank reference): reading the
// file, finding duplicates, proposing categories and storing in one transaction, next to a
// bare INSERT of the same rows in one transaction in the same run.
#include "BenchTiming.h"
#include "data/Database.h"
#include "data/SqlDialect.h"
#include "hhbook/import/CamtReader.h"
#include "hhbook/import/StatementImport.h"
#include "hhbook/rules/HhbookVocabulary.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int BookSize = 100000;
constexpr int StatementSize = 10000;
constexpr int Rounds = 3;
constexpr int Parties = 400;

QString party(int i)
{
    static const char *kinds[] = {"Frischemarkt", "Tankstelle", "Stadtwerke", "Versicherung", "Drogerie",
                                  "Apotheke", "Verkehrsbetriebe", "Kreditbank", "Bausparkasse", "Arbeitgeber"};
    return QStringLiteral("%1 %2").arg(QLatin1String(kinds[i % 10])).arg(i);
}

QString category(int i)
{
    return HhbookVocabulary::categoryWords().at(i % 8);
}

QString purpose(int i, int n)
{
    static const char *words[] = {"Lebensmittel", "Tanken", "Abschlag", "Beitrag", "Einkauf",
                                  "Rezept", "Fahrkarte", "Rate", "Darlehen", "Gehalt"};
    return QStringLiteral("SVWZ+%1 %2 Kd-Nr %3").arg(QLatin1String(words[i % 10])).arg(n % 12 + 1).arg(n);
}

void fillBook(const Database &db)
{
    db.transaction([&db] {
        db.exec(QStringLiteral("insert into hhplan (Erfdat, Bezeichnung, User_id) values (:d, 'Haushaltsbuch von Groß', 1)"),
                {{QStringLiteral("d"), QDate(2015, 1, 1)}});
        QSqlQuery q = db.prepare(SqlDialect::translate(
            QStringLiteral("insert into hhbuch (Hhplan_id, Buchdat, Rubrik, Rubdet, Betrag, RubText, Partner, Bankref, Zweck) "
                           "values (1, :d, :r, 'Konto', :b, :t, :p, :f, :z)")));
        const QDate start(2015, 1, 1);
        for (int i = 0; i < BookSize; ++i) {
            const int p = i % Parties;
            const QString text = purpose(p, i);
            db.execPrepared(q, {start.addDays(i * 3650LL / BookSize), category(p), 5.0 + (i % 1000) / 100.0,
                                text.left(50), party(p), QStringLiteral("2015%1").arg(i, 8, 10, QLatin1Char('0')), text});
        }
    });
}

// Bookings of 2025 from the same parties plus some unknown ones; every tenth one repeats a
// booking of the book (a statement overlapping what was typed or imported before).
QByteArray statement(const Database &db, QVector<StatementEntry> *expected)
{
    QSqlQuery old = db.exec(QStringLiteral("select Buchdat, Betrag, RubText, Partner from hhbuch order by Hhbuch_id desc"));
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:camt.053.001.02\"><BkToCstmrStmt>"
                     "<GrpHdr><MsgId>BENCH</MsgId></GrpHdr><Stmt><Id>1</Id><Acct><Ccy>EUR</Ccy></Acct>\n";
    for (int i = 0; i < StatementSize; ++i) {
        StatementEntry e;
        if (i % 10 == 0 && old.next()) {
            e.bookingDate = old.value(0).toDate();
            e.amount = -Money::fromDouble(old.value(1).toDouble());
            e.text = old.value(2).toString();
            e.counterparty = old.value(3).toString();
        } else {
            const int p = i % (Parties + 50);   // fifty parties the book has never seen
            e.bookingDate = QDate(2025, 1, 1).addDays(i * 365LL / StatementSize);
            e.amount = -Money::fromCents(100 + i % 5000);
            e.counterparty = p < Parties ? party(p) : QStringLiteral("Neuer Laden %1").arg(p);
            e.text = purpose(p, i);
        }
        e.reference = QStringLiteral("BENCH-%1").arg(i);
        expected->append(e);
        xml += QStringLiteral("<Ntry><Amt Ccy=\"EUR\">%1.%2</Amt><CdtDbtInd>DBIT</CdtDbtInd><Sts>BOOK</Sts>"
                              "<BookgDt><Dt>%3</Dt></BookgDt><ValDt><Dt>%3</Dt></ValDt><AcctSvcrRef>%4</AcctSvcrRef>"
                              "<NtryDtls><TxDtls><Refs><EndToEndId>NOTPROVIDED</EndToEndId></Refs>"
                              "<RltdPties><Cdtr><Nm>%5</Nm></Cdtr></RltdPties><RmtInf><Ustrd>%6</Ustrd></RmtInf>"
                              "</TxDtls></NtryDtls></Ntry>\n")
                   .arg(-e.amount.raw() / Money::Scale)
                   .arg((-e.amount.raw() % Money::Scale) / 100, 2, 10, QLatin1Char('0'))
                   .arg(e.bookingDate.toString(Qt::ISODate), e.reference, e.counterparty.toHtmlEscaped(),
                        e.text.toHtmlEscaped())
                   .toUtf8();
    }
    xml += "</Stmt></BkToCstmrStmt></Document>\n";
    return xml;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    Database db;
    db.open(dir.path());
    fillBook(db);
    QVector<StatementEntry> entries;
    const QByteArray camt = statement(db, &entries);
    const qint64 lastOfBook = db.scalar(QStringLiteral("select max(Hhbuch_id) from hhbuch")).toLongLong();
    auto removeImported = [&] {
        db.exec(QStringLiteral("delete from hhbuch where Hhbuch_id > :id"), {{QStringLiteral("id"), lastOfBook}});
    };

    const double bare = BenchTiming::bestOf(Rounds, removeImported, [&] {
        db.transaction([&] {
            QSqlQuery q = db.prepare(SqlDialect::translate(
                QStringLiteral("insert into hhbuch (Hhplan_id, Buchdat, Rubrik, Rubdet, Betrag, RubText, Partner, Bankref, Zweck) "
                               "values (1, :d, '', 'Konto', :b, :t, :p, :r, :z)")));
            for (const StatementEntry &e : std::as_const(entries))
                db.execPrepared(q, {e.bookingDate, (-e.amount).toDouble(), e.text.left(50), e.counterparty,
                                    e.reference, e.text});
        });
    });

    StatementImport::Result result;
    int suggested = 0;
    double readMs = 0, prepareMs = 0, storeMs = 0;
    const double import = BenchTiming::bestOf(Rounds, removeImported, [&] {
        QElapsedTimer t;
        t.start();
        const QVector<StatementEntry> read = CamtReader::read(camt).value(0).entries;
        const double r = t.nsecsElapsed() / 1e6;
        QVector<StatementImport::Row> rows = StatementImport::prepare(db, 1, read);
        const double p = t.nsecsElapsed() / 1e6;
        suggested = 0;
        for (const auto &row : std::as_const(rows))
            suggested += row.rubrik.isEmpty() ? 0 : 1;
        // the adviser files the rest under one category, as the book takes none without
        StatementImport::fileUncategorised(rows, HhbookVocabulary::categoryWords().at(4));
        result = StatementImport::store(db, 1, rows);
        const double s = t.nsecsElapsed() / 1e6;
        readMs = r;
        prepareMs = p - r;
        storeMs = s - p;
    });
    removeImported();

    const double ratio = import / bare;
    std::printf("hhbookimport: camt.053 of %d bookings into a book of %d\n", StatementSize, BookSize);
    std::printf("  import (read, duplicates, categories, store): %8.1f ms  (read %.1f, check+suggest %.1f, store %.1f)\n",
                import, readMs, prepareMs, storeMs);
    std::printf("  bare INSERT of the same rows, one transaction: %8.1f ms\n", bare);
    std::printf("  stored %d, duplicates %d, categories proposed %d\n", result.stored, result.duplicates, suggested);
    std::printf("  ratio %.1fx (goal <= 10x), import %s 2 s\n", ratio, import < 2000 ? "under" : "OVER");
    const bool counts = result.stored + result.duplicates == StatementSize && result.duplicates >= StatementSize / 10;
    if (!counts)
        std::printf("  unexpected counts\n");
    return counts ? 0 : 1;
}
