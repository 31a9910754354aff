#include "settlement/SettlementSetup.h"

#include "settlement/CreditorTab.h"
#include "settlement/rules/SettlementData.h"

namespace SettlementSetup {

QList<ContactsModule::Tab> contactTabs(DataModules &dm)
{
    // The rules guard the contacts from the start, also where the tab was never opened.
    SettlementData::of(dm);
    return {{QStringLiteral("Gläubiger"), [](DataModules &d, QWidget *parent) { return new CreditorTab(d, parent); }}};
}

} // namespace SettlementSetup
