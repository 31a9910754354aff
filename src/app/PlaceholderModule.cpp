#include "app/PlaceholderModule.h"

#include "data/DataSet.h"

#include <QWidget>

PlaceholderModule::PlaceholderModule(Info info, QList<DataSet *> reload, QList<DataSet *> pending)
    : m_info(std::move(info)), m_reload(std::move(reload)), m_pending(std::move(pending))
{
}

QWidget *PlaceholderModule::createPage(QWidget *parent)
{
    return new QWidget(parent);
}

void PlaceholderModule::activate()
{
    for (DataSet *ds : std::as_const(m_reload))
        ds->reopen();
}
