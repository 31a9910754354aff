#include "data/FirstStartData.h"

#include <QCoreApplication>

#include "core/PasswordHash.h"
#include "data/DataError.h"
#include "data/Database.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace FirstStartData {

void write(const Database &db)
{
    // On a server the folders are those of the program that made the database.
    QString dir = db.directory();
    if (db.onServer())
        dir = QCoreApplication::applicationDirPath() + u'/';
    db.exec(QStringLiteral("insert into firma (Name1, Name2, Suna, Strasse, Plz, Ort, FReportIn, FReportOut, "
                           "PoVerwenden, Bank1Verwenden, Bank2Verwenden, BetreffzeileTitel, BetreffzeileInhalt) "
                           "values (:name1, :name2, :suna, :strasse, :plz, :ort, :rin, :rout, "
                           "false, false, false, true, true)"),
            {{QStringLiteral("name1"), QStringLiteral("Schuldner- und Budgetberatung")},
             {QStringLiteral("name2"), QStringLiteral("(bitte eigene Anschrift eintragen)")},
             {QStringLiteral("suna"), QStringLiteral("Eigene Beratungsstelle")},
             {QStringLiteral("strasse"), QStringLiteral("Musterstraße 1")},
             {QStringLiteral("plz"), QStringLiteral("12345")},
             {QStringLiteral("ort"), QStringLiteral("Musterstadt")},
             {QStringLiteral("rin"), dir + QStringLiteral("Reportvorlagen/")},
             {QStringLiteral("rout"), dir + QStringLiteral("Reportausgabe/")}});

    const QString user = QString::fromLatin1(InitialUser);
    db.exec(QStringLiteral("insert into benutzer (SbKurz, SbLang, SbTelefon, Passwort) values (:k, :l, '', :p)"),
            {{QStringLiteral("k"), user},
             {QStringLiteral("l"), QStringLiteral("Sachbearbeiter")},
             {QStringLiteral("p"), PasswordHash::hash(user)}});

    const QStringList states = {
        QStringLiteral("Baden-Württemberg"), QStringLiteral("Bayern"), QStringLiteral("Berlin"),
        QStringLiteral("Brandenburg"), QStringLiteral("Bremen"), QStringLiteral("Hamburg"),
        QStringLiteral("Hessen"), QStringLiteral("Mecklenburg-Vorpommern"), QStringLiteral("Niedersachsen"),
        QStringLiteral("Nordrhein-Westfalen"), QStringLiteral("Rheinland-Pfalz"), QStringLiteral("Saarland"),
        QStringLiteral("Sachsen"), QStringLiteral("Sachsen-Anhalt"), QStringLiteral("Schleswig-Holstein"),
        QStringLiteral("Thüringen")};
    for (const QString &state : states)
        db.exec(QStringLiteral("insert into buland (Buland) values (:b)"), {{QStringLiteral("b"), state}});

    writeGarnishment(db);
    writeHelpTexts(db);
}

GarnishmentBase garnishmentBase2026()
{
    GarnishmentBase b;
    b.vonBeginn = Money::fromCents(159000);
    b.vonEnde = Money::fromCents(486000);
    b.vonIntervall = Money::fromCents(1000);
    b.bisBeginn = Money::fromCents(158999);
    b.bisEnde = Money::fromCents(486630);
    b.bisIntervall = Money::fromCents(1000);
    b.netto = {Money::fromCents(159000), Money::fromCents(219000), Money::fromCents(252000),
               Money::fromCents(286000), Money::fromCents(319000), Money::fromCents(352000)};
    b.beginn = {Money::fromCents(182), Money::fromCents(259), Money::fromCents(94),
                Money::fromCents(286), Money::fromCents(134), Money::fromCents(39)};
    b.intervall = {Money::fromCents(700), Money::fromCents(500), Money::fromCents(400),
                   Money::fromCents(300), Money::fromCents(200), Money::fromCents(100)};
    return b;
}

void writeGarnishment(const Database &db)
{
    const GarnishmentBase base = garnishmentBase2026();
    QStringList columns = GarnishmentBase::columns();
    QStringList marks;
    QVariantMap params;
    for (const QString &c : std::as_const(columns)) {
        marks << QLatin1Char(':') + c.toLower();
        params.insert(c.toLower(), base.valueOf(c).toDouble());
    }
    columns << QStringLiteral("Stand");
    marks << QStringLiteral(":stand");
    params.insert(QStringLiteral("stand"), GarnishmentStand2026);
    db.exec(QStringLiteral("insert into Pfand (%1) values (%2)").arg(columns.join(QStringLiteral(", ")),
                                                                      marks.join(QStringLiteral(", "))),
            params);

    // One prepared statement for all rows: this runs inside the creation of a new file.
    QSqlQuery insert(db.connection());
    insert.prepare(QStringLiteral("insert into pfaendung (NettoVon, NettoBis, Pfand0, Pfand1, Pfand2, Pfand3, Pfand4, "
                                  "Pfand5) values (?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const GarnishmentRow &r : GarnishmentGrid::rows(base)) {
        insert.bindValue(0, r.nettoVon.toDouble());
        insert.bindValue(1, r.nettoBis.toDouble());
        for (int k = 0; k <= 5; ++k)
            insert.bindValue(k + 2, r.pfand[k].toDouble());
        if (!insert.exec())
            throw DataError(QStringLiteral("Die Pfändungstabelle konnte nicht angelegt werden: %1")
                                .arg(insert.lastError().text()));
    }
}

namespace {

struct SampleDocument
{
    const char *file, *kurz, *schlag;
};

// The documents shipped in the Infothek folders.
const SampleDocument Samples[] = {
    {"Fragebogen_Haushaltsbudget.rtf", "Fragebogen zum Haushaltsbudget",
     "fragebogen budget haushalt einnahmen ausgaben erstgespräch"},
    {"P-Konto_Informationsblatt.rtf", "Informationsblatt P-Konto",
     "p-konto pfändungsschutz konto freibetrag bescheinigung"},
    {"Musterbrief_Ratenzahlung.rtf", "Musterbrief Bitte um Ratenzahlung",
     "ratenzahlung raten gläubiger brief vergleich"},
};

} // namespace

void catalogueDocuments(const Database &db, const QVariant &rubrikId, const QString &dir)
{
    const QFileInfoList files = QDir(dir).entryInfoList(QDir::Files | QDir::Readable, QDir::Name);
    for (const QFileInfo &file : files) {
        const QString name = file.fileName();
        // Hidden files are no documents; a name longer than the column would be cut and
        // then name no file.
        if (name.startsWith(u'.') || name.size() > 80)
            continue;
        QString kurz = file.completeBaseName().replace(u'_', u' ');
        QString schlag;
        for (const SampleDocument &s : Samples) {
            if (name == QLatin1String(s.file)) {
                kurz = QString::fromUtf8(s.kurz);
                schlag = QString::fromUtf8(s.schlag);
            }
        }
        db.exec(QStringLiteral("insert into infothek (Kurz, Rubrik_id, Schlag, Datei) values (:k, :r, :s, :d)"),
                {{QStringLiteral("k"), kurz.left(80)},
                 {QStringLiteral("r"), rubrikId},
                 {QStringLiteral("s"), schlag},
                 {QStringLiteral("d"), name}});
    }
}

} // namespace FirstStartData
