#pragma once

#include <QComboBox>

class DataSet;
class FieldBinding;

// A drop-down bound to a field: list-only (a value must come from the list) or with free
// text entry.
class DbComboBox : public QComboBox
{
    Q_OBJECT
public:
    enum class Mode { ListOnly, FreeText };

    DbComboBox(DataSet *dataSet, const QString &field, Mode mode, const QStringList &items = {},
               QWidget *parent = nullptr);

    FieldBinding *binding() const { return m_binding; }

protected:
    void focusOutEvent(QFocusEvent *event) override;

private:
    void showValue();

    DataSet *m_ds;
    QString m_field;
    FieldBinding *m_binding = nullptr;
};
