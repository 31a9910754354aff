#pragma once

#include "hhbook/import/Statement.h"

// Reads the booked entries of an ISO 20022 bank-to-customer statement (camt.053) or account
// report (camt.052), any of the versions German banks deliver, account by account. Pending
// entries are left out and counted; an entry made of several transactions with amounts of
// their own becomes one booking per transaction.
namespace CamtReader {

// Throws ImportError for a file that is not such a statement or is damaged. `name` is the
// file's name as messages show it.
QVector<StatementAccount> read(const QByteArray &content, const QString &name = {});

// "camt.052" or "camt.053" by the message the file holds; "" for anything else.
QString messageType(const QByteArray &content);

} // namespace CamtReader
