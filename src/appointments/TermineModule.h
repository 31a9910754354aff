#pragma once

#include "ui/PageModule.h"

#include <functional>

class DataModules;
class TerminePage;

// The Termine page as a module of the main window; the appointment rules are installed with it.
class TermineModule : public PageModule
{
public:
    // `setHeading` receives the long date, which the appointment list prints as heading.
    TermineModule(DataModules &dm, std::function<void(const QString &)> setHeading);

    const Info &info() const override { return m_info; }
    QWidget *createPage(QWidget *parent) override;
    void activate() override;

private:
    DataModules &m_dm;
    std::function<void(const QString &)> m_setHeading;
    Info m_info;
    TerminePage *m_page = nullptr;
};
