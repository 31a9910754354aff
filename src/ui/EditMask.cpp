#include "ui/EditMask.h"

#include <QEvent>
#include <QLineEdit>
#include <QStringList>

namespace EditMask {

namespace {

class StartWhenEmpty : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type t = event->type();
        if (t == QEvent::MouseButtonPress || t == QEvent::MouseButtonRelease || t == QEvent::MouseButtonDblClick) {
            auto *edit = static_cast<QLineEdit *>(watched);
            // Let the line edit place its cursor first, then move it if nothing is typed yet.
            edit->event(event);
            if (!edit->isReadOnly() && !hasDigit(edit->text())) {
                edit->deselect();
                edit->setCursorPosition(0);
            }
            return true;
        }
        return false;
    }

private:
    static bool hasDigit(const QString &text)
    {
        for (QChar c : text)
            if (c.isDigit())
                return true;
        return false;
    }
};

} // namespace

void apply(QLineEdit *edit, const QString &classicMask)
{
    edit->setInputMask(toQt(classicMask));
    edit->installEventFilter(new StartWhenEmpty(edit));
}

QString toQt(const QString &classicMask)
{
    const QStringList parts = classicMask.split(u';');
    QString pattern = parts.value(0);
    if (pattern.startsWith(u'!'))
        pattern.remove(0, 1);
    const QString blank = parts.size() >= 3 && !parts.at(2).isEmpty() ? parts.at(2) : QStringLiteral("_");
    QString out;
    for (QChar c : pattern) {
        if (c == u'0')
            out += u'9';
        else if (c == u'9')
            out += u'0';
        else if (c == u'/')
            out += u'.';
        else
            out += c;
    }
    return out + u';' + blank;
}

} // namespace EditMask
