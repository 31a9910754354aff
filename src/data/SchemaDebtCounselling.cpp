#include "data/SchemaAdditions.h"

namespace SchemaAdditions {

namespace {

ColumnDef key(const char *name) { return {QString::fromUtf8(name), FieldType::AutoIncrement, 0, false}; }
ColumnDef text(const char *name, int size) { return {QString::fromUtf8(name), FieldType::Text, size, false}; }
ColumnDef integer(const char *name) { return {QString::fromUtf8(name), FieldType::Integer, 0, false}; }
ColumnDef requiredInteger(const char *name) { return {QString::fromUtf8(name), FieldType::Integer, 0, true}; }
ColumnDef smallint(const char *name) { return {QString::fromUtf8(name), FieldType::SmallInt, 0, false}; }
ColumnDef money(const char *name) { return {QString::fromUtf8(name), FieldType::Money, 0, false}; }
ColumnDef floating(const char *name) { return {QString::fromUtf8(name), FieldType::Float, 0, false}; }
ColumnDef date(const char *name) { return {QString::fromUtf8(name), FieldType::Date, 0, false}; }
ColumnDef boolean(const char *name) { return {QString::fromUtf8(name), FieldType::Boolean, 0, false}; }
ColumnDef memo(const char *name) { return {QString::fromUtf8(name), FieldType::Memo, 0, false}; }

} // namespace

void appendDebtCounselling(QVector<TableDef> &tables)
{
    // A budget plan may name the client it was drawn up for; older plans name none.
    if (TableDef *budget = find(tables, QStringLiteral("budget")))
        budget->columns.append(integer("Kunde_id"));
    // How letters and certificates speak of a client: "Frau", "Herr" or nothing.
    if (TableDef *contacts = find(tables, QStringLiteral("adressen")))
        contacts->columns.append(text("Anrede", 10));

    // One claim of a creditor against a client; both are contacts.
    tables.append({QStringLiteral("forderung"),
                   {key("Ford_id"), requiredInteger("Kunde_id"), requiredInteger("Glaeub_id"),
                    text("Aktenzeichen", 80), text("Art", 50), money("Hauptforderung"), money("Zinsen"),
                    money("Kosten"), date("Standdat"), boolean("Tituliert"), memo("Notiz")},
                   {QStringLiteral("Kunde_id"), QStringLiteral("Glaeub_id")}});

    // A settlement plan offered to all creditors of a client. `Rate` is the monthly rate of an
    // instalment or zero plan and the whole sum of a one-off payment.
    tables.append({QStringLiteral("sbplan"),
                   {key("Plan_id"), requiredInteger("Kunde_id"), integer("Bud_id"), text("Planart", 30),
                    date("Plandat"), smallint("Laufzeit"), money("Rate"), text("Ratenquelle", 20),
                    date("Scheiterdat"), memo("Notiz")},
                   {QStringLiteral("Kunde_id")}});

    // The plan's lines as offered: the claim at the time of the offer, its share, payments,
    // and the creditor's answer. Kept with the plan so a later change of a claim does not
    // change an offer already sent.
    tables.append({QStringLiteral("sbposten"),
                   {key("Posten_id"), requiredInteger("Plan_id"), integer("Ford_id"), integer("Glaeub_id"),
                    text("Aktenzeichen", 80), money("Forderung"), floating("Anteil"), money("Monatsrate"),
                    money("Gesamt"), floating("Quote"), text("Antwort", 20), date("Antwortdat"),
                    integer("Schrift_id")},
                   {QStringLiteral("Plan_id")}});

    // What a client's account allowance is certified from.
    tables.append({QStringLiteral("pkonto"),
                   {key("PK_id"), requiredInteger("Kunde_id"), smallint("Personen"), money("Kindergeld"),
                    money("Leistungen"), text("LeistText", 150), money("Einmalig"), text("EinmaligText", 150),
                    text("Kontoinhaber", 80), text("Kreditinstitut", 80), text("Iban", 34), date("Gueltigab"),
                    date("Gueltigbis"), date("Ausstelldat")},
                   {QStringLiteral("Kunde_id")}});

    // The increases of the account allowance for the first and each further supported person,
    // by the date from which they apply.
    tables.append({QStringLiteral("pkontobasis"),
                   {key("PKB_id"), date("Stand"), money("Erhoehung1"), money("Erhoehung2")},
                   {}});
}

} // namespace SchemaAdditions
