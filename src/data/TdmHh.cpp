#include "data/TdmHh.h"

#include "data/TdmMP.h"

TdmHh::TdmHh(Database *db, TdmMP *mp, QObject *parent)
    : QObject(parent),
      qrBudget(new DataSet(db, QStringLiteral("qrBudget"), this)),
      qrBudEinkommen(new DataSet(db, QStringLiteral("qrBudEinkommen"), this)),
      qrBudWohnkosten(new DataSet(db, QStringLiteral("qrBudWohnkosten"), this)),
      qrBudVersicherungen(new DataSet(db, QStringLiteral("qrBudVersicherungen"), this)),
      qrBudVerkehrskosten(new DataSet(db, QStringLiteral("qrBudVerkehrskosten"), this)),
      qrBudLebenshaltung(new DataSet(db, QStringLiteral("qrBudLebenshaltung"), this)),
      qrBudAllgemein(new DataSet(db, QStringLiteral("qrBudAllgemein"), this)),
      qrBudSonstKredite(new DataSet(db, QStringLiteral("qrBudSonstKredite"), this)),
      qrBudHausKredite(new DataSet(db, QStringLiteral("qrBudHausKredite"), this)),
      qrHhplan(new DataSet(db, QStringLiteral("qrHhplan"), this)),
      qrHhbuch(new DataSet(db, QStringLiteral("qrHhbuch"), this))
{
    setObjectName(QStringLiteral("dmHh"));
    qrBudget->setSql(QStringLiteral("select * from budget where user_id = :ben_id "));
    qrBudget->setMaster(mp->qrAktUser);

    const QList<QPair<DataSet *, const char *>> items = {
        {qrBudEinkommen, "bud_einkommen"},         {qrBudWohnkosten, "bud_Wohnkosten"},
        {qrBudVersicherungen, "bud_versicherungen"}, {qrBudVerkehrskosten, "bud_verkehrskosten"},
        {qrBudAllgemein, "bud_allgemein"},         {qrBudLebenshaltung, "bud_lebenshaltung"},
        {qrBudSonstKredite, "bud_SonstKredite"},   {qrBudHausKredite, "bud_hauskredite"}};
    for (const auto &[query, table] : items) {
        query->setSql(QStringLiteral("select * from %1 where bud_id = :bud_id").arg(QLatin1String(table)));
        query->setMaster(qrBudget);
    }

    qrHhplan->setSql(QStringLiteral("select * from hhplan where user_id = :ben_id"));
    qrHhplan->setMaster(mp->qrAktUser);
    qrHhbuch->setSql(QStringLiteral("select * from hhbuch where hhplan_id = :hhplan_id order by buchdat"));
    qrHhbuch->setMaster(qrHhplan);
}

QList<DataSet *> TdmHh::budgetItemQueries() const
{
    return {qrBudEinkommen,    qrBudWohnkosten, qrBudVersicherungen, qrBudVerkehrskosten,
            qrBudAllgemein,    qrBudLebenshaltung, qrBudSonstKredite, qrBudHausKredite};
}
