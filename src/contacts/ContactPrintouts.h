#pragma once

#include <QString>
#include <QStringList>

class DataModules;

// The index card of the current contact and the list of all contacts.
namespace ContactPrintouts {

inline const QString CardTemplate = QStringLiteral("KontKarteiKarte.rtf");
inline const QString ListTemplate = QStringLiteral("Kontaktliste.rtf");

// The variables of the card, in their declared order, each with the column it shows.
struct CardVariable
{
    QString variable;
    QString column;
};
const QList<CardVariable> &cardVariables();

// The card shows the row as it stands, pending changes included, without storing them.
void printCard(DataModules &dm);
// Every contact in search-name order.
void printList(DataModules &dm);

} // namespace ContactPrintouts
