#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMap>
#include <QMenuBar>
#include <QStringList>
#include <QTabBar>
#include <QWidget>

// The access keys a press of Alt with a letter can reach under `root` as it is shown now,
// and what is wrong with them: a letter owned twice, or one the main window's menus take
// ("&Datei", "&Module", "&Extras", "&Optionen", "&Hilfe"), where Alt+letter only moves the
// focus.
namespace VisibleAccessKeys {

inline const QString MainMenuLetters = QStringLiteral("DMEOH");

// The letter after a single '&', upper-cased; none for "&&" or no '&'.
inline QChar accessKey(const QString &text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != u'&')
            continue;
        if (text.at(i + 1) == u'&') {
            ++i;
            continue;
        }
        return text.at(i + 1).toUpper();
    }
    return {};
}

// Each key with the texts that own it: buttons (a disabled one clashes once it is enabled),
// tabs, labels of an input, checkable groups and the menu bar.
inline QMap<QChar, QStringList> keys(QWidget *root)
{
    QMap<QChar, QStringList> byKey;
    auto note = [&byKey](const QString &text) {
        const QChar k = accessKey(text);
        if (!k.isNull())
            byKey[k] << QString(text).remove(u'&');
    };
    for (QAbstractButton *b : root->findChildren<QAbstractButton *>())
        if (b->isVisibleTo(root))
            note(b->text());
    for (QTabBar *bar : root->findChildren<QTabBar *>())
        if (bar->isVisibleTo(root))
            for (int i = 0; i < bar->count(); ++i)
                note(bar->tabText(i));
    for (QLabel *l : root->findChildren<QLabel *>())
        if (l->isVisibleTo(root) && l->buddy())
            note(l->text());
    for (QGroupBox *g : root->findChildren<QGroupBox *>())
        if (g->isVisibleTo(root) && g->isCheckable())
            note(g->title());
    if (auto *menu = root->findChild<QMenuBar *>())
        if (menu->isVisibleTo(root))
            for (QAction *a : menu->actions())
                note(a->text());
    return byKey;
}

// Empty when all is well; else a line per clash.
inline QStringList clashes(QWidget *root, const QString &reserved = MainMenuLetters)
{
    QStringList out;
    const QMap<QChar, QStringList> byKey = keys(root);
    for (auto it = byKey.cbegin(); it != byKey.cend(); ++it) {
        if (it.value().size() > 1)
            out << QString(it.key()) + QStringLiteral(": ") + it.value().join(QStringLiteral(", "));
        else if (reserved.contains(it.key()))
            out << QString(it.key()) + QStringLiteral(" (Menü): ") + it.value().first();
    }
    return out;
}

} // namespace VisibleAccessKeys
