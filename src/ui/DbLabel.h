#pragma once

#include <QLabel>

#include <functional>

class DataSet;

// Shows a field's value read-only, in its display form.
class DbLabel : public QLabel
{
    Q_OBJECT
public:
    DbLabel(DataSet *dataSet, const QString &field, QWidget *parent = nullptr);

    // A read-only value drawn like an input, so it reads as part of a form.
    static DbLabel *formField(DataSet *dataSet, const QString &field, const QString &objectName, QWidget *parent);

    // Shows the value through `format` instead of its usual display form ("30,00 %").
    void setFormatter(std::function<QString(const QVariant &)> format);

private:
    void showValue();

    DataSet *m_ds;
    QString m_field;
    std::function<QString(const QVariant &)> m_format;
};
