#include "ui/DbComboBox.h"

#include "data/DataSet.h"
#include "ui/FieldBinding.h"

#include <QLineEdit>

DbComboBox::DbComboBox(DataSet *dataSet, const QString &field, Mode mode, const QStringList &items,
                       QWidget *parent)
    : QComboBox(parent), m_ds(dataSet), m_field(field)
{
    setEditable(mode == Mode::FreeText);
    setInsertPolicy(QComboBox::NoInsert);
    addItems(items);
    m_binding = new FieldBinding(this, dataSet, field, [this] { show(); }, [this] { return QVariant(currentText()); });
    m_binding->refresh();
    connect(this, &QComboBox::activated, this, [this] {
        if (m_binding->userChanged())
            m_binding->flushGuarded();
    });
    if (lineEdit())
        connect(lineEdit(), &QLineEdit::textEdited, this, [this] { m_binding->userChanged(); });
}

void DbComboBox::show()
{
    setEnabled(m_binding->isEditable());
    const QString value = m_ds->isOpen() && m_ds->hasField(m_field) ? m_ds->asString(m_field) : QString();
    if (isEditable()) {
        setEditText(value);
    } else {
        setCurrentIndex(findText(value));
    }
}

void DbComboBox::focusOutEvent(QFocusEvent *event)
{
    QComboBox::focusOutEvent(event);
    m_binding->flushGuarded();
}
