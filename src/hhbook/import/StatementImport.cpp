#include "hhbook/import/StatementImport.h"

#include "core/GermanFormat.h"
#include "data/BookLock.h"
#include "data/Database.h"
#include "data/SqlDialect.h"
#include "data/WriteTransaction.h"
#include "hhbook/import/CamtReader.h"
#include "hhbook/import/CategorySuggester.h"
#include "hhbook/rules/HhbookVocabulary.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

#include <algorithm>
#include <cstdlib>

namespace StatementImport {

namespace {

QString normalizedText(const QString &text)
{
    return text.simplified().toCaseFolded();
}

Money absolute(Money m)
{
    return m < Money() ? -m : m;
}

QString truncated(const QString &text, int length)
{
    return text.size() > length ? text.left(length).trimmed() : text;
}

} // namespace

QString bookingText(const StatementEntry &entry)
{
    QString t = entry.text.simplified();
    if (t.isEmpty())
        t = entry.counterparty.simplified();
    if (t.isEmpty())
        t = QStringLiteral("Kontoauszug");
    return truncated(t, TextLength);
}

Money bookAmount(Money bankAmount, const QString &rubrik)
{
    return rubrik == HhbookVocabulary::categoryWords().first() ? bankAmount : -bankAmount;
}

QString Duplicates::key(const QDate &date, Money amount, const QString &text)
{
    return date.toString(Qt::ISODate) + u'|' + QString::number(absolute(amount).raw()) + u'|' + normalizedText(text);
}

void Duplicates::add(const QDate &date, Money amount, const QString &text, const QString &reference)
{
    if (!reference.isEmpty())
        m_references.insert(reference);
    ++m_keys[key(date, amount, text)];
}

int Duplicates::mark(QVector<Row> &rows)
{
    int found = 0;
    for (Row &r : rows) {
        r.duplicate = false;
        Money euro;
        if (!r.take || !r.bookable(&euro))
            continue;
        const auto k = m_keys.find(key(r.entry.bookingDate, euro, r.text));
        const bool sameKey = k != m_keys.end() && *k > 0;
        if (sameKey)
            --*k;
        if (sameKey || (!r.entry.reference.isEmpty() && m_references.contains(r.entry.reference))) {
            r.duplicate = true;
            ++found;
        }
    }
    return found;
}

namespace {

// Bookings of the statement's period, and the bank references of the whole book: a booking
// found again has the date the bank gave it, while its reference may sit on a booking whose
// date the adviser corrected.
Duplicates inBook(const Database &db, int hhplanId, const QVector<Row> &rows)
{
    Duplicates d;
    if (rows.isEmpty())
        return d;
    QDate from = rows.first().entry.bookingDate, to = from;
    for (const Row &r : rows) {
        from = std::min(from, r.entry.bookingDate);
        to = std::max(to, r.entry.bookingDate);
    }
    QSqlQuery q = db.exec(QStringLiteral("select Buchdat, Betrag, RubText from hhbuch "
                                         "where hhplan_id = :hhplan_id and buchdat >= :von and buchdat <= :bis"),
                          {{QStringLiteral("hhplan_id"), hhplanId}, {QStringLiteral("von"), from},
                           {QStringLiteral("bis"), to}});
    while (q.next())
        d.add(q.value(0).toDate(), Money::fromDouble(q.value(1).toDouble()), q.value(2).toString(), QString());
    // The statement's references are looked up in the book in portions, through the index
    // on the book and reference, instead of reading every reference the book holds.
    QStringList wanted;
    QSet<QString> seen;
    for (const Row &r : rows)
        if (!r.entry.reference.isEmpty() && !seen.contains(r.entry.reference)) {
            seen.insert(r.entry.reference);
            wanted << r.entry.reference;
        }
    constexpr int Portion = 500;
    for (qsizetype at = 0; at < wanted.size(); at += Portion) {
        const QStringList portion = wanted.mid(at, Portion);
        QStringList names;
        QVariantList values{hhplanId};
        for (qsizetype i = 0; i < portion.size(); ++i) {
            names << QStringLiteral(":r%1").arg(i);
            values << truncated(portion.at(i), 100);
        }
        const TranslatedSql sql = SqlDialect::translate(
            QStringLiteral("select Bankref from hhbuch where hhplan_id = :hhplan_id and Bankref in (%1)")
                .arg(names.join(QStringLiteral(", "))));
        QSqlQuery q = db.execBound(sql, values, true);
        while (q.next())
            d.addReference(q.value(0).toString());
    }
    return d;
}

// Bookings of a recurring series (or typed by hand) carry no bank reference: one with the
// same amount and category a few days from a statement booking is probably that booking.
void markProbable(const Database &db, int hhplanId, QVector<Row> &rows)
{
    QDate from, to;
    for (const Row &r : std::as_const(rows)) {
        if (!from.isValid() || r.entry.bookingDate < from)
            from = r.entry.bookingDate;
        if (!to.isValid() || r.entry.bookingDate > to)
            to = r.entry.bookingDate;
    }
    if (!from.isValid())
        return;
    struct Booked
    {
        QDate date;
        Money amount;
        QString rubrik;
        bool used = false;
    };
    QVector<Booked> booked;
    QSqlQuery q = db.exec(QStringLiteral("select Buchdat, Betrag, Rubrik from hhbuch where hhplan_id = :hhplan_id "
                                         "and buchdat >= :von and buchdat <= :bis and (Bankref is null or Bankref = '')"),
                          {{QStringLiteral("hhplan_id"), hhplanId}, {QStringLiteral("von"), from.addDays(-ProbableDays)},
                           {QStringLiteral("bis"), to.addDays(ProbableDays)}});
    while (q.next())
        booked.append({q.value(0).toDate(), Money::fromDouble(q.value(1).toDouble()), q.value(2).toString()});
    // the bookings found as exact duplicates answer for those rows already
    for (const Row &r : std::as_const(rows)) {
        Money euro;
        if (!r.duplicate || !r.bookable(&euro))
            continue;
        for (Booked &b : booked)
            if (!b.used && b.date == r.entry.bookingDate && b.amount == bookAmount(euro, b.rubrik)) {
                b.used = true;
                break;
            }
    }
    for (Row &r : rows) {
        Money euro;
        r.probable = false;
        if (r.duplicate || r.rubrik.isEmpty() || !r.bookable(&euro))
            continue;
        const Money amount = bookAmount(euro, r.rubrik);
        Booked *closest = nullptr;
        for (Booked &b : booked)
            if (!b.used && b.rubrik == r.rubrik && b.amount == amount
                && std::abs(b.date.daysTo(r.entry.bookingDate)) <= ProbableDays
                && (!closest || std::abs(b.date.daysTo(r.entry.bookingDate))
                                    < std::abs(closest->date.daysTo(r.entry.bookingDate))))
                closest = &b;
        if (closest) {
            closest->used = true;
            r.probable = true;
            r.probableDate = closest->date;
        }
    }
}

} // namespace

QString rowNote(const Row &r)
{
    Money euro;
    if (r.duplicate)
        return QStringLiteral("bereits im Haushaltsbuch");
    if (!r.bookable(&euro))
        return QStringLiteral("%1 %2: kein Euro-Betrag der Bank, bitte von Hand buchen")
            .arg(GermanFormat::number(r.entry.amount.toDouble(), 2), r.entry.currency);
    if (!r.entry.inEuro())
        return QStringLiteral("Fremdwährung %1 %2, in Euro %3")
            .arg(GermanFormat::number(r.entry.amount.toDouble(), 2), r.entry.currency, GermanFormat::currency(euro));
    if (r.probable)
        return QStringLiteral("vermutlich schon gebucht (Buchung vom %1)").arg(GermanFormat::shortDate(r.probableDate));
    if (!r.entry.foreign.isEmpty())
        return QStringLiteral("bezahlt in Fremdwährung: %1").arg(r.entry.foreign);
    return {};
}

int fileUncategorised(QVector<Row> &rows, const QString &rubrik)
{
    int n = 0;
    for (Row &r : rows)
        if (r.take && !r.duplicate && r.rubrik.isEmpty()) {
            r.rubrik = rubrik;
            ++n;
        }
    return n;
}

QVector<Row> prepare(const Database &db, int hhplanId, const QVector<StatementEntry> &entries)
{
    QVector<Row> rows;
    rows.reserve(entries.size());
    for (const StatementEntry &e : entries) {
        Row r;
        r.entry = e;
        r.entry.reference = truncated(e.reference, 100);   // as the column keeps it
        r.text = bookingText(e);
        rows.append(r);
    }
    inBook(db, hhplanId, rows).mark(rows);

    CategorySuggester suggester;
    // The latest booking with each counterparty, over the whole book: the database groups them.
    QSqlQuery parties = db.exec(QStringLiteral("select Partner, Rubrik, max(Buchdat), max(Hhbuch_id) from hhbuch "
                                               "where hhplan_id = :hhplan_id and Partner <> '' group by Partner, Rubrik"),
                                {{QStringLiteral("hhplan_id"), hhplanId}});
    while (parties.next())
        suggester.learnCounterparty(parties.value(0).toString(), parties.value(1).toString(), parties.value(2).toDate(),
                                    parties.value(3).toLongLong());
    // Words from the latest bookings only: what a household spends on changes over the years,
    // and a book of decades would otherwise be read whole for every statement.
    QSqlQuery texts = db.exec(QStringLiteral("select Partner, RubText, Zweck, Rubrik, Buchdat, Hhbuch_id from hhbuch "
                                             "where hhplan_id = :hhplan_id order by buchdat desc"),
                              {{QStringLiteral("hhplan_id"), hhplanId}});
    for (int n = 0; n < WordHistory && texts.next(); ++n) {
        const QString zweck = texts.value(2).toString();
        suggester.learnWords(texts.value(0).toString() + u' ' + (zweck.isEmpty() ? texts.value(1).toString() : zweck),
                             texts.value(3).toString(), texts.value(4).toDate(), texts.value(5).toLongLong());
    }
    for (Row &r : rows)
        r.rubrik = suggester.suggest(r.entry.counterparty, r.entry.text);
    markProbable(db, hhplanId, rows);
    for (Row &r : rows)
        if (!r.entry.inEuro() || r.probable)
            r.take = false;   // an amount in another currency is the adviser's to confirm
    return rows;
}

Result store(const Database &db, int hhplanId, QVector<Row> &rows)
{
    Result result;
    for (const Row &r : std::as_const(rows))
        if (!r.take)
            ++result.leftOut;
    if (rows.isEmpty())
        return result;

    int uncategorised = 0;
    for (const Row &r : std::as_const(rows)) {
        Money euro;
        if (r.take && !r.bookable(&euro))
            throw ImportError(QStringLiteral("Die Buchung vom %1 über %2 %3 hat keinen Euro-Betrag und kann nicht "
                                             "übernommen werden.")
                                  .arg(GermanFormat::shortDate(r.entry.bookingDate),
                                       GermanFormat::number(r.entry.amount.toDouble(), 2), r.entry.currency));
        if (r.take && r.rubrik.trimmed().isEmpty())
            ++uncategorised;
    }
    if (uncategorised > 0)
        throw ImportError(uncategorisedMessage(uncategorised));

    WriteTransaction tx(db);
    // Under the book's lock, so no other program stores between the check and the insert.
    const BookLock lock(db, hhplanId);
    result.duplicates = inBook(db, hhplanId, rows).mark(rows);

    QSqlQuery insert = db.prepare(SqlDialect::translate(
        QStringLiteral("insert into hhbuch (Hhplan_id, Buchdat, Rubrik, Rubdet, Betrag, RubText, Partner, Bankref, Zweck) "
                       "values (:hhplan_id, :buchdat, :rubrik, :rubdet, :betrag, :rubtext, :partner, :bankref, :zweck)")));
    const QString account = HhbookVocabulary::waysOfPayment().at(1);
    for (const Row &r : std::as_const(rows)) {
        Money euro;
        if (!r.take || r.duplicate || !r.bookable(&euro))
            continue;
        db.execPrepared(insert, {hhplanId, r.entry.bookingDate, r.rubrik, account,
                                 bookAmount(euro, r.rubrik).toDouble(), r.text,
                                 truncated(r.entry.counterparty, 70), truncated(r.entry.reference, 100),
                                 r.entry.text});
        ++result.stored;
    }
    tx.commit();
    return result;
}

QString resultText(const Result &r)
{
    QString text = QStringLiteral("%1 Buchung(en) übernommen.").arg(r.stored);
    if (r.duplicates > 0)
        text += QStringLiteral("\r%1 Buchung(en) waren schon im Haushaltsbuch und wurden nicht noch einmal übernommen.")
                    .arg(r.duplicates);
    if (r.leftOut > 0)
        text += QStringLiteral("\r%1 Buchung(en) wurden ausgelassen.").arg(r.leftOut);
    return text;
}

void ReadResult::chooseAccount(int index)
{
    if (index < 0 || index >= accounts.size())
        return;
    account = index;
    entries = accounts.at(index).entries;
    leftOut = accounts.at(index).leftOut;
}

ReadResult read(const Database &db, const QByteArray &content, const QString &name)
{
    Statement::refuseNonStatement(content, name);
    ReadResult r;
    r.format = Statement::detect(content);
    if (r.format == Statement::Format::Camt053) {
        r.accounts = CamtReader::read(content, name);
        r.profileName = CamtReader::messageType(content).toUpper();
        if (r.profileName.isEmpty())
            r.profileName = QStringLiteral("CAMT");
        // the first account kept in euro, as the book is
        int first = 0;
        for (int i = static_cast<int>(r.accounts.size()) - 1; i >= 0; --i)
            if (r.accounts.at(i).currency.isEmpty() || r.accounts.at(i).currency == QLatin1String("EUR"))
                first = i;
        if (r.accounts.isEmpty())
            r.accounts.append(StatementAccount{});
        r.chooseAccount(first);
        return r;
    }
    r.table = CsvStatement::parse(content);
    r.knownProfile = BankProfiles::find(db, CsvStatement::headerKey(r.table), &r.mapping, &r.profileName);
    if (!r.knownProfile) {
        r.mapping = CsvStatement::guessMapping(r.table);
        r.profileName = CsvStatement::bankName(r.table);
    }
    r.accounts.append(StatementAccount{});
    // an incomplete mapping is for the adviser to finish in the window
    if (r.mapping.missing().isEmpty()) {
        r.accounts[0].entries = CsvStatement::entries(r.table, r.mapping, &r.accounts[0].leftOut);
        r.chooseAccount(0);
    }
    return r;
}

ReadResult readFile(const Database &db, const QString &path)
{
    QFile f(path);
    const QString name = QFileInfo(path).fileName();
    if (!f.open(QIODevice::ReadOnly))
        throw ImportError(QStringLiteral("Die Datei %1 kann nicht gelesen werden:\r%2").arg(path, f.errorString()));
    if (f.size() > Statement::MaxBytes)
        throw ImportError(QStringLiteral("Die Datei %1 ist mit %2 MB zu groß für einen Kontoauszug (höchstens 20 MB).")
                              .arg(name, GermanFormat::number(static_cast<double>(f.size()) / (1024.0 * 1024.0), 1)));
    const QByteArray content = f.readAll();
    if (std::all_of(content.cbegin(), content.cend(), [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }))
        throw ImportError(QStringLiteral("Die Datei %1 ist leer.").arg(path));
    return read(db, content, name);
}

QString uncategorisedMessage(int count)
{
    return count == 1 ? QStringLiteral("Eine Buchung hat noch keine Kategorie. Bitte wählen Sie eine, oder legen Sie eine "
                                       "Kategorie für alle Buchungen ohne Kategorie fest.")
                      : QStringLiteral("%1 Buchungen haben noch keine Kategorie. Bitte wählen Sie für jede eine, oder legen "
                                       "Sie eine Kategorie für alle Buchungen ohne Kategorie fest.")
                            .arg(count);
}

namespace BankProfiles {

bool find(const Database &db, const QString &headerKey, CsvStatement::ColumnMapping *mapping, QString *name)
{
    QSqlQuery q = db.exec(QStringLiteral("select Bezeichnung, Zuordnung from bankprofil where Kopfzeile = :k "
                                         "order by Bankprofil_id desc"),
                          {{QStringLiteral("k"), headerKey}});
    if (!q.next())
        return false;
    if (name)
        *name = q.value(0).toString();
    if (mapping)
        *mapping = CsvStatement::ColumnMapping::fromText(q.value(1).toString());
    return true;
}

void remember(const Database &db, const QString &headerKey, const QString &name,
              const CsvStatement::ColumnMapping &mapping)
{
    WriteTransaction tx(db);
    db.exec(QStringLiteral("delete from bankprofil where Kopfzeile = :k"), {{QStringLiteral("k"), headerKey}});
    db.exec(QStringLiteral("insert into bankprofil (Bezeichnung, Kopfzeile, Zuordnung) values (:n, :k, :z)"),
            {{QStringLiteral("n"), truncated(name, 80)}, {QStringLiteral("k"), headerKey},
             {QStringLiteral("z"), mapping.toText()}});
    tx.commit();
}

} // namespace BankProfiles

} // namespace StatementImport
