#include "ui/AccessKeyGuard.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

void AccessKeyGuard::install()
{
    if (!qApp || qApp->findChild<AccessKeyGuard *>(QString(), Qt::FindDirectChildrenOnly))
        return;
    qApp->installEventFilter(new AccessKeyGuard(qApp));
}

namespace {

// Where a stray letter changes data: text inputs, drop-downs (a letter picks an entry)
// and lists (a letter moves the current record). Menus keep their own Alt handling.
bool takesLetters(QObject *o)
{
    return qobject_cast<QLineEdit *>(o) || qobject_cast<QComboBox *>(o) || qobject_cast<QAbstractSpinBox *>(o)
           || qobject_cast<QPlainTextEdit *>(o) || qobject_cast<QTextEdit *>(o)
           || qobject_cast<QAbstractItemView *>(o);
}

} // namespace

bool AccessKeyGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers mods = key->modifiers();
    // Alt together with Ctrl is AltGr on Windows ("@", "€"): that is typing, not an access key.
    if (!(mods & Qt::AltModifier) || (mods & Qt::ControlModifier))
        return false;
    const QString text = key->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return false;
    return takesLetters(watched);
}
