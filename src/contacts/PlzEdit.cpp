#include "contacts/PlzEdit.h"

#include "data/DataSet.h"
#include "ui/Dialogs.h"
#include "ui/EditMask.h"
#include "ui/FieldBinding.h"
#include "ui/Guard.h"

#include <QKeyEvent>
#include <QTimer>

#include <algorithm>

const QString PlzEdit::InvalidMessage =
    QStringLiteral("Die Postleitzahl ist unvollständig: sie hat fünf Ziffern.\r"
                   "Bitte ergänzen Sie sie oder machen Sie die Änderung mit der Taste ESC rückgängig.");

PlzEdit::PlzEdit(DataSet *dataSet, const QString &field, QWidget *parent)
    : DbEdit(dataSet, field, parent, EditMask::Postcode), m_ds(dataSet), m_field(field)
{
}

bool PlzEdit::filledOrBlank() const
{
    const QString t = text();
    return hasAcceptableInput() || std::none_of(t.cbegin(), t.cend(), [](QChar c) { return c.isDigit(); });
}

void PlzEdit::focusOutEvent(QFocusEvent *event)
{
    if (m_refusing)
        return;
    if (binding()->isDirty() && !filledOrBlank()) {
        QLineEdit::focusOutEvent(event);
        m_refusing = true;
        ShowMsg(InvalidMessage, mkError);
        m_refusing = false;
        // Once the box has given the focus back to whoever took it.
        setFocus(Qt::OtherFocusReason);
        QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
        return;
    }
    DbEdit::focusOutEvent(event);
    if (m_onLeft)
        guarded(m_onLeft);
}

void PlzEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && binding()->isDirty()) {
        setText(m_ds->isOpen() ? m_ds->editText(m_field) : QString());
        event->accept();
        return;
    }
    DbEdit::keyPressEvent(event);
}
