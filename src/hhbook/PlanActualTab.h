#pragma once

#include "hhbook/rules/PlanActual.h"

#include <QDialog>
#include <QWidget>

class DataModules;
class QBarSet;
class QChartView;
class QComboBox;
class QLabel;
class QSpinBox;
class QTableWidget;

// The "Soll/Ist" tab of the household book: for the current book, one budget plan of the
// user and one year, planned and actual sums per category and month with the difference and
// the year's totals, spending more than 10 % over plan in red, a bar chart of the year's
// totals and the printout SollIst.rtf.
class PlanActualTab : public QWidget
{
    Q_OBJECT
public:
    explicit PlanActualTab(DataModules &dm, QWidget *parent = nullptr);

    void refresh();
    const PlanActual::Comparison &comparison() const { return m_comparison; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fillPlans();
    void fillTable();
    void fillChart();
    void editMapping();
    void print();

    DataModules &m_dm;
    QComboBox *m_plans;
    QSpinBox *m_year;
    QTableWidget *m_table;
    QChartView *m_chart;
    QLabel *m_stand;
    PlanActual::Comparison m_comparison;
};

// The small mapping of the book's categories to the plan's.
class PlanActualMappingDialog : public QDialog
{
    Q_OBJECT
public:
    PlanActualMappingDialog(const PlanActual::Mapping &mapping, const QStringList &bookRubriks, QWidget *parent = nullptr);
    PlanActual::Mapping mapping() const;

private:
    QTableWidget *m_table;
    PlanActual::Mapping m_mapping;
};
