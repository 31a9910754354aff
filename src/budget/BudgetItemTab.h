#pragma once

#include <QList>
#include <QWidget>

struct BudgetCategory;
class DbGrid;
class RecordToolBar;
class TdmHh;

// One category on the Budget page: its toolbar, the entry panel of the current item and
// the list of the plan's items in that category.
class BudgetItemTab : public QWidget
{
    Q_OBJECT
public:
    BudgetItemTab(TdmHh &hh, const BudgetCategory &category, QWidget *parent = nullptr);

    DbGrid *grid() const { return m_grid; }
    // The tab's inputs, buttons and list in keyboard order; the page links them into its own.
    const QList<QWidget *> &focusChain() const { return m_focusChain; }

private:
    void save();

    TdmHh &m_hh;
    const BudgetCategory &m_category;
    RecordToolBar *m_toolBar = nullptr;
    DbGrid *m_grid = nullptr;
    QList<QWidget *> m_focusChain;
};
