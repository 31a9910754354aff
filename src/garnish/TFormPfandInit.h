#pragma once

#include "ui/RecordDialog.h"

class DataModules;
class DataSet;
class DbEdit;
class QLabel;
class QLineEdit;
class QProgressBar;
class RecordToolBar;

// The base values of the garnishment table and its generation ("Tabelle initialisieren").
class TFormPfandInit : public RecordDialog
{
    Q_OBJECT
public:
    explicit TFormPfandInit(DataModules &dm, QWidget *parent = nullptr);

protected:
    bool canClose() override;

private:
    QWidget *buildNetBox();
    QWidget *buildHints();
    QWidget *buildColumnsBox();
    QWidget *buildNoticeBox();
    DbEdit *field(const QString &column, QWidget *parent);
    void initialise();
    void takeNotice();
    void checkTable();

    DataModules &m_dm;
    DataSet *m_pfand;
    RecordToolBar *m_bar = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_stale = nullptr;
    QList<QWidget *> m_tabChain;
    QLineEdit *m_notice[4] = {};
};
