#pragma once

#include <QWidget>

class DataSet;
class QToolButton;

// First, prior, next and last record of a data set; buttons that cannot move are disabled.
class DbNavigator : public QWidget
{
    Q_OBJECT
public:
    DbNavigator(DataSet *dataSet, QWidget *parent = nullptr);

    QToolButton *firstButton() const { return m_first; }
    QToolButton *priorButton() const { return m_prior; }
    QToolButton *nextButton() const { return m_next; }
    QToolButton *lastButton() const { return m_last; }

private:
    void updateButtons();

    DataSet *m_ds;
    QToolButton *m_first, *m_prior, *m_next, *m_last;
};
