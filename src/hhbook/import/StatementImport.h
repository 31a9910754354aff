#pragma once

#include "hhbook/import/CsvStatement.h"
#include "hhbook/import/Statement.h"

#include <QHash>
#include <QSet>

class Database;

// Bank statements into a household book: which bookings the book already holds, which
// category each new one gets, and storing an import as a whole.
namespace StatementImport {

// One booking of the preview; the adviser may change its category and leave it out.
struct Row
{
    StatementEntry entry;
    QString text;        // what the book's description (RubText) will hold
    QString rubrik;      // proposed, then confirmed or changed by the adviser
    bool duplicate = false;
    // A booking of the book without bank reference (a recurring series, typed by hand)
    // with the same amount and category a few days apart: probably this one, so it is
    // not taken unless the adviser says so.
    bool probable = false;
    QDate probableDate;
    bool take = true;
    // The amount the book takes; false for a booking in another currency without a euro
    // amount from the bank, which cannot be taken.
    bool bookable(Money *euro) const { return entry.euroAmount(euro); }
};

// How many days apart a statement booking and a booking of a series may be to be taken
// for the same.
inline constexpr int ProbableDays = 4;

// The book's description of a statement booking: the remittance text, else the other
// party, cut to the fifty characters of the column (the whole text is kept in Zweck).
QString bookingText(const StatementEntry &entry);
inline constexpr int TextLength = 50;

// Amounts in the book carry no sign: the category tells income from cost. A credit filed
// as a cost (a refund) therefore lowers that cost, and a debit filed as income lowers it.
Money bookAmount(Money bankAmount, const QString &rubrik);

// What a book already holds, to find a statement booking in it again: the same bank
// reference, or the same date, amount and description. Each booking of the book answers
// for one booking of a statement only, so two equal coffees of one day are both imported
// and both found again next time.
class Duplicates
{
public:
    void add(const QDate &date, Money bookAmount, const QString &text, const QString &reference);
    void addReference(const QString &reference) { m_references.insert(reference); }
    // Marks the rows found in the book; rows left out by the adviser are not looked at.
    int mark(QVector<Row> &rows);

private:
    static QString key(const QDate &date, Money amount, const QString &text);
    QSet<QString> m_references;
    QHash<QString, int> m_keys;
};

// How many of the latest bookings the words of a text are compared with.
inline constexpr int WordHistory = 10000;

// The preview of a statement for book `hhplanId`: every booking with its description,
// duplicate mark and proposed category, in the statement's order.
QVector<Row> prepare(const Database &db, int hhplanId, const QVector<StatementEntry> &entries);

struct Result
{
    int stored = 0;
    int duplicates = 0;   // found in the book when storing
    int leftOut = 0;      // left out by the adviser
};

// Stores the rows marked to take in one transaction: all or, on an error, none. The check
// for duplicates runs again inside the transaction, so bookings stored meanwhile from
// another window or computer are not stored twice. A row to take without a category, or
// without a euro amount, refuses the whole import (ImportError): the book holds no booking
// that its evaluation would pass over.
Result store(const Database &db, int hhplanId, QVector<Row> &rows);

// The refusal of an import with `count` bookings to take that have no category.
QString uncategorisedMessage(int count);

// The message after an import.
QString resultText(const Result &result);

// Reads a statement file of either format. For CSV the layout's remembered bank profile
// gives the mapping, else the header's words; `table` and `mapping` return what was used
// so the window can show and change it. Throws ImportError.
// A file with several accounts shows one at a time: `entries` and `leftOut` are those of
// `accounts[account]`, which `chooseAccount` changes.
struct ReadResult
{
    Statement::Format format = Statement::Format::Csv;
    CsvStatement::Table table;
    CsvStatement::ColumnMapping mapping;
    QString profileName;
    bool knownProfile = false;
    QVector<StatementAccount> accounts;
    int account = 0;
    QVector<StatementEntry> entries;
    LeftOut leftOut;

    void chooseAccount(int index);
};
// Refuses files above 20 MB before reading them, and whatever is no statement.
ReadResult readFile(const Database &db, const QString &path);
ReadResult read(const Database &db, const QByteArray &content, const QString &name = {});

// The text for a row that cannot be taken or is not taken by default, else "".
QString rowNote(const Row &row);

// Gives every row to take that has no category the category `rubrik`; returns how many.
int fileUncategorised(QVector<Row> &rows, const QString &rubrik);

// Bank profiles: the mapping of a CSV layout, kept under its header line.
namespace BankProfiles {
bool find(const Database &db, const QString &headerKey, CsvStatement::ColumnMapping *mapping, QString *name);
void remember(const Database &db, const QString &headerKey, const QString &name,
              const CsvStatement::ColumnMapping &mapping);
} // namespace BankProfiles

} // namespace StatementImport
