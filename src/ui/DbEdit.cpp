#include "ui/DbEdit.h"

#include "data/DataError.h"
#include "data/DataSet.h"
#include "ui/EditMask.h"
#include "ui/FieldBinding.h"

#include <QFocusEvent>

DbEdit::DbEdit(DataSet *dataSet, const QString &field, QWidget *parent, const QString &classicMask)
    : QLineEdit(parent), m_ds(dataSet), m_field(field), m_masked(!classicMask.isEmpty())
{
    if (m_masked)
        EditMask::apply(this, classicMask);
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
        if (!hasAcceptableInput()) {
            // A date typed with a one-digit day or month ("1.2.2000") leaves a place of the
            // mask blank; the date reader takes it as it is typed.
            if (m_ds->isOpen() && m_ds->hasField(m_field) && m_ds->field(m_field).type == FieldType::Date) {
                QString typed = t;
                typed.remove(u' ').remove(u'_');
                return typed;
            }
            throw DataError(QStringLiteral("'%1' ist kein gültiger Eingabewert").arg(displayText()));
        }
        return t;
    }
    return text();
}

namespace {

// The window coming back to the front, or a menu closing, is no new entry into the field:
// the text and the cursor stay where the user left them.
bool returnsToTheField(const QFocusEvent *event)
{
    return event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
}

} // namespace

void DbEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (returnsToTheField(event))
        return;
    const DataSet *ds = m_binding ? m_binding->dataSet() : nullptr;
    if (ds && !m_binding->isDirty() && !m_masked && ds->isOpen() && ds->hasField(m_field)) {
        m_binding->refresh();
        selectAll();
    }
}

void DbEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (m_binding->flushGuarded() && !m_binding->isDirty() && !returnsToTheField(event))
        m_binding->refresh();
}

void DbEdit::setDisplayFormatter(std::function<QString(const QVariant &)> format)
{
    m_format = std::move(format);
    m_binding->refresh();
}
