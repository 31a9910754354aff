#pragma once

#include "ui/RecordDialog.h"

class DataModules;
class QLineEdit;
class QTabWidget;

// "Textbausteine": the shared text modules, with a search by abbreviation and the take-over
// of the current module into a letter.
class TFormTbau : public RecordDialog
{
    Q_OBJECT
public:
    explicit TFormTbau(DataModules &dm, QWidget *parent = nullptr);

    // Set by "&Übernehmen", cleared by "&Ohne Übernahme"; a window closed another way
    // leaves it as the last use set it.
    static bool takenOver();

private:
    void search(const QString &text);

    DataModules &m_dm;
    QTabWidget *m_tabs = nullptr;
};
