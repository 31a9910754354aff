#include "data/SchemaAdditions.h"

namespace SchemaAdditions {

namespace {

ColumnDef column(const char *name, FieldType type, int size = 0)
{
    return {QString::fromUtf8(name), type, size, false};
}

} // namespace

void appendStatementImport(QVector<TableDef> &tables)
{
    // A booking taken from a bank statement keeps what the statement said about it: the
    // other party, the bank's reference (a second import of the same statement finds it)
    // and the whole remittance text, which rarely fits the fifty characters of RubText.
    if (TableDef *hhbuch = find(tables, QStringLiteral("hhbuch"))) {
        hhbuch->columns.append(column("Partner", FieldType::Text, 70));
        hhbuch->columns.append(column("Bankref", FieldType::Text, 100));
        hhbuch->columns.append(column("Zweck", FieldType::Memo));
        // each import looks up its references among all bookings of the book
        hhbuch->indexes.append(QStringLiteral("Hhplan_id, Bankref"));
    }

    // The column mapping of a CSV layout, remembered under the layout's header line.
    tables.append({QStringLiteral("bankprofil"),
                   {column("Bankprofil_id", FieldType::AutoIncrement), column("Bezeichnung", FieldType::Text, 80),
                    column("Kopfzeile", FieldType::Memo), column("Zuordnung", FieldType::Text, 200)},
                   {}});

    // Which budget-plan category a household-book category counts towards in plan
    // against actual; a category without a row counts towards the one of the same place.
    tables.append({QStringLiteral("sollistzuordnung"),
                   {column("Zuordnung_id", FieldType::AutoIncrement), column("Rubrik", FieldType::Text, 50),
                    column("Kategorie", FieldType::Text, 2)},
                   {}});
}

} // namespace SchemaAdditions
