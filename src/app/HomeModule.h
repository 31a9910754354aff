#pragma once

#include "ui/PageModule.h"

class DataModules;

// The Home page with its help panel; the help texts behind every "Hilfe" button are
// installed with it.
class HomeModule : public PageModule
{
public:
    explicit HomeModule(DataModules &dm);

    const Info &info() const override { return m_info; }
    QWidget *createPage(QWidget *parent) override;
    void activate() override {}
    QList<QPair<QString, std::function<void()>>> menuHandlers() override;

private:
    DataModules &m_dm;
    Info m_info;
};
