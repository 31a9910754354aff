#pragma once

#include <QWidget>

class DataModules;
class DataSet;
class QRadioButton;
class QTabWidget;

// The Briefe page: the user's letters with their recipient, references, subject and body,
// the text modules and the printout.
class LettersPage : public QWidget
{
    Q_OBJECT
public:
    explicit LettersPage(DataModules &dm, QWidget *parent = nullptr);

private:
    QWidget *buildHeader();
    QWidget *buildRecipientTab();
    QWidget *buildSubjectTab();
    QWidget *buildTextTab();
    QWidget *writingTo(QWidget *parent);

    // The letter in edit state; a user without letters gets a new one.
    DataSet *editLetter();
    void followRecipient();
    void chooseRecipient();
    void editContact();
    void copyText();
    void takeTextModule();
    void print();

    DataModules &m_dm;
    QTabWidget *m_tabs = nullptr;
    QRadioButton *m_internal = nullptr;
};
