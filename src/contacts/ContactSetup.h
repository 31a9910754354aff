#pragma once

class DataModules;
class QWidget;

namespace ContactSetup {

// The rules of qrKontakte, asking through the program's dialogs; idempotent.
void installHandlers(DataModules &dm);
// Opens the queries a contact window reads unless they are open already.
void openQueries(DataModules &dm);
// `ChooseContact`, then the contact cursor on the chosen number (it stays where it is
// when the number is unknown); a pending contact is stored first.
void chooseAndLocate(DataModules &dm, QWidget *parent);

} // namespace ContactSetup
