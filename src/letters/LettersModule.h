#pragma once

#include "ui/PageModule.h"

class DataModules;

// The Briefe page as a module of the main window; the letter rules are installed with it.
class LettersModule : public PageModule
{
public:
    explicit LettersModule(DataModules &dm);

    const Info &info() const override { return m_info; }
    QWidget *createPage(QWidget *parent) override;
    void activate() override;
    QList<DataSet *> pendingSets() const override;

private:
    DataModules &m_dm;
    Info m_info;
};
