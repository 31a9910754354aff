#include "data/Migrations.h"

#include "data/DataError.h"
#include "data/Database.h"
#include "data/FirstStartData.h"
#include "data/Schema.h"

#include <QSqlDatabase>
#include <QSqlRecord>
#include <QStringList>

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

// Tables and columns added to the definitions since the file was made. Existing rows keep
// their values; new columns start empty.
void addMissingTablesAndColumns(Database &db)
{
    const QSqlDatabase connection = db.connection();
    QStringList existing;
    for (const QString &name : connection.tables())
        existing << name.toLower();
    for (const TableDef &t : Schema::tables()) {
        if (!existing.contains(t.name.toLower())) {
            db.exec(t.createSql(db.dialect()));
            for (const QString &ix : t.createIndexSql())
                db.exec(ix);
            continue;
        }
        const QSqlRecord stored = db.storedColumns(t.name);
        for (qsizetype i = 1; i < t.columns.size(); ++i) {
            const ColumnDef &c = t.columns.at(i);
            bool found = false;
            for (int f = 0; f < stored.count() && !found; ++f)
                found = stored.fieldName(f).compare(c.name, Qt::CaseInsensitive) == 0;
            if (!found)
                db.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                            .arg(t.name, c.name, Schema::sqlType(c, false, db.dialect())));
        }
        // An index that came with new columns.
        for (QString ix : t.createIndexSql())
            db.exec(ix.replace(QLatin1String("CREATE INDEX "), QLatin1String("CREATE INDEX IF NOT EXISTS ")));
    }
}

} // namespace

void apply(Database &db, int toVersion)
{
    switch (toVersion) {
    // Version 1 is the first layout; files are created at it, so no step leads there.
    case 2:
        addGarnishmentTable(db);
        break;
    case 3:   // clients, claims, settlement plans, account certificates
    case 4:   // bank statement import, plan against actual
    case 5:   // what a household book's stored evaluation covers; IBAN and BIC of the own banks, a client's salutation; help texts of the later parts
        addMissingTablesAndColumns(db);
        break;
    default:
        throw DataError(QStringLiteral("Für die Datenbankversion %1 gibt es keinen Umstellungsschritt.")
                            .arg(toVersion));
    }
    if (toVersion == 5)
        FirstStartData::addLaterHelpTexts(db);   // the help of the parts added since version 1
}

} // namespace Migrations
