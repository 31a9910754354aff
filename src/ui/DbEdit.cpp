#include "ui/DbEdit.h"

#include "data/DataError.h"
#include "data/DataSet.h"
#include "ui/EditMask.h"
#include "ui/FieldBinding.h"

DbEdit::DbEdit(DataSet *dataSet, const QString &field, QWidget *parent, const QString &classicMask)
    : QLineEdit(parent), m_ds(dataSet), m_field(field), m_masked(!classicMask.isEmpty())
{
    if (m_masked)
        setInputMask(EditMask::toQt(classicMask));
    m_binding = new FieldBinding(this, dataSet, field, [this] { showValue(); }, [this] { return read(); });
    m_binding->refresh();
    connect(this, &QLineEdit::textEdited, this, [this] { m_binding->userChanged(); });
}

void DbEdit::showValue()
{
    const bool open = m_ds->isOpen() && m_ds->hasField(m_field);
    setReadOnly(!m_binding->isEditable());
    if (!open) {
        clear();
        return;
    }
    const Field &f = m_ds->field(m_field);
    if (f.type == FieldType::Text && f.size > 0)
        setMaxLength(f.size);
    setAlignment(isNumeric(f.type) ? Qt::AlignRight : Qt::AlignLeft);
    if (hasFocus() || m_masked)
        setText(m_ds->editText(m_field));
    else
        setText(m_format ? m_format(m_ds->value(m_field)) : m_ds->displayText(m_field));
    setCursorPosition(0);
}

QVariant DbEdit::read() const
{
    if (m_masked) {
        // A mask left blank means no value; a mask filled half-way is refused.
        const QString t = text();
        bool anyDigit = false;
        for (QChar c : t)
            anyDigit = anyDigit || c.isDigit();
        if (!anyDigit)
            return QString();
        if (!hasAcceptableInput())
            throw DataError(QStringLiteral("'%1' ist kein gültiger Eingabewert").arg(displayText()));
        return t;
    }
    return text();
}

void DbEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    const DataSet *ds = m_binding ? m_binding->dataSet() : nullptr;
    if (ds && !m_binding->isDirty() && !m_masked && ds->isOpen() && ds->hasField(m_field)) {
        m_binding->refresh();
        selectAll();
    }
}

void DbEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (m_binding->flushGuarded() && !m_binding->isDirty())
        m_binding->refresh();
}

void DbEdit::setDisplayFormatter(std::function<QString(const QVariant &)> format)
{
    m_format = std::move(format);
    m_binding->refresh();
}
