#include "data/Schema.h"

#include "data/SchemaAdditions.h"

#include <QHash>

#include <string>

namespace {

ColumnDef key(const char *name) { return {QString::fromUtf8(name), FieldType::AutoIncrement, 0, false}; }
ColumnDef text(const char *name, int size = 20) { return {QString::fromUtf8(name), FieldType::Text, size, false}; }
ColumnDef requiredText(const char *name, int size) { return {QString::fromUtf8(name), FieldType::Text, size, true}; }
ColumnDef integer(const char *name) { return {QString::fromUtf8(name), FieldType::Integer, 0, false}; }
ColumnDef requiredInteger(const char *name) { return {QString::fromUtf8(name), FieldType::Integer, 0, true}; }
ColumnDef smallint(const char *name) { return {QString::fromUtf8(name), FieldType::SmallInt, 0, false}; }
ColumnDef money(const char *name) { return {QString::fromUtf8(name), FieldType::Money, 0, false}; }
ColumnDef date(const char *name) { return {QString::fromUtf8(name), FieldType::Date, 0, false}; }
ColumnDef time(const char *name) { return {QString::fromUtf8(name), FieldType::Time, 0, false}; }
ColumnDef boolean(const char *name) { return {QString::fromUtf8(name), FieldType::Boolean, 0, false}; }
ColumnDef memo(const char *name) { return {QString::fromUtf8(name), FieldType::Memo, 0, false}; }

QVector<ColumnDef> monthMoney(const char *prefix)
{
    QVector<ColumnDef> cols;
    for (int m = 1; m <= 12; ++m)
        cols.append({QString::fromUtf8(prefix) + QStringLiteral("%1").arg(m, 2, 10, QChar(u'0')),
                     FieldType::Money, 0, false});
    return cols;
}

TableDef budgetItems(const char *table, const char *p, const char *bez, int bezSize, bool credit,
                     const char *betrag, const char *valuta, const char *monat, const char *zahlung)
{
    TableDef t{QString::fromUtf8(table), {key((std::string(p) + "_id").c_str()), integer("Bud_id"),
                                          text(bez, bezSize), money(betrag)},
               {QStringLiteral("Bud_id")}};
    if (credit)
        t.columns.append(money(valuta));
    t.columns.append(text(monat, 2));
    t.columns.append(text(zahlung, 20));
    return t;
}

QVector<TableDef> buildTables()
{
    QVector<TableDef> t;

    // Passwords are kept as Argon2id hashes, which need more room than a typed password.
    t.append({QStringLiteral("benutzer"),
              {key("Ben_id"), text("SbKurz", 20), text("SbLang", 80), text("SbTelefon", 50),
               text("Passwort", 128)},
              {QStringLiteral("SbKurz")}});

    t.append({QStringLiteral("firma"),
              {key("Firma_id"), text("Name1", 50), text("Name2", 50), text("Name3", 50),
               text("Suna", 80), text("Strasse", 50), text("Plz", 5), text("Ort", 50),
               text("Poplz", 5), boolean("PoVerwenden"), text("PoFach", 50), text("Telefon", 50),
               text("Telefax", 50), text("Email", 80), text("Internet", 80),
               text("FReportIn", 150), text("FReportOut", 150), text("Bank1Name1", 80),
               text("Bank1Ktonr", 50), text("Bank1BLZ", 10), boolean("Bank1Verwenden"),
               text("Bank2Name1", 80), text("Bank2Ktonr", 50), text("Bank2Blz", 10),
               boolean("Bank2Verwenden"), boolean("BetreffzeileTitel"),
               boolean("BetreffzeileInhalt"), text("Mobil", 50), text("Briefkopfwahl", 50),
               text("Sbkurz", 10), text("Sblang", 80), text("Sbtelefon", 50),
               // SEPA replaced account number and bank code; the old columns keep what
               // older files hold. An IBAN is typed in groups of four, hence the room.
               text("Bank1Iban", 42), text("Bank1Bic", 11), text("Bank2Iban", 42), text("Bank2Bic", 11)},
              {}});

    t.append({QStringLiteral("buland"), {key("Buland_id"), text("Buland", 50)}, {}});
    t.append({QStringLiteral("plzort"), {key("Plz_id"), text("Plz", 5), text("Ort", 50)},
              {QStringLiteral("Plz")}});
    t.append({QStringLiteral("programminfo"),
              {key("PI_id"), text("Klasse", 50), text("Rubrik", 50), memo("Text")},
              {}});

    TableDef budget{QStringLiteral("budget"),
                    {key("Bud_id"), date("Bud_dat"), date("Bud_aend"), smallint("Bud_Personen"),
                     money("Sum_Ek"), money("Sum_Ak"), money("Sum_Wk"), money("Sum_Vk"),
                     money("Sum_Vs"), money("Sum_Lk"), money("Sum_Sk"), money("Sum_Hk"),
                     money("Pfand")},
                    {QStringLiteral("User_id")}};
    for (const char *prefix : {"Eksum", "Wksum", "Vksum", "Vssum", "Aksum", "Lksum", "Hksum", "Sksum"})
        budget.columns += monthMoney(prefix);
    budget.columns += {text("BudTitel", 150), money("PfandNetto"), requiredInteger("User_id")};
    t.append(budget);

    t.append(budgetItems("bud_einkommen", "Ek", "Ek_bez", 35, false, "Ek_Betrag", "", "Ek_monat", "Ek_zahlung"));
    t.append(budgetItems("bud_Wohnkosten", "Wk", "Wk_bez", 35, false, "Wk_Betrag", "", "Wk_Monat", "Wk_Zahlung"));
    t.append(budgetItems("bud_versicherungen", "Vs", "Vs_Bez", 35, false, "Vs_Betrag", "", "Vs_Monat", "Vs_Zahlung"));
    t.append(budgetItems("bud_verkehrskosten", "Vk", "Vk_Bez", 35, false, "Vk_Betrag", "", "Vk_Monat", "Vk_Zahlung"));
    t.append(budgetItems("bud_allgemein", "Ak", "Ak_Bez", 35, false, "Ak_Betrag", "", "Ak_Monat", "Ak_Zahlung"));
    t.append(budgetItems("bud_lebenshaltung", "Lk", "Lk_Bez", 35, false, "Lk_Betrag", "", "Lk_Monat", "Lk_Zahlung"));
    t.append(budgetItems("bud_SonstKredite", "Sk", "Sk_bez", 50, true, "Sk_Betrag", "Sk_Valuta", "Sk_Monat", "Sk_Zahlung"));
    t.append(budgetItems("bud_hauskredite", "Hk", "Hk_Bez", 50, true, "Hk_Betrag", "Hk_Valuta", "Hk_Monat", "Hk_Zahlung"));

    t.append({QStringLiteral("hhplan"),
              {key("Hhplan_id"), date("Erfdat"), text("Bezeichnung", 80), money("Eksum"),
               money("Wksum"), money("Vksum"), money("Vssum"), money("Aksum"), money("Lksum"),
               money("Sksum"), money("Hksum"), requiredInteger("User_id"), money("Zwisu"),
               money("Maxkredit"), money("Maxhaus"), money("Defizit"), text("Auswahl", 200)},
              {QStringLiteral("User_id")}});
    t.append({QStringLiteral("hhbuch"),
              {key("Hhbuch_id"), integer("Hhplan_id"), date("Buchdat"), text("Rubrik", 50),
               text("Rubdet", 50), money("Betrag"), requiredText("RubText", 50)},
              {QStringLiteral("Hhplan_id, Buchdat")}});

    TableDef pfand{QStringLiteral("Pfand"),
                   {key("Pfand_id"), money("Nettovonbeginn"), money("Nettovonende"),
                    money("Nettovonintervall"), money("Nettobisbeginn"), money("Nettobisende"),
                    money("Nettobisintervall")},
                   {}};
    for (int i = 0; i <= 5; ++i) {
        pfand.columns.append({QStringLiteral("Pfand%1beginn").arg(i), FieldType::Money, 0, false});
        pfand.columns.append({QStringLiteral("Pfand%1intervall").arg(i), FieldType::Money, 0, false});
    }
    for (int i = 0; i <= 5; ++i)
        pfand.columns.append({QStringLiteral("Pfand%1Netto").arg(i), FieldType::Money, 0, false});
    pfand.columns.append(date("Stand"));
    t.append(pfand);

    TableDef pfaendung{QStringLiteral("pfaendung"), {key("Pfand_id"), money("NettoVon"), money("NettoBis")},
                       {QStringLiteral("NettoVon")}};
    for (int i = 0; i <= 5; ++i)
        pfaendung.columns.append({QStringLiteral("Pfand%1").arg(i), FieldType::Money, 0, false});
    t.append(pfaendung);

    t.append({QStringLiteral("adressen"),
              {key("Adr_id"), date("Erfdat"), text("Name1", 50), text("Name2", 50),
               text("Name3", 50), text("Suna", 80), text("Land", 10), text("Buland", 50),
               text("Strasse", 50), text("Plz", 5), text("Ort", 50), text("Hausnr", 15),
               text("Telefon", 50), text("Telefax", 50), text("Mobil", 50), text("Email", 80),
               text("Internet", 80), boolean("Akunde"), text("Rub1", 50), text("Poplz", 5),
               text("Pofach", 35), boolean("Poverwenden"), text("Agruppe", 5), memo("Notizen"),
               date("Geburtstag")},
              {QStringLiteral("Suna")}});

    t.append({QStringLiteral("schrift"),
              {key("Schrift_id"), date("Erfdat"), integer("Emp_id"), text("Emp_Anpa", 50),
               text("IhrZeichen", 150), text("UnserZeichen", 150), text("SB", 50),
               text("SBKurz", 10), text("SBTelefon", 50), text("Titel", 150), memo("Betreff"),
               memo("Text"), text("Projekt", 50), boolean("Emp_Mako"), requiredInteger("User_id")},
              {QStringLiteral("User_id, Erfdat")}});
    t.append({QStringLiteral("tbau"),
              {key("Tbau_id"), text("TKurz", 35), text("TTitel", 80), memo("TText")},
              {QStringLiteral("TKurz")}});

    t.append({QStringLiteral("Inforubrik"), {key("Rubrik_id"), text("Rubrik", 80), text("Pfad", 200)}, {}});
    t.append({QStringLiteral("Infothek"),
              {key("Info_id"), text("Kurz", 80), integer("Rubrik_id"), text("Schlag", 200),
               text("Datei", 80)},
              {QStringLiteral("Rubrik_id, Kurz")}});

    t.append({QStringLiteral("Termine"),
              {key("Term_id"), date("WvDatum"), requiredInteger("User_id"),
               requiredText("WvKurz", 80), memo("WvLang"), boolean("WvErledigt"), date("WvErldat"),
               time("Uhrzeit")},
              {QStringLiteral("WvDatum, Uhrzeit")}});

    SchemaAdditions::appendDebtCounselling(t);
    SchemaAdditions::appendStatementImport(t);
    return t;
}

} // namespace

const ColumnDef *TableDef::column(const QString &name) const
{
    for (const ColumnDef &c : columns)
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

QString TableDef::createSql(Dialect dialect) const
{
    QStringList defs;
    for (qsizetype i = 0; i < columns.size(); ++i)
        defs << columns.at(i).name + u' ' + Schema::sqlType(columns.at(i), i == 0, dialect);
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(name, defs.join(QStringLiteral(", ")));
}

QStringList TableDef::createIndexSql() const
{
    QStringList out;
    for (const QString &cols : indexes) {
        QString suffix = cols;
        suffix.remove(u' ').replace(u',', u'_');
        out << QStringLiteral("CREATE INDEX ix_%1_%2 ON %1 (%3)").arg(name, suffix, cols);
    }
    return out;
}

namespace SchemaAdditions {

TableDef *find(QVector<TableDef> &tables, const QString &name)
{
    for (TableDef &t : tables)
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

} // namespace SchemaAdditions

namespace Schema {

const QVector<TableDef> &tables()
{
    static const QVector<TableDef> all = buildTables();
    return all;
}

const TableDef *table(const QString &name)
{
    static const QHash<QString, const TableDef *> byName = [] {
        QHash<QString, const TableDef *> h;
        for (const TableDef &t : tables())
            h.insert(t.name.toLower(), &t);
        return h;
    }();
    return byName.value(name.toLower(), nullptr);
}

// On the server, keys take explicit values as well (a database moved from a file keeps its
// keys), money is exact decimal and text lengths are enforced by the server itself.
QString postgresType(const ColumnDef &column, bool isKey)
{
    if (isKey)
        return QStringLiteral("INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
    switch (column.type) {
    case FieldType::Text: return QStringLiteral("VARCHAR(%1)").arg(column.size);
    case FieldType::Integer:
    case FieldType::AutoIncrement: return QStringLiteral("INTEGER");
    case FieldType::SmallInt: return QStringLiteral("SMALLINT");
    case FieldType::Money: return QStringLiteral("NUMERIC(19,4)");
    case FieldType::Float: return QStringLiteral("DOUBLE PRECISION");
    case FieldType::Date: return QStringLiteral("DATE");
    case FieldType::Time: return QStringLiteral("TIME");
    case FieldType::Boolean: return QStringLiteral("BOOLEAN");
    case FieldType::Memo: return QStringLiteral("TEXT");
    }
    return QStringLiteral("TEXT");
}

QString sqlType(const ColumnDef &column, bool isKey, Dialect dialect)
{
    if (dialect == Dialect::Postgres)
        return postgresType(column, isKey);
    if (isKey)
        return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    switch (column.type) {
    case FieldType::Text: return QStringLiteral("VARCHAR(%1)").arg(column.size);
    case FieldType::Integer:
    case FieldType::AutoIncrement: return QStringLiteral("INTEGER");
    case FieldType::SmallInt: return QStringLiteral("SMALLINT");
    case FieldType::Money: return QStringLiteral("REAL");
    case FieldType::Float: return QStringLiteral("DOUBLE");
    case FieldType::Date: return QStringLiteral("DATE");
    case FieldType::Time: return QStringLiteral("TIME");
    case FieldType::Boolean: return QStringLiteral("BOOLEAN");
    case FieldType::Memo: return QStringLiteral("TEXT");
    }
    return QStringLiteral("TEXT");
}

} // namespace Schema
