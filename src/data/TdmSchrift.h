#pragma once

#include "data/DataSet.h"

class TdmMP;

// Letters, text modules and the recipient lookup.
class TdmSchrift : public QObject
{
    Q_OBJECT
public:
    TdmSchrift(Database *db, TdmMP *mp, QObject *parent = nullptr);

    DataSet *qrSchrift;
    DataSet *qrTbau;
    DataSet *qrEmpKon;
};
