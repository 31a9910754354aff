#pragma once

#include "core/AppError.h"
#include "core/Money.h"

#include <QDate>
#include <QString>
#include <QVector>

// One movement of a bank statement as the bank reported it: the amount carries the bank's
// sign (credits positive, debits negative).
struct StatementEntry
{
    QDate bookingDate;
    QDate valueDate;
    Money amount;
    QString counterparty;
    QString text;        // the remittance text, blanks collapsed
    QString reference;   // the bank's reference, else the end-to-end reference; may be empty
};

// A statement file that cannot be read; the message names the place and the reason.
class ImportError : public AppError
{
public:
    using AppError::AppError;
};

namespace Statement {

enum class Format { Camt053, Csv };

// CAMT.053 is recognised by its content, whatever the file is called; anything else is
// taken for CSV.
Format detect(const QByteArray &content);

// "NOTPROVIDED" and its kin mean there is no reference.
QString cleanReference(const QString &reference);

// Statement amounts: "1.234,56", "-12,34", "12,34-", "+5", also "1234.56"; an optional
// "EUR" or "€". False for anything else.
bool parseAmount(const QString &text, Money *amount);
// dd.MM.yyyy, d.M.yyyy, dd.MM.yy (20yy) and yyyy-MM-dd. Invalid QDate otherwise.
QDate parseDate(const QString &text);

} // namespace Statement
