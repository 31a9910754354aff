#include "ui/DbMemo.h"

#include "data/DataSet.h"
#include "ui/FieldBinding.h"

DbMemo::DbMemo(DataSet *dataSet, const QString &field, QWidget *parent)
    : QPlainTextEdit(parent), m_ds(dataSet), m_field(field)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_binding = new FieldBinding(
        this, dataSet, field,
        [this] {
            setReadOnly(!m_binding->isEditable());
            setPlainText(m_ds->isOpen() && m_ds->hasField(m_field) ? m_ds->asString(m_field) : QString());
        },
        [this] { return QVariant(toPlainText()); });
    m_binding->refresh();
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_binding->isUpdating())
            m_binding->userChanged();
    });
}

void DbMemo::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    m_binding->flushGuarded();
}
