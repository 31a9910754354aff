#include "ui/FieldLabel.h"

#include "data/DataError.h"
#include "ui/FieldBinding.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>

namespace FieldLabel {

namespace {

QString clean(QString text)
{
    text.remove(u'&');
    text = text.trimmed();
    while (text.endsWith(u':') || text.endsWith(u'.'))
        text.chop(1);
    return text.trimmed();
}

// The label in the layout that holds `control`: the form row's label, the grid cell to its
// left, or the label just before it in a row of widgets.
QString fromLayout(const QLayout *layout, const QWidget *control)
{
    if (!layout)
        return {};
    const int index = layout->indexOf(const_cast<QWidget *>(control));
    if (index >= 0) {
        if (const auto *form = qobject_cast<const QFormLayout *>(layout)) {
            if (const auto *label = qobject_cast<QLabel *>(form->labelForField(const_cast<QWidget *>(control))))
                return label->text();
        } else if (const auto *grid = qobject_cast<const QGridLayout *>(layout)) {
            int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
            grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
            for (int c = column - 1; c >= 0; --c)
                if (const QLayoutItem *item = grid->itemAtPosition(row, c); item && item->widget())
                    if (const auto *label = qobject_cast<QLabel *>(item->widget()))
                        return label->text();
        } else if (const auto *box = qobject_cast<const QBoxLayout *>(layout);
                   box && (box->direction() == QBoxLayout::LeftToRight || box->direction() == QBoxLayout::RightToLeft)) {
            for (int i = index - 1; i >= 0; --i)
                if (const QLayoutItem *item = layout->itemAt(i); item && item->widget()) {
                    if (const auto *label = qobject_cast<QLabel *>(item->widget()); label && !label->buddy())
                        return label->text();
                    break;
                }
        }
        return {};
    }
    for (int i = 0; i < layout->count(); ++i)
        if (const QLayout *inner = layout->itemAt(i)->layout())
            if (QString found = fromLayout(inner, control); !found.isEmpty())
                return found;
    return {};
}

QWidget *controlShowing(const RequiredFieldError &error)
{
    QWidget *fallback = nullptr;
    const QWidget *modal = QApplication::activeModalWidget();
    for (QWidget *top : QApplication::topLevelWidgets()) {
        for (FieldBinding *b : top->findChildren<FieldBinding *>()) {
            if (b->dataSet() != error.dataSet() || b->field().compare(error.field(), Qt::CaseInsensitive) != 0)
                continue;
            auto *control = qobject_cast<QWidget *>(b->parent());
            if (!control || of(control).isEmpty())
                continue;
            // The window the user works in first, then any that shows the field.
            if (modal && control->window() == modal)
                return control;
            if (!fallback || (control->isVisible() && !fallback->isVisible()))
                fallback = control;
        }
    }
    return fallback;
}

} // namespace

QString of(const QWidget *control)
{
    if (!control)
        return {};
    for (const QLabel *label : control->window()->findChildren<QLabel *>())
        if (label->buddy() == control)
            return clean(label->text());
    for (const QWidget *parent = control->parentWidget(); parent; parent = parent->parentWidget()) {
        if (QString found = clean(fromLayout(parent->layout(), control)); !found.isEmpty())
            return found;
        if (parent->isWindow())
            break;
    }
    return {};
}

QString requiredMessage(const RequiredFieldError &error)
{
    QWidget *control = controlShowing(error);
    if (!control)
        return error.message();
    if (control->isEnabled())
        control->setFocus();
    return QStringLiteral("Bitte füllen Sie das Feld „%1“ aus.").arg(of(control));
}

} // namespace FieldLabel
