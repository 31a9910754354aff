#pragma once

#include <QWidget>

class DataModules;
class DbGrid;
class QLabel;
class QLineEdit;

// The Pfändung page: the garnishable part of a net income looked up in the table, and the
// table itself with its printout.
class GarnishPage : public QWidget
{
    Q_OBJECT
public:
    explicit GarnishPage(DataModules &dm, QWidget *parent = nullptr);
    ~GarnishPage() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildInput();
    // Shows whether the table is the one the stored base values generate.
    void checkTable();
    void activateTable();
    void search();
    void print();

    DataModules &m_dm;
    DbGrid *m_grid = nullptr;
    QLineEdit *m_net = nullptr;
    QLineEdit *m_dependants = nullptr;
    QLabel *m_lbNetto = nullptr;
    QLabel *m_lbUnter = nullptr;
    QLabel *m_lbPfand = nullptr;
    QLabel *m_stale = nullptr;
};
