#pragma once

#include <QLineEdit>
#include <QPointer>

class DataSet;

// The password input of the user capture window. The stored value is a hash, which means
// nothing to anybody, so the input never shows it: it starts empty and shows what is typed.
// Typed text becomes the new password (hashed) when the row is posted; left empty, the old
// password stays. A new user whose field stays empty gets the empty password.
class PasswordEdit : public QLineEdit
{
    Q_OBJECT
public:
    PasswordEdit(DataSet *dataSet, const QString &field, QWidget *parent = nullptr);

private:
    void flush();
    void reset();

    QPointer<DataSet> m_ds;
    QString m_field;
    bool m_dirty = false;
    bool m_starting = false;
};
