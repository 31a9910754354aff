#include "data/TdmFirma.h"

#include "core/Iban.h"

TdmFirma::TdmFirma(Database *db, QObject *parent)
    : QObject(parent),
      qrFirma(new DataSet(db, QStringLiteral("qrFirma"), this)),
      qrProgInfo(new DataSet(db, QStringLiteral("qrProgInfo"), this)),
      qrBuland(new DataSet(db, QStringLiteral("qrBuland"), this)),
      qrPlzOrt(new DataSet(db, QStringLiteral("qrPlzOrt"), this))
{
    setObjectName(QStringLiteral("dmFirma"));
    qrFirma->setSql(QStringLiteral("select * from firma"));
    qrFirma->beforePost = [](DataSet &ds) {
        for (const char *bank : {"1", "2"}) {
            const QString iban = QStringLiteral("Bank%1Iban").arg(QLatin1String(bank));
            const QString bic = QStringLiteral("Bank%1Bic").arg(QLatin1String(bank));
            Iban::check(ds.asString(iban), QStringLiteral("IBAN (Bank %1)").arg(QLatin1String(bank)));
            Iban::checkBic(ds.asString(bic), QStringLiteral("BIC (Bank %1)").arg(QLatin1String(bank)));
            for (const QString &f : {iban, bic})
                if (Iban::compact(ds.asString(f)) != ds.asString(f))
                    ds.setValue(f, Iban::compact(ds.asString(f)));
        }
    };
    qrProgInfo->setSql(QStringLiteral("select * from programminfo order by rubrik"));
    qrBuland->setSql(QStringLiteral("select * from buland order by buland"));
    qrPlzOrt->setSql(QStringLiteral("select * from plzort order by ort"));
}
