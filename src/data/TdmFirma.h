#pragma once

#include "data/DataSet.h"

// Own address and settings, help texts, federal states and postcodes.
class TdmFirma : public QObject
{
    Q_OBJECT
public:
    explicit TdmFirma(Database *db, QObject *parent = nullptr);

    DataSet *qrFirma;
    DataSet *qrProgInfo;
    DataSet *qrBuland;
    DataSet *qrPlzOrt;
};
