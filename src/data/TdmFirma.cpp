#include "data/TdmFirma.h"

TdmFirma::TdmFirma(Database *db, QObject *parent)
    : QObject(parent),
      qrFirma(new DataSet(db, QStringLiteral("qrFirma"), this)),
      qrProgInfo(new DataSet(db, QStringLiteral("qrProgInfo"), this)),
      qrBuland(new DataSet(db, QStringLiteral("qrBuland"), this)),
      qrPlzOrt(new DataSet(db, QStringLiteral("qrPlzOrt"), this))
{
    setObjectName(QStringLiteral("dmFirma"));
    qrFirma->setSql(QStringLiteral("select * from firma"));
    qrProgInfo->setSql(QStringLiteral("select * from programminfo order by rubrik"));
    qrBuland->setSql(QStringLiteral("select * from buland order by buland"));
    qrPlzOrt->setSql(QStringLiteral("select * from plzort order by ort"));
}
