#pragma once

#include <QCheckBox>

class DataSet;
class FieldBinding;

// A check box bound to a boolean field; a click writes at once.
class DbCheckBox : public QCheckBox
{
    Q_OBJECT
public:
    DbCheckBox(DataSet *dataSet, const QString &field, const QString &text, QWidget *parent = nullptr);

    FieldBinding *binding() const { return m_binding; }

private:
    DataSet *m_ds;
    QString m_field;
    FieldBinding *m_binding = nullptr;
};
