#include "app/HomeModule.h"

#include "app/HomePage.h"

HomeModule::HomeModule()
{
    m_info = {QStringLiteral("tbsHome"), QStringLiteral("Home"), QStringLiteral("Home"), QStringLiteral("Home"),
              QStringLiteral("Home"), 0, false};
}

QWidget *HomeModule::createPage(QWidget *parent)
{
    return new HomePage(parent);
}
