#pragma once

#include "ui/PageModule.h"

class DataModules;

// The Infothek page as a module of the main window, with the rubric window behind the menu
// item "Infothek- Rubrik"; the catalogue rules are installed with it.
class InfothekModule : public PageModule
{
public:
    explicit InfothekModule(DataModules &dm);

    const Info &info() const override { return m_info; }
    QWidget *createPage(QWidget *parent) override;
    void activate() override;
    QList<DataSet *> pendingSets() const override;
    QList<QPair<QString, std::function<void()>>> menuHandlers() override;

private:
    DataModules &m_dm;
    Info m_info;
};
