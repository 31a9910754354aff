#pragma once

#include "data/DataSet.h"

class TdmMP;

// Budget plans with their eight item queries, household books and bookings.
class TdmHh : public QObject
{
    Q_OBJECT
public:
    TdmHh(Database *db, TdmMP *mp, QObject *parent = nullptr);

    DataSet *qrBudget;
    DataSet *qrBudEinkommen;
    DataSet *qrBudWohnkosten;
    DataSet *qrBudVersicherungen;
    DataSet *qrBudVerkehrskosten;
    DataSet *qrBudLebenshaltung;
    DataSet *qrBudAllgemein;
    DataSet *qrBudSonstKredite;
    DataSet *qrBudHausKredite;
    DataSet *qrHhplan;
    DataSet *qrHhbuch;

    // The eight item queries in the order of their tables.
    QList<DataSet *> budgetItemQueries() const;
};
