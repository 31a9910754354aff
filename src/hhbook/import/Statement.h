#pragma once

#include "core/AppError.h"
#include "core/Money.h"

#include <QDate>
#include <QString>
#include <QVector>

// One movement of a bank statement as the bank reported it: the amount carries the bank's
// sign (credits positive, debits negative) and is in the currency of the statement.
struct StatementEntry
{
    QDate bookingDate;
    QDate valueDate;
    Money amount;
    QString counterparty;
    QString text;        // the remittance text, blanks collapsed
    QString reference;   // the bank's reference, else the end-to-end reference; may be empty
    QString currency{};  // of `amount`; empty means euro
    Money euro{};        // the amount in euro the bank reports for a booking in another currency …
    bool euroKnown = false;   // … where it reports one
    QString foreign{};   // a payment abroad booked in euro: the original amount ("9,13 CHF")

    bool inEuro() const { return currency.isEmpty() || currency == QLatin1String("EUR"); }
    // What the book (kept in euro) takes; false when the bank gives no euro amount.
    bool euroAmount(Money *amount) const;
};

// Lines of a statement that are no bookings and are left out of every import.
struct LeftOut
{
    int balances = 0;    // opening and closing balances, "Kontostand"
    int pending = 0;     // not booked yet ("vorgemerkt")
    int scheduled = 0;   // orders for later (Terminüberweisung, the next days)

    int total() const { return balances + pending + scheduled; }
    LeftOut &operator+=(const LeftOut &o)
    {
        balances += o.balances;
        pending += o.pending;
        scheduled += o.scheduled;
        return *this;
    }
    // "" when nothing was left out, else the sentence the preview shows.
    QString text() const;
};

// The bookings of one account in a statement file.
struct StatementAccount
{
    QString id;          // IBAN or the bank's account number; empty when the file names none
    QString owner;
    QString currency;    // empty when the file names none
    QVector<StatementEntry> entries;
    LeftOut leftOut;

    // "DE89 3704 0044 0532 0130 00 – ACME GmbH (EUR)"
    QString title() const;
};

// A statement file that cannot be read; the message names the place and the reason.
class ImportError : public AppError
{
public:
    using AppError::AppError;
};

namespace Statement {

enum class Format { Camt053, Csv };

// Files above this are refused before they are read whole.
inline constexpr qint64 MaxBytes = 20 * 1024 * 1024;
inline constexpr int MaxRows = 100000;

// CAMT (camt.052 and camt.053) is recognised by its content, whatever the file is called;
// anything else is taken for CSV.
Format detect(const QByteArray &content);

// Refuses what is no statement at all (a PDF, an office document, random bytes, an HTML
// page, XML with a document type definition) and files beyond the limits, with the German
// message that says what was found. `name` is the file's name as the message shows it.
void refuseNonStatement(const QByteArray &content, const QString &name);
// "Die Datei x ist kein Kontoauszug (erwartet: …). Gefunden: …"
QString notAStatement(const QString &name, const QString &found);

// "NOTPROVIDED" and its kin mean there is no reference.
QString cleanReference(const QString &reference);

// An IBAN in groups of four, as printed on statements.
QString groupedIban(const QString &iban);

} // namespace Statement
