#pragma once

#include "ui/PageModule.h"

#include <functional>

class DataModules;
class QCalendarWidget;
class QLabel;

// The appointments page as far as the shell goes: today's date as heading, today's
// appointments, the month calendar on today.
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
    QLabel *m_auflbDatum = nullptr;
    QCalendarWidget *m_mc01 = nullptr;
};
