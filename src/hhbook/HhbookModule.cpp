#include "hhbook/HhbookModule.h"

#include "data/DataModules.h"
#include "hhbook/HhbookPage.h"
#include "hhbook/rules/HhbookHandlers.h"
#include "ui/Dialogs.h"

HhbookModule::HhbookModule(DataModules &dm, std::function<void(const QString &)> showBookName)
    : m_dm(dm), m_showBookName(std::move(showBookName))
{
    m_info = {QStringLiteral("tbsHhbuch"), QStringLiteral("Haushaltsbuch"), QStringLiteral("HH-Buch"),
              QStringLiteral("Haushaltsbuch"), QStringLiteral("Haushaltsbuch"), 3, true};
    if (!HhbookHandlers::of(*dm.dmHh))
        new HhbookHandlers(*dm.dmHh, *dm.dmMP, HhbookPage::askFirstBookName);
}

QWidget *HhbookModule::createPage(QWidget *parent)
{
    return new HhbookPage(m_dm, m_showBookName, parent);
}

void HhbookModule::activate()
{
    m_dm.dmHh->qrHhplan->reopen();
    m_dm.dmHh->qrHhbuch->reopen();
}

QList<DataSet *> HhbookModule::pendingSets() const
{
    return {m_dm.dmHh->qrHhplan, m_dm.dmHh->qrHhbuch};
}
