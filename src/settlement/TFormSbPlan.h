#pragma once

#include "core/Money.h"
#include "ui/RecordDialog.h"

class DataModules;
class QComboBox;
class QLabel;

// The settlement plans of the client shown on the Kontakte page: kind, term and rate, the
// rate proposed from a budget plan, the split over the claims, the creditors' answers and
// the printouts of the out-of-court attempt.
class TFormSbPlan : public RecordDialog
{
    Q_OBJECT
public:
    TFormSbPlan(DataModules &dm, QWidget *parent = nullptr);

private:
    void fillBudgets();
    void takeRate();
    void showRateSource();
    QString loweredText(Money requested, Money claims) const;
    void split();
    void updateTotals();
    int currentPlan();

    DataModules &m_dm;
    QComboBox *m_budget;
    QComboBox *m_source;
    QLabel *m_totals;
    QLabel *m_note;
};
