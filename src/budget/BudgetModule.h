#pragma once

#include "ui/PageModule.h"

class DataModules;

// The Budget page as a module of the main window; its rules are installed with it, so
// they hold whatever window edits a plan or an item.
class BudgetModule : public PageModule
{
public:
    explicit BudgetModule(DataModules &dm);

    const Info &info() const override { return m_info; }
    QWidget *createPage(QWidget *parent) override;
    void activate() override;
    QList<DataSet *> pendingSets() const override;

private:
    DataModules &m_dm;
    Info m_info;
};
