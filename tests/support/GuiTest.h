#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

// Typing for GUI tests. QTest::keyClicks cannot send umlauts, so every character goes as
// a key event carrying its text.
namespace GuiTest {

inline void type(QWidget *widget, const QString &text)
{
    widget->setFocus();
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

template <typename T>
T *find(QWidget *root, const QString &name)
{
    T *w = root->findChild<T *>(name);
    if (!w)
        qFatal("widget %s not found", qPrintable(name));
    return w;
}

// Moves the focus away, as leaving a field does.
inline void leave(QWidget *widget)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(widget, &out);
}

} // namespace GuiTest
