#pragma once

#include <QWidget>

class DataModules;
class QGroupBox;
class QLineEdit;
class QPushButton;

// The Home page's help: a wide button that shows and hides the panel "Bedienungshinweise"
// with the help texts, their search, printout and the way into editing them.
class HelpPanel : public QWidget
{
    Q_OBJECT
public:
    explicit HelpPanel(DataModules &dm, QWidget *parent = nullptr);

private:
    void toggle();

    DataModules &m_dm;
    QPushButton *m_toggle = nullptr;
    QGroupBox *m_panel = nullptr;
    QLineEdit *m_search = nullptr;
};
