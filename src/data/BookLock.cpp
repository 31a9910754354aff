#include "data/BookLock.h"

#include "data/DataError.h"
#include "data/Database.h"

BookLock::BookLock(const Database &db, int hhplanId)
{
    if (!db.inTransaction())
        throw DataError(QStringLiteral("Ein Haushaltsbuch kann nur innerhalb einer Schreibtransaktion gesperrt werden."));
    const QString sql = SqlDialect::lockSql(db.dialect(), SqlDialect::LockSpace::Book, hhplanId);
    if (!sql.isEmpty())
        db.exec(sql);
}
