#include "settlement/rules/ClaimRules.h"

#include "core/AppError.h"
#include "core/DateUtil.h"
#include "core/GermanFormat.h"
#include "data/DataSet.h"
#include "data/Database.h"

namespace ClaimRules {

namespace {

void checkPart(const DataSet &claim, const char *field, const QString &name)
{
    const Money m = claim.asMoney(QLatin1String(field));
    if (m < Money())
        throw UserWarning(QStringLiteral("%1 darf nicht negativ sein.").arg(name));
    if (m > MaxAmount)
        throw UserWarning(QStringLiteral("%1 von %2 ist unglaubwürdig hoch (höchstens %3).\rBitte prüfen Sie den Betrag.")
                              .arg(name, GermanFormat::currency(m), GermanFormat::currency(MaxAmount)));
}

int count(const Database &db, const QString &sql, int id)
{
    return db.scalar(sql, {{QStringLiteral("id"), id}}).toInt();
}

} // namespace

Money total(const DataSet &claim)
{
    return claim.asMoney(QStringLiteral("Hauptforderung")) + claim.asMoney(QStringLiteral("Zinsen"))
           + claim.asMoney(QStringLiteral("Kosten"));
}

void checkClaim(const DataSet &claim, const Database &db)
{
    const int creditor = claim.asInteger(QStringLiteral("Glaeub_id"));
    if (creditor <= 0)
        throw UserWarning(QStringLiteral("Bitte wählen Sie den Gläubiger der Forderung."));
    if (creditor == claim.asInteger(QStringLiteral("Kunde_id")))
        throw UserWarning(QStringLiteral("Der Klient kann nicht sein eigener Gläubiger sein."));
    if (count(db, QStringLiteral("select count(*) from adressen where adr_id = :id"), creditor) == 0)
        throw UserWarning(QStringLiteral("Der gewählte Gläubiger ist nicht mehr in den Kontakten vorhanden."));
    checkPart(claim, "Hauptforderung", QStringLiteral("Die Hauptforderung"));
    checkPart(claim, "Zinsen", QStringLiteral("Der Betrag der Zinsen"));
    checkPart(claim, "Kosten", QStringLiteral("Der Betrag der Kosten"));
}

void newClaim(DataSet &claim, const DataSet &client)
{
    if (!client.isOpen() || client.isEmpty() || client.isNull(QStringLiteral("Adr_id")))
        throw UserWarning(QStringLiteral("Bitte wählen oder speichern Sie zuerst den Klienten."));
    if (!client.asBoolean(QStringLiteral("Akunde")))
        throw UserWarning(QStringLiteral("%1 ist nicht als Klient markiert.\rSetzen Sie zuerst das Häkchen „Klient der Beratung“.")
                              .arg(client.asString(QStringLiteral("Suna"))));
    claim.setValue(QStringLiteral("Kunde_id"), client.value(QStringLiteral("Adr_id")));
    claim.setValue(QStringLiteral("Standdat"), DateUtil::today());
    claim.setValue(QStringLiteral("Tituliert"), false);
}

Money clientTotal(const Database &db, int clientId)
{
    QSqlQuery q = db.exec(QStringLiteral("select hauptforderung, zinsen, kosten from forderung where kunde_id = :k"),
                          {{QStringLiteral("k"), clientId}});
    Money sum;
    while (q.next())
        for (int i = 0; i < 3; ++i)
            sum += Money::fromDouble(q.value(i).toDouble());
    return sum;
}

QString deleteRefusal(const Database &db, int adrId)
{
    const int asCreditor = count(db, QStringLiteral("select count(*) from forderung where glaeub_id = :id"), adrId);
    if (asCreditor > 0)
        return asCreditor == 1
                   ? QStringLiteral("Der Kontakt kann nicht gelöscht werden:\reine Forderung nennt ihn als Gläubiger.")
                   : QStringLiteral("Der Kontakt kann nicht gelöscht werden:\r%1 Forderungen nennen ihn als Gläubiger.")
                         .arg(asCreditor);
    const int claims = count(db, QStringLiteral("select count(*) from forderung where kunde_id = :id"), adrId);
    const int plans = count(db, QStringLiteral("select count(*) from sbplan where kunde_id = :id"), adrId);
    if (claims > 0 || plans > 0)
        return QStringLiteral("Der Kontakt kann nicht gelöscht werden:\rfür ihn als Klienten sind %1 Forderung(en) "
                              "und %2 Plan/Pläne erfasst.")
            .arg(claims)
            .arg(plans);
    return {};
}

} // namespace ClaimRules
