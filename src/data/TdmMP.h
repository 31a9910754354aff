#pragma once

#include "data/DataSet.h"

// The connection and the user queries.
class TdmMP : public QObject
{
    Q_OBJECT
public:
    explicit TdmMP(Database *db, QObject *parent = nullptr);

    Database *conFinorra;
    DataSet *qrAktUser;   // the logged-in user; master of the per-user queries
    DataSet *qrUser;
};
