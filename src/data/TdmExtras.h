#pragma once

#include "data/DataSet.h"

// Infothek, appointments and the garnishment table.
class TdmExtras : public QObject
{
    Q_OBJECT
public:
    explicit TdmExtras(Database *db, QObject *parent = nullptr);

    DataSet *qrInfos;
    DataSet *qrTermine;
    DataSet *qrInfoRubrik;
    DataSet *qrInfoRubrikEdit;
    DataSet *qrPfand;
    DataSet *qrPfaendung;
    DataSet *tbPfaendung;   // whole-table access, for emptying and refilling the table
};
