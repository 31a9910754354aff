#pragma once

#include "ui/PageModule.h"

#include <QList>

// A page whose module is still to come: it reloads and posts the data sets the main window
// has always handled for it, under its title, so the shell behaves as it will.
class PlaceholderModule : public PageModule
{
public:
    PlaceholderModule(Info info, QList<DataSet *> reload, QList<DataSet *> pending);

    const Info &info() const override { return m_info; }
    QWidget *createPage(QWidget *parent) override;
    void activate() override;
    QList<DataSet *> pendingSets() const override { return m_pending; }

private:
    Info m_info;
    QList<DataSet *> m_reload;
    QList<DataSet *> m_pending;
};
