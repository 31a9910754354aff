#include "app/HomeModule.h"

#include "app/HomePage.h"
#include "help/HelpPanel.h"
#include "help/HelpSetup.h"
#include "help/TFormProgInfo.h"

#include <QApplication>
#include <QVBoxLayout>

HomeModule::HomeModule(DataModules &dm) : m_dm(dm)
{
    m_info = {QStringLiteral("tbsHome"), QStringLiteral("Home"), QStringLiteral("Home"), QStringLiteral("Home"),
              QStringLiteral("Home"), 0, false};
    HelpSetup::install(dm);
}

QWidget *HomeModule::createPage(QWidget *parent)
{
    auto *page = new HomePage(parent);
    page->helpArea()->addWidget(new HelpPanel(m_dm, page));
    return page;
}

QList<QPair<QString, std::function<void()>>> HomeModule::menuHandlers()
{
    return {{QStringLiteral("miHilfe"),
             [this] { TFormProgInfo::showReadOnly(m_dm, QString(), QApplication::activeWindow()); }}};
}
