#pragma once

#include <QLabel>

class DataSet;

// Shows a field's value read-only, in its display form.
class DbLabel : public QLabel
{
    Q_OBJECT
public:
    DbLabel(DataSet *dataSet, const QString &field, QWidget *parent = nullptr);

private:
    void show();

    DataSet *m_ds;
    QString m_field;
};
