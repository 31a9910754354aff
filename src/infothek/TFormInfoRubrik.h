#pragma once

#include "ui/RecordDialog.h"

class DataModules;

// "Infothek - Rubrik": the rubrics with the directory of their documents.
class TFormInfoRubrik : public RecordDialog
{
    Q_OBJECT
public:
    explicit TFormInfoRubrik(DataModules &dm, QWidget *parent = nullptr);

    // The menu item: the rubric editor list for the time the window is open; afterwards
    // the page's rubric list and its first rubric's documents are read again.
    static void run(DataModules &dm, QWidget *parent);

private:
    void chooseDirectory();

    DataModules &m_dm;
};
