#pragma once

#include "ui/RecordDialog.h"

class DataModules;
class DataSet;

// The list of users. Any change of users takes effect only at the next start, so closing
// this window ends the program as long as at least one user remains.
class TFormUser : public RecordDialog
{
    Q_OBJECT
public:
    explicit TFormUser(DataModules &dm, QWidget *parent = nullptr);

    // True after the window closed with users left: the caller ends the program.
    bool programMustEnd() const { return m_programMustEnd; }

protected:
    bool canClose() override;

private:
    void editUser();

    DataModules &m_dm;
    DataSet *m_qrUser;
    bool m_programMustEnd = false;
};
