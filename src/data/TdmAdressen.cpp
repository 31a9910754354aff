#include "data/TdmAdressen.h"

TdmAdressen::TdmAdressen(Database *db, QObject *parent)
    : QObject(parent),
      qrKontakte(new DataSet(db, QStringLiteral("qrKontakte"), this)),
      qrKontWahl(new DataSet(db, QStringLiteral("qrKontWahl"), this))
{
    setObjectName(QStringLiteral("dmAdressen"));
    qrKontakte->setSql(QStringLiteral("select * from adressen order by suna"));
    qrKontWahl->setSql(QStringLiteral(
        "select adr_id, name1,name2,name3,suna,strasse,plz,ort,telefon,telefax,mobil from adressen order by suna"));
    qrKontWahl->setReadOnly(true);
}
