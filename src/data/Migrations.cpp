#include "data/Migrations.h"

#include "data/DataError.h"
#include "data/Database.h"

namespace Migrations {

void apply(Database &, int toVersion)
{
    switch (toVersion) {
    // Version 1 is the first layout; files are created at it, so no step leads there.
    default:
        throw DataError(QStringLiteral("Für die Datenbankversion %1 gibt es keinen Umstellungsschritt.")
                            .arg(toVersion));
    }
}

} // namespace Migrations
