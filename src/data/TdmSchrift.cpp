#include "data/TdmSchrift.h"

#include "data/TdmMP.h"

TdmSchrift::TdmSchrift(Database *db, TdmMP *mp, QObject *parent)
    : QObject(parent),
      qrSchrift(new DataSet(db, QStringLiteral("qrSchrift"), this)),
      qrTbau(new DataSet(db, QStringLiteral("qrTbau"), this)),
      qrEmpKon(new DataSet(db, QStringLiteral("qrEmpKon"), this))
{
    setObjectName(QStringLiteral("dmSchrift"));
    qrSchrift->setSql(QStringLiteral("select * from schrift where user_id = :ben_id  order by erfdat"));
    qrSchrift->setMaster(mp->qrAktUser);
    qrTbau->setSql(QStringLiteral("select * from tbau order by tkurz"));
    qrEmpKon->setSql(QStringLiteral("select name1,name2,name3,suna,land,plz,ort,strasse,hausnr,pofach,poplz,"
                                    "poverwenden from adressen where  adr_id = :pmanr"));
    qrEmpKon->setReadOnly(true);
}

void TdmSchrift::openLetters()
{
    qrSchrift->reopen();
}

void TdmSchrift::showRecipient(int adrId)
{
    qrEmpKon->close();
    qrEmpKon->setParam(QStringLiteral("pmanr"), adrId);
    qrEmpKon->open();
}

void TdmSchrift::openTextModules()
{
    qrTbau->reopen();
}
