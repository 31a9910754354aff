#include "data/TdmExtras.h"

TdmExtras::TdmExtras(Database *db, QObject *parent)
    : QObject(parent),
      qrInfos(new DataSet(db, QStringLiteral("qrInfos"), this)),
      qrTermine(new DataSet(db, QStringLiteral("qrTermine"), this)),
      qrInfoRubrik(new DataSet(db, QStringLiteral("qrInfoRubrik"), this)),
      qrInfoRubrikEdit(new DataSet(db, QStringLiteral("qrInfoRubrikEdit"), this)),
      qrPfand(new DataSet(db, QStringLiteral("qrPfand"), this)),
      qrPfaendung(new DataSet(db, QStringLiteral("qrPfaendung"), this)),
      tbPfaendung(new DataSet(db, QStringLiteral("tbPfaendung"), this))
{
    setObjectName(QStringLiteral("dmExtras"));
    qrInfos->setSql(QStringLiteral("select * from Infothek where rubrik_id = :pvrubrik_id order by kurz"));
    qrTermine->setSql(QStringLiteral("select * from Termine order by Wvdatum"));
    qrInfoRubrik->setSql(QStringLiteral("select * from Inforubrik order by rubrik"));
    qrInfoRubrikEdit->setSql(QStringLiteral("select * from Inforubrik order by rubrik"));
    qrPfand->setSql(QStringLiteral("select * from Pfand"));
    qrPfaendung->setSql(QStringLiteral("select * from pfaendung order by nettovon"));
    tbPfaendung->setSql(QStringLiteral("select * from Pfaendung"));
}
