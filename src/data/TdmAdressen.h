#pragma once

#include "data/DataSet.h"

// Contacts and the contact selection.
class TdmAdressen : public QObject
{
    Q_OBJECT
public:
    explicit TdmAdressen(Database *db, QObject *parent = nullptr);

    DataSet *qrKontakte;
    DataSet *qrKontWahl;
};
