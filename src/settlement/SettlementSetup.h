#pragma once

#include "contacts/ContactsModule.h"

class DataModules;

// How the debt counselling joins the program: its rules on the contacts and the
// "Gläubiger" tab of the Kontakte page.
namespace SettlementSetup {

QList<ContactsModule::Tab> contactTabs(DataModules &dm);

} // namespace SettlementSetup
