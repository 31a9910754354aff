#pragma once

#include "ui/PageModule.h"

class DataModules;

// The Kontakte page as a module of the main window; the contact rules come with it.
class ContactsModule : public PageModule
{
public:
    explicit ContactsModule(DataModules &dm);

    const Info &info() const override { return m_info; }
    QWidget *createPage(QWidget *parent) override;
    void activate() override;
    QList<DataSet *> pendingSets() const override;

private:
    DataModules &m_dm;
    Info m_info;
};
