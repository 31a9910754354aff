#pragma once

#include <QObject>
#include <QPointer>

#include "data/DataSet.h"
#include <QVariant>

#include <functional>


class QWidget;

// What every data-aware control shares: it follows the cursor and the field, the first
// keystroke starts editing (or a new record on an empty set), and typed text reaches the
// field when the control is left or the row is posted.
class FieldBinding : public QObject
{
    Q_OBJECT
public:
    // `showValue` puts the field's value into the control; `read` gives the control's value.
    FieldBinding(QWidget *control, DataSet *dataSet, const QString &field, std::function<void()> showValue,
                 std::function<QVariant()> read);

    DataSet *dataSet() const { return m_ds; }
    const QString &field() const { return m_field; }
    bool isDirty() const { return m_dirty; }
    bool isUpdating() const { return m_updating; }
    bool isEditable() const;

    // The user changed the control. Starts editing when needed; false when that was refused
    // (the message has been shown and the control shows the stored value again) or when
    // the data set no longer exists.
    bool userChanged();
    // Writes the control's value into the field now; throws DataError.
    void flush();
    // Writes and shows a failure in an error box; false when it failed.
    bool flushGuarded();
    void refresh();

private:
    QWidget *m_control;
    QPointer<DataSet> m_ds;
    QString m_field;
    std::function<void()> m_show;
    std::function<QVariant()> m_read;
    bool m_dirty = false;
    bool m_updating = false;
};
