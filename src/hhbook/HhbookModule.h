#pragma once

#include "ui/PageModule.h"

#include <functional>

class DataModules;

// The household-book page as a module of the main window; the rules of books and bookings
// are installed with it, so they hold whatever window creates a book or a booking.
class HhbookModule : public PageModule
{
public:
    // `showBookName` writes the current book's name into the main window's status bar.
    HhbookModule(DataModules &dm, std::function<void(const QString &)> showBookName);

    const Info &info() const override { return m_info; }
    QWidget *createPage(QWidget *parent) override;
    void activate() override;
    QList<DataSet *> pendingSets() const override;

private:
    DataModules &m_dm;
    std::function<void(const QString &)> m_showBookName;
    Info m_info;
};
