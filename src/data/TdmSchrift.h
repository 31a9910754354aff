#pragma once

#include "data/DataSet.h"

class TdmMP;

// Letters, text modules and the recipient lookup.
class TdmSchrift : public QObject
{
    Q_OBJECT
public:
    TdmSchrift(Database *db, TdmMP *mp, QObject *parent = nullptr);

    // Re-reads the user's letters (entering the page).
    void openLetters();
    // Shows the contact of that number as the recipient; none for 0 or an unknown number.
    void showRecipient(int adrId);
    // Re-reads the text modules (opening their window).
    void openTextModules();

    DataSet *qrSchrift;
    DataSet *qrTbau;
    DataSet *qrEmpKon;
};
