#pragma once

#include "hhbook/import/Statement.h"

// Reads the booked entries of an ISO 20022 bank-to-customer statement (camt.053, any of the
// versions German banks deliver). Pending entries are left out; an entry made of several
// transactions with amounts of their own becomes one booking per transaction.
namespace CamtReader {

// Throws ImportError for a file that is not a camt.053 statement, is damaged, or is not
// kept in euro.
QVector<StatementEntry> read(const QByteArray &content);

} // namespace CamtReader
