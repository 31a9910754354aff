#pragma once

#include <QPlainTextEdit>

class DataSet;
class FieldBinding;

// A multi-line text bound to a memo field, with a vertical scroll bar.
class DbMemo : public QPlainTextEdit
{
    Q_OBJECT
public:
    DbMemo(DataSet *dataSet, const QString &field, QWidget *parent = nullptr);

    FieldBinding *binding() const { return m_binding; }

protected:
    void focusOutEvent(QFocusEvent *event) override;

private:
    DataSet *m_ds;
    QString m_field;
    FieldBinding *m_binding = nullptr;
};
