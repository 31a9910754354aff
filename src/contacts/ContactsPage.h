#pragma once

#include <QWidget>

class DataModules;

// The Kontakte page: the current contact read-only with the toolbar that picks, edits and
// prints contacts. It has no list: "Kontakt auswählen" is the way to another contact.
class ContactsPage : public QWidget
{
    Q_OBJECT
public:
    explicit ContactsPage(DataModules &dm, QWidget *parent = nullptr);

private:
    void editContact();

    DataModules &m_dm;
};
