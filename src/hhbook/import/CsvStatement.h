#pragma once

#include "core/GermanFormat.h"
#include "hhbook/import/Statement.h"

#include <QStringList>

// A bank's CSV export: each bank its own columns, most of them German (semicolons, decimal
// comma, dd.MM.yyyy, Windows-1252 or UTF-8), often with lines before the header and after
// the last booking.
namespace CsvStatement {

struct Table
{
    QString encoding;        // "UTF-8" or "Windows-1252"
    QChar separator;
    QStringList header;
    QVector<QStringList> rows;   // the lines after the header, cut or padded to its width
    QVector<int> lines;          // the line of the file each row starts on, from 1
    QStringList preamble;        // the lines above the header, fields joined by blanks
    int scheduled = 0;           // rows of a table of orders for later, left out
};

// Which column holds what; -1 where the file has none.
struct ColumnMapping
{
    int date = -1;
    int valueDate = -1;
    int amount = -1;         // signed amount …
    int debit = -1;          // … or separate debit and credit columns …
    int credit = -1;
    int indicator = -1;      // … or an unsigned amount and S/H (Soll/Haben, D/C, -/+)
    int text = -1;
    int counterparty = -1;   // the other party whatever the sign …
    int payer = -1;          // … or the other party of a credit …
    int payee = -1;          // … and of a debit
    int reference = -1;
    int currency = -1;       // the currency of the amount
    int foreignAmount = -1;  // a payment abroad: the amount in its currency
    int foreignCurrency = -1;

    bool operator==(const ColumnMapping &) const = default;
    // "" when the mapping can be used, else the German message that says what is missing.
    QString missing() const;
    // Stored with a bank profile: "date=1;amount=7;…".
    QString toText() const;
    static ColumnMapping fromText(const QString &text);
};

// UTF-8 when the bytes are valid UTF-8 (a byte-order mark is dropped), UTF-16 with its
// byte-order mark, else Windows-1252.
QString decode(const QByteArray &bytes, QString *encoding = nullptr);

// The header's words as they are compared: lower case, umlauts spelt out, without gender
// endings ("*in", ":innen"), blanks, slashes and other punctuation.
QString normalized(const QString &word);

// The separator (';', tab or ','), the header line and the rows. The header is the line
// that names a date and an amount column; a file whose header names none is taken by the
// width of its lines, for the adviser to map. Throws ImportError when no table is found.
Table parse(const QByteArray &bytes);

// The mapping read from the header's words; columns it cannot tell stay -1.
ColumnMapping guessMapping(const QStringList &header);
// As above, and columns told by their content: an S/H column without a name.
ColumnMapping guessMapping(const Table &table);
// A name for the bank profile of this file: the bank it names, else its header's family
// ("Sparkasse", "Volksbank/Raiffeisenbank", …), else "Eigenes Format".
QString bankFamily(const QStringList &header);
QString bankName(const Table &table);
// The header as one line, the key of its bank profile.
QString headerKey(const Table &table);

// The bookings of the rows. Empty rows and rows without a date and amount (totals) are
// passed over; balances, pending and scheduled rows are left out and counted in `leftOut`;
// a row with a date or amount that cannot be read is refused with its line number.
QVector<StatementEntry> entries(const Table &table, const ColumnMapping &mapping, LeftOut *leftOut = nullptr);

} // namespace CsvStatement
