#include "infothek/InfothekModule.h"

#include "data/DataModules.h"
#include "infothek/InfothekPage.h"
#include "infothek/TFormInfoRubrik.h"
#include "infothek/rules/InfothekHandlers.h"
#include "infothek/rules/InfothekRules.h"

#include <QApplication>

InfothekModule::InfothekModule(DataModules &dm) : m_dm(dm)
{
    m_info = {QStringLiteral("tbsInfothek"), QStringLiteral("Infothek"), QStringLiteral("Infothek"),
              QStringLiteral("Infothek"), QStringLiteral("Infothek"), 2, true};
    if (!dm.dmExtras->findChild<InfothekHandlers *>())
        new InfothekHandlers(*dm.dmExtras);
}

QWidget *InfothekModule::createPage(QWidget *parent)
{
    return new InfothekPage(m_dm, parent);
}

void InfothekModule::activate()
{
    TdmExtras &extras = *m_dm.dmExtras;
    extras.qrInfoRubrik->reopen();
    InfothekRules::openDocuments(*extras.qrInfos, extras.qrInfoRubrik->value(QStringLiteral("Rubrik_id")));
}

QList<DataSet *> InfothekModule::pendingSets() const
{
    return {m_dm.dmExtras->qrInfos};
}

QList<QPair<QString, std::function<void()>>> InfothekModule::menuHandlers()
{
    return {{QStringLiteral("miInfoRubrik"), [this] { TFormInfoRubrik::run(m_dm, QApplication::activeWindow()); }}};
}
