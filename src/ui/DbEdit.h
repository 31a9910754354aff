#pragma once

#include <QLineEdit>

#include <functional>

class DataSet;
class FieldBinding;

// A one-line input bound to a field. Money shows in currency form until focused; an edit
// mask in the classic form ("!99/99/0000;1;_") restricts what can be typed.
class DbEdit : public QLineEdit
{
    Q_OBJECT
public:
    DbEdit(DataSet *dataSet, const QString &field, QWidget *parent = nullptr, const QString &classicMask = {});

    FieldBinding *binding() const { return m_binding; }
    // The text shown while the field is not being edited ("3 Pers.").
    void setDisplayFormatter(std::function<QString(const QVariant &)> format);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void showValue();
    QVariant read() const;

    DataSet *m_ds;
    QString m_field;
    bool m_masked = false;
    std::function<QString(const QVariant &)> m_format;
    FieldBinding *m_binding = nullptr;
};
