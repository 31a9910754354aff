#include "data/TdmMP.h"

TdmMP::TdmMP(Database *db, QObject *parent)
    : QObject(parent),
      conFinorra(db),
      qrAktUser(new DataSet(db, QStringLiteral("qrAktUser"), this)),
      qrUser(new DataSet(db, QStringLiteral("qrUser"), this))
{
    setObjectName(QStringLiteral("dmMP"));
    qrAktUser->setSql(QStringLiteral("select * from benutzer where sbkurz = :pvkuerzel"));
    qrUser->setSql(QStringLiteral("select * from benutzer order by sbkurz"));
}

bool TdmMP::lookupUser(const QString &shortName)
{
    qrAktUser->close();
    qrAktUser->setParam(QStringLiteral("pvkuerzel"), shortName);
    qrAktUser->open();
    return qrAktUser->recordCount() == 1;
}
