#pragma once

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
    QVector<QStringList> rows;   // the lines after the header with as many fields
    QVector<int> lines;          // the line of the file each row starts on, from 1
};

// Which column holds what; -1 where the file has none.
struct ColumnMapping
{
    int date = -1;
    int valueDate = -1;
    int amount = -1;         // signed amount …
    int debit = -1;          // … or separate debit and credit columns
    int credit = -1;
    int text = -1;
    int counterparty = -1;
    int reference = -1;

    bool operator==(const ColumnMapping &) const = default;
    // "" when the mapping can be used, else the German message that says what is missing.
    QString missing() const;
    // Stored with a bank profile: "date=1;amount=7;…".
    QString toText() const;
    static ColumnMapping fromText(const QString &text);
};

// UTF-8 when the bytes are valid UTF-8 (a byte-order mark is dropped), else Windows-1252.
QString decode(const QByteArray &bytes, QString *encoding = nullptr);

// The separator (';', tab or ','), the header line and the rows. Throws ImportError when
// no table can be found.
Table parse(const QByteArray &bytes);

// The mapping read from the header's words; columns it cannot tell stay -1.
ColumnMapping guessMapping(const QStringList &header);
// A name for the bank profile of this header ("Sparkasse", "Volksbank/Raiffeisenbank", …).
QString bankFamily(const QStringList &header);
// The header as one line, the key of its bank profile.
QString headerKey(const Table &table);

// The bookings of the rows. Empty rows and rows without a date and amount (balances,
// totals) are passed over; a row with a date or amount that cannot be read is refused with
// its line number.
QVector<StatementEntry> entries(const Table &table, const ColumnMapping &mapping);

} // namespace CsvStatement
