#pragma once

#include "data/DataSet.h"

// The connection and the user queries.
class TdmMP : public QObject
{
    Q_OBJECT
public:
    explicit TdmMP(Database *db, QObject *parent = nullptr);

    // Closes qrAktUser, sets its parameter to the short name, opens it; true exactly when
    // one user has that short name.
    bool lookupUser(const QString &shortName);

    Database *conFinorra;
    DataSet *qrAktUser;   // the logged-in user; master of the per-user queries
    DataSet *qrUser;
};
