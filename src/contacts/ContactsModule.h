#pragma once

#include "ui/PageModule.h"

#include <functional>

class DataModules;

// The Kontakte page as a module of the main window; the contact rules come with it.
class ContactsModule : public PageModule
{
public:
    // A tab of another area on the Kontakte page: its title and how it is made.
    struct Tab
    {
        QString title;
        std::function<QWidget *(DataModules &, QWidget *)> make;
    };

    explicit ContactsModule(DataModules &dm, QList<Tab> tabs = {});

    const Info &info() const override { return m_info; }
    QWidget *createPage(QWidget *parent) override;
    void activate() override;
    QList<DataSet *> pendingSets() const override;

private:
    DataModules &m_dm;
    Info m_info;
    QList<Tab> m_tabs;
};
