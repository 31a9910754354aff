#pragma once

#include "data/DataError.h"

class QSqlError;

// The server went away under an open connection (restarted, stopped, the network cut).
// The statement in hand failed and nothing of its transaction is kept; the program's next
// action connects anew, so the adviser repeats the step instead of restarting the program.
class ConnectionLost : public DataError
{
public:
    using DataError::DataError;
};

namespace ConnectionLoss {

inline const QString Lost = QStringLiteral("Die Verbindung zum Datenbankserver ist unterbrochen.");

// Whether `error` of a server statement means the connection is gone.
bool isLost(const QSqlError &error);

// The messages: for a statement or transaction that failed (nothing of it is kept), for a
// commit whose answer never came (it may have gone through), for a new connection that failed.
QString notSaved();
QString commitUnknown();
QString reconnectFailed(const QString &reason);

} // namespace ConnectionLoss
