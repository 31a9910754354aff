#pragma once

#include <QString>
#include <QStringList>

// What one category's tab on the Budget page says.
struct BudgetTabTexts
{
    QString tab;           // "Einnahmen"
    QString buttonPrefix;  // "EK"
    QString panel;         // "Einkommen"
    QString list;          // "Einkommensliste"
    QString heading;       // "E i n n a h m e n"
    QStringList suggestions;   // description suggestions; empty: plain text field

    static const BudgetTabTexts &forPrefix(const QString &prefix);
};
