#pragma once

#include "ui/PageModule.h"

class DataModules;

// The Pfändung page as a module of the main window, with the window of the base values
// behind the menu item "Pfaendung-Grunddaten".
class GarnishModule : public PageModule
{
public:
    explicit GarnishModule(DataModules &dm);

    const Info &info() const override { return m_info; }
    QWidget *createPage(QWidget *parent) override;
    // Entering the page loads nothing; "&Aktivieren" shows the table.
    void activate() override {}
    QList<QPair<QString, std::function<void()>>> menuHandlers() override;

private:
    DataModules &m_dm;
    Info m_info;
};
