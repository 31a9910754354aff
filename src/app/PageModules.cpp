// The registration of every page. A module is added here and nowhere else in the shell.
#include "app/PageModules.h"

#include "app/HomeModule.h"
#include "app/TFormMain.h"
#include "appointments/TermineModule.h"
#include "budget/BudgetModule.h"
#include "contacts/ContactsModule.h"
#include "data/DataModules.h"
#include "garnish/GarnishModule.h"
#include "hhbook/HhbookModule.h"
#include "infothek/InfothekModule.h"
#include "letters/LettersModule.h"
#include "settlement/SettlementSetup.h"

#include <QLabel>

std::vector<std::unique_ptr<PageModule>> createPageModules(TFormMain &main)
{
    DataModules &dm = main.dataModules();
    std::vector<std::unique_ptr<PageModule>> modules;
    modules.push_back(std::make_unique<HomeModule>(dm));
    modules.push_back(std::make_unique<BudgetModule>(dm));
    modules.push_back(std::make_unique<HhbookModule>(dm, [&main](const QString &bookName) {
        if (auto *panel = main.findChild<QLabel *>(QStringLiteral("stbFmPanel2")))
            panel->setText(bookName);
    }));
    modules.push_back(std::make_unique<ContactsModule>(dm, SettlementSetup::contactTabs(dm)));
    modules.push_back(std::make_unique<LettersModule>(dm));
    modules.push_back(std::make_unique<GarnishModule>(dm));
    modules.push_back(std::make_unique<InfothekModule>(dm));
    modules.push_back(std::make_unique<TermineModule>(dm, [&main](const QString &heading) { main.terminHeading = heading; }));
    return modules;
}
