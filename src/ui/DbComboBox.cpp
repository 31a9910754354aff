#include "ui/DbComboBox.h"

#include "data/DataSet.h"
#include "ui/FieldBinding.h"

#include <QCompleter>
#include <QLineEdit>

DbComboBox::DbComboBox(DataSet *dataSet, const QString &field, Mode mode, const QStringList &items,
                       QWidget *parent)
    : QComboBox(parent), m_ds(dataSet), m_field(field)
{
    setEditable(mode == Mode::FreeText);
    setInsertPolicy(QComboBox::NoInsert);
    if (QCompleter *c = completer()) {
        // Suggestions are offered in a list; completing inline would turn a typed "Netto"
        // into "Netto P 1" as soon as the field is left.
        c->setCompletionMode(QCompleter::PopupCompletion);
    }
    addItems(items);
    m_binding = new FieldBinding(this, dataSet, field, [this] { showValue(); }, [this] { return QVariant(currentText()); });
    m_binding->refresh();
    connect(this, &QComboBox::activated, this, [this] {
        if (m_binding->userChanged())
            m_binding->flushGuarded();
    });
    if (lineEdit())
        connect(lineEdit(), &QLineEdit::textEdited, this, [this] { m_binding->userChanged(); });
}

void DbComboBox::showValue()
{
    setEnabled(m_binding->isEditable());
    const bool open = m_ds->isOpen() && m_ds->hasField(m_field);
    const QString value = open ? m_ds->asString(m_field) : QString();
    if (isEditable()) {
        // Typed text is held to the column's size, as in every one-line input.
        const Field &f = open ? m_ds->field(m_field) : Field();
        lineEdit()->setMaxLength(f.type == FieldType::Text && f.size > 0 ? f.size : 32767);
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
