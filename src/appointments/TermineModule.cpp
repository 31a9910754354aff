#include "appointments/TermineModule.h"

#include "appointments/TerminePage.h"
#include "appointments/rules/AppointmentHandlers.h"
#include "data/DataModules.h"

TermineModule::TermineModule(DataModules &dm, std::function<void(const QString &)> setHeading)
    : m_dm(dm), m_setHeading(std::move(setHeading))
{
    m_info = {QStringLiteral("tbsAufgaben"), QStringLiteral("Termine"), QStringLiteral("Termine"),
              QStringLiteral("Aufgaben-/Terminverwaltung"), QStringLiteral("Termin"), 5, true};
    if (!dm.dmExtras->findChild<AppointmentHandlers *>())
        new AppointmentHandlers(*dm.dmExtras, *dm.dmMP);
}

QWidget *TermineModule::createPage(QWidget *parent)
{
    m_page = new TerminePage(m_dm, m_setHeading, parent);
    return m_page;
}

void TermineModule::activate()
{
    if (m_page)
        m_page->enter();
}
