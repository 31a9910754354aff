#pragma once

#include "ui/RecordDialog.h"

class DataModules;
class DataSet;

// The federal states offered when a contact's state is chosen.
class TFormBuland : public RecordDialog
{
    Q_OBJECT
public:
    explicit TFormBuland(DataModules &dm, QWidget *parent = nullptr);

private:
    DataSet *m_qrBuland;
};
