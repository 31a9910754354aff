#pragma once

#include "ui/RecordDialog.h"

class DataModules;
class QLabel;

// What the account certificate of the client shown on the Kontakte page is made from, the
// allowance that results, and its printout.
class TFormPKonto : public RecordDialog
{
    Q_OBJECT
public:
    TFormPKonto(DataModules &dm, QWidget *parent = nullptr);

private:
    void updateAmounts();

    DataModules &m_dm;
    QLabel *m_amounts;
};
