#include "data/Migrations.h"

#include "data/DataError.h"
#include "data/Database.h"
#include "data/FirstStartData.h"

namespace Migrations {

namespace {

// A file made before the program shipped a garnishment table gets the one in force. Base
// values or a table of the adviser's own are kept as they are: a table without its base
// values may still be the one the office works with.
void addGarnishmentTable(Database &db)
{
    const bool noBase = db.scalar(QStringLiteral("select count(*) from Pfand")).toInt() == 0;
    const bool noTable = db.scalar(QStringLiteral("select count(*) from pfaendung")).toInt() == 0;
    if (noBase && noTable)
        FirstStartData::writeGarnishment(db);
}

} // namespace

void apply(Database &db, int toVersion)
{
    switch (toVersion) {
    // Version 1 is the first layout; files are created at it, so no step leads there.
    case 2:
        addGarnishmentTable(db);
        break;
    default:
        throw DataError(QStringLiteral("Für die Datenbankversion %1 gibt es keinen Umstellungsschritt.")
                            .arg(toVersion));
    }
}

} // namespace Migrations
