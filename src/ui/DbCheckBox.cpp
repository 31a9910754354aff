#include "ui/DbCheckBox.h"

#include "data/DataSet.h"
#include "ui/FieldBinding.h"

DbCheckBox::DbCheckBox(DataSet *dataSet, const QString &field, const QString &text, QWidget *parent)
    : QCheckBox(text, parent), m_ds(dataSet), m_field(field)
{
    m_binding = new FieldBinding(
        this, dataSet, field,
        [this] {
            setEnabled(m_binding->isEditable());
            setChecked(m_ds->isOpen() && m_ds->hasField(m_field) && m_ds->asBoolean(m_field));
        },
        [this] { return QVariant(isChecked()); });
    m_binding->refresh();
    connect(this, &QCheckBox::clicked, this, [this] {
        if (m_binding->userChanged())
            m_binding->flushGuarded();
    });
}
