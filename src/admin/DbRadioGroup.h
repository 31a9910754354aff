#pragma once

#include <QGroupBox>

class DataSet;
class FieldBinding;
class QAbstractButton;
class QButtonGroup;

// A choice between fixed texts, bound to a text field: the field stores the chosen
// button's text; a value that matches no button leaves all unchecked.
class DbRadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    DbRadioGroup(DataSet *dataSet, const QString &field, const QString &title, const QStringList &items,
                 QWidget *parent = nullptr);

    FieldBinding *binding() const { return m_binding; }
    QAbstractButton *button(int index) const;

private:
    void showValue();

    DataSet *m_ds;
    QString m_field;
    QStringList m_items;
    QButtonGroup *m_group;
    FieldBinding *m_binding = nullptr;
};
