#pragma once

#include "ui/PageModule.h"

// The Home page: nothing to reload, nothing to post.
class HomeModule : public PageModule
{
public:
    HomeModule();

    const Info &info() const override { return m_info; }
    QWidget *createPage(QWidget *parent) override;
    void activate() override {}

private:
    Info m_info;
};
