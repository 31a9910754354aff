#include "admin/PlzLookup.h"

#include "data/DataSet.h"

QString PlzLookup::townFor(DataSet *qrPlzOrt, const QString &plz)
{
    if (!qrPlzOrt || !qrPlzOrt->isOpen())
        return {};
    const int plzIndex = qrPlzOrt->fieldIndex(QStringLiteral("Plz"));
    const int ortIndex = qrPlzOrt->fieldIndex(QStringLiteral("Ort"));
    if (plzIndex < 0 || ortIndex < 0)
        return {};
    for (int row = 0; row < qrPlzOrt->recordCount(); ++row) {
        const QVariant v = qrPlzOrt->valueAt(row, plzIndex);
        if (!v.isNull() && v.toString() == plz)
            return qrPlzOrt->valueAt(row, ortIndex).toString();
    }
    return {};
}
