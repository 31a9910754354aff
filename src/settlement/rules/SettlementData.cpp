#include "settlement/rules/SettlementData.h"

#include "core/AppError.h"
#include "core/DateUtil.h"
#include "core/Iban.h"
#include "data/DataModules.h"
#include "settlement/rules/ClaimRules.h"
#include "settlement/rules/PKontoAllowance.h"
#include "settlement/rules/PlanRules.h"

SettlementData &SettlementData::of(DataModules &dm)
{
    auto *existing = dm.dmAdressen->findChild<SettlementData *>(QString(), Qt::FindDirectChildrenOnly);
    return existing ? *existing : *new SettlementData(dm);
}

SettlementData::SettlementData(DataModules &modules) : QObject(modules.dmAdressen.get()), dm(modules)
{
    setObjectName(QStringLiteral("settlementData"));
    Database *db = &dm.db;
    DataSet *contacts = dm.dmAdressen->qrKontakte;
    qrForderungen = new DataSet(db, QStringLiteral("qrForderungen"), this);
    qrForderungen->setSql(QStringLiteral("select * from forderung where kunde_id = :adr_id order by ford_id"));
    qrForderungen->setMaster(contacts);
    qrForderungen->addCalculatedField(QStringLiteral("Glaeubiger"), FieldType::Text);
    qrForderungen->addCalculatedField(QStringLiteral("Gesamt"), FieldType::Money);

    qrSbPlan = new DataSet(db, QStringLiteral("qrSbPlan"), this);
    qrSbPlan->setSql(QStringLiteral("select * from sbplan where kunde_id = :adr_id order by plan_id"));
    qrSbPlan->setMaster(contacts);

    qrSbPosten = new DataSet(db, QStringLiteral("qrSbPosten"), this);
    qrSbPosten->setSql(QStringLiteral("select * from sbposten where plan_id = :plan_id order by posten_id"));
    qrSbPosten->setMaster(qrSbPlan);
    qrSbPosten->addCalculatedField(QStringLiteral("Glaeubiger"), FieldType::Text);

    qrPKonto = new DataSet(db, QStringLiteral("qrPKonto"), this);
    qrPKonto->setSql(QStringLiteral("select * from pkonto where kunde_id = :adr_id order by pk_id"));
    qrPKonto->setMaster(contacts);

    installRules();
}

void SettlementData::openAll()
{
    PKontoAllowance::ensureSeeded(dm.db);
    for (DataSet *ds : {qrForderungen, qrSbPlan, qrSbPosten, qrPKonto})
        if (!ds->isOpen())
            ds->open();
}

void SettlementData::installRules()
{
    DataModules &m = dm;
    auto creditorName = [&m](const DataSet &ds) {
        const QVariant id = ds.value(QStringLiteral("Glaeub_id"));
        if (id.isNull())
            return QString();
        return m.db.scalar(QStringLiteral("select suna from adressen where adr_id = :id"), {{QStringLiteral("id"), id}})
            .toString();
    };
    qrForderungen->afterInsert = [&m](DataSet &ds) { ClaimRules::newClaim(ds, *m.dmAdressen->qrKontakte); };
    qrForderungen->beforePost = [&m](DataSet &ds) { ClaimRules::checkClaim(ds, m.db); };
    qrForderungen->onCalcFields = [creditorName](DataSet &ds) {
        ds.setValue(QStringLiteral("Glaeubiger"), creditorName(ds));
        ds.setMoney(QStringLiteral("Gesamt"), ClaimRules::total(ds));
    };
    qrSbPosten->onCalcFields = [creditorName](DataSet &ds) {
        ds.setValue(QStringLiteral("Glaeubiger"), creditorName(ds));
    };
    qrSbPosten->beforePost = [](DataSet &ds) { PlanRules::checkLine(ds); };
    qrSbPlan->afterInsert = [&m](DataSet &ds) { PlanRules::newPlan(ds, *m.dmAdressen->qrKontakte); };
    qrSbPlan->beforePost = [&m](DataSet &ds) {
        PlanRules::checkPlan(ds);
        PlanRules::checkFailureDate(m.db, ds);
    };
    qrSbPlan->beforeDelete = [&m](DataSet &ds) {
        m.db.exec(QStringLiteral("delete from sbposten where plan_id = :p"),
                  {{QStringLiteral("p"), ds.value(QStringLiteral("Plan_id"))}});
    };
    qrPKonto->afterInsert = [&m](DataSet &ds) {
        const DataSet &client = *m.dmAdressen->qrKontakte;
        if (!client.isOpen() || client.isEmpty() || client.isNull(QStringLiteral("Adr_id")))
            throw UserWarning(QStringLiteral("Bitte wählen oder speichern Sie zuerst den Klienten."));
        ds.setValue(QStringLiteral("Kunde_id"), client.value(QStringLiteral("Adr_id")));
        ds.setValue(QStringLiteral("Personen"), 0);
        ds.setValue(QStringLiteral("Ausstelldat"), DateUtil::today());
        ds.setValue(QStringLiteral("Gueltigab"), DateUtil::today());
        QString holder = client.asString(QStringLiteral("Name1"));
        ds.setValue(QStringLiteral("Kontoinhaber"), holder);
    };
    qrPKonto->beforePost = [](DataSet &ds) {
        const QString iban = ds.asString(QStringLiteral("Iban"));
        Iban::check(iban, QStringLiteral("IBAN"));
        if (Iban::compact(iban) != iban)
            ds.setValue(QStringLiteral("Iban"), Iban::compact(iban));
        PKontoAllowance::allowance({}, ds.asInteger(QStringLiteral("Personen")), ds.asMoney(QStringLiteral("Kindergeld")),
                                   ds.asMoney(QStringLiteral("Leistungen")), ds.asMoney(QStringLiteral("Einmalig")));
        const QDate from = ds.asDate(QStringLiteral("Gueltigab"));
        const QDate to = ds.asDate(QStringLiteral("Gueltigbis"));
        if (from.isValid() && to.isValid() && to < from)
            throw UserWarning(QStringLiteral("Das Ende der Gültigkeit liegt vor ihrem Beginn."));
    };

    // A contact that claims or plans name stays, so no claim loses its creditor or client.
    DataSet *contacts = m.dmAdressen->qrKontakte;
    DataSet::Handler previous = contacts->beforeDelete;
    contacts->beforeDelete = [&m, previous](DataSet &ds) {
        if (previous)
            previous(ds);
        const QString refusal = ClaimRules::deleteRefusal(m.db, ds.asInteger(QStringLiteral("Adr_id")));
        if (!refusal.isEmpty())
            throw UserWarning(refusal);
    };
}
