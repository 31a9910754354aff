#include "garnish/GarnishModule.h"

#include "garnish/GarnishPage.h"
#include "garnish/TFormPfandInit.h"

#include <QApplication>

GarnishModule::GarnishModule(DataModules &dm) : m_dm(dm)
{
    m_info = {QStringLiteral("tbsPfaendung"), QStringLiteral("Pfändung"), QStringLiteral("Pfändung"),
              QStringLiteral("Pfändungstabelle"), QStringLiteral("Pfändung"), 7, true};
}

QWidget *GarnishModule::createPage(QWidget *parent)
{
    return new GarnishPage(m_dm, parent);
}

QList<QPair<QString, std::function<void()>>> GarnishModule::menuHandlers()
{
    return {{QStringLiteral("miPfandGrunddaten"), [this] {
                 TFormPfandInit window(m_dm, QApplication::activeWindow());
                 window.exec();
             }}};
}
