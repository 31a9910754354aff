#pragma once

#include <QAbstractButton>
#include <QKeySequence>
#include <QMap>
#include <QStringList>
#include <QWidget>

// The access keys of the visible buttons under `root`, and what is wrong with them: a letter
// on two buttons, or one the main window's menus take ("&Datei", "&Module", "&Extras",
// "&Optionen", "&Hilfe"), where Alt+letter only moves the focus. Empty when all is well.
namespace VisibleAccessKeys {

inline const QString MainMenuLetters = QStringLiteral("DMEOH");

inline QStringList clashes(QWidget *root, const QString &reserved = MainMenuLetters)
{
    QMap<QString, QStringList> byKey;
    for (QAbstractButton *b : root->findChildren<QAbstractButton *>()) {
        if (!b->isVisible())
            continue;
        const QString key = QKeySequence::mnemonic(b->text()).toString();
        if (!key.isEmpty())
            byKey[key.back().toUpper()] << b->text();
    }
    QStringList out;
    for (auto it = byKey.cbegin(); it != byKey.cend(); ++it) {
        if (it.value().size() > 1)
            out << it.key() + QStringLiteral(": ") + it.value().join(QStringLiteral(", "));
        else if (reserved.contains(it.key()))
            out << it.key() + QStringLiteral(" (Menü): ") + it.value().first();
    }
    return out;
}

} // namespace VisibleAccessKeys
