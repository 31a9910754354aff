#pragma once

class DataModules;

// Makes every "Hilfe" button of the program open the help texts of this database.
namespace HelpSetup {

void install(DataModules &dm);

} // namespace HelpSetup
