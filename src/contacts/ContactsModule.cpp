#include "contacts/ContactsModule.h"

#include "contacts/ContactSetup.h"
#include "contacts/ContactsPage.h"
#include "data/DataModules.h"

ContactsModule::ContactsModule(DataModules &dm, QList<Tab> tabs) : m_dm(dm), m_tabs(std::move(tabs))
{
    m_info = {QStringLiteral("tbsKontakte"), QStringLiteral("Kontakte"), QStringLiteral("Kontakte"),
              QStringLiteral("Kontaktverwaltung"), QStringLiteral("Kontakte"), 6, true};
    ContactSetup::installHandlers(dm);
}

QWidget *ContactsModule::createPage(QWidget *parent)
{
    auto *page = new ContactsPage(m_dm, parent);
    for (const Tab &tab : std::as_const(m_tabs))
        page->addTab(tab.make(m_dm, page), tab.title);
    return page;
}

void ContactsModule::activate()
{
    for (DataSet *ds : {m_dm.dmAdressen->qrKontakte, m_dm.dmFirma->qrBuland, m_dm.dmFirma->qrPlzOrt})
        ds->reopen();
}

QList<DataSet *> ContactsModule::pendingSets() const
{
    return {m_dm.dmAdressen->qrKontakte};
}
