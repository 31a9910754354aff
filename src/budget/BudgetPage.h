#pragma once

#include <QWidget>

class DataModules;
class DbEdit;
class DbLabel;
class QLabel;
class QTabWidget;
class QToolButton;
class RecordToolBar;

// The Budget page: the current plan with its totals and the eight item lists.
class BudgetPage : public QWidget
{
    Q_OBJECT
public:
    explicit BudgetPage(DataModules &dm, QWidget *parent = nullptr);

    // Buttons whose work comes with other modules (printouts, help, garnishment).
    QToolButton *button(const QString &objectName) const;

private:
    QWidget *buildHeader();
    QWidget *buildPlanData();
    QWidget *buildTotals();
    void linkFocusChain(RecordToolBar *toolBar);
    void openPlanList();
    void updateSurplus();

    DataModules &m_dm;
    DbEdit *m_title = nullptr;
    QLabel *m_lblDefizit = nullptr;
    DbLabel *m_defizit = nullptr;
    QTabWidget *m_tabs = nullptr;
};
