#pragma once

#include <QWidget>

class DataModules;
class QTabWidget;

// The Kontakte page: the current contact read-only with the toolbar that picks, edits and
// prints contacts. It has no list: "Kontakt auswählen" is the way to another contact.
class ContactsPage : public QWidget
{
    Q_OBJECT
public:
    explicit ContactsPage(DataModules &dm, QWidget *parent = nullptr);

    // A page of another area beside the contact (the creditors of a client, say); the
    // contact itself becomes the first tab.
    void addTab(QWidget *tab, const QString &title);

private:
    void editContact();

    DataModules &m_dm;
    QWidget *m_contact = nullptr;
    QTabWidget *m_tabs = nullptr;
};
