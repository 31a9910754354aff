#pragma once

#include "ui/RecordDialog.h"

class DataModules;
class DbEdit;

// "Liste der Haushaltspläne / Budgetpläne": choose, create and delete plans. The row
// selected when the list closes is the plan the Budget page shows.
class TFormBudgetSuchen : public RecordDialog
{
    Q_OBJECT
public:
    explicit TFormBudgetSuchen(DataModules &dm, QWidget *parent = nullptr);

protected:
    bool canClose() override;

private:
    void deletePlan();

    DataModules &m_dm;
    DbEdit *m_title = nullptr;
};
