// The registration of every page. A module is added here and nowhere else in the shell.
#include "app/PageModules.h"

#include "app/HomeModule.h"
#include "app/PlaceholderModule.h"
#include "app/TFormMain.h"
#include "app/TermineModule.h"
#include "budget/BudgetModule.h"
#include "data/DataModules.h"
#include "garnish/GarnishModule.h"

std::vector<std::unique_ptr<PageModule>> createPageModules(TFormMain &main)
{
    DataModules &dm = main.dataModules();
    TdmHh *hh = dm.dmHh.get();
    auto info = [](const char *object, const char *node, const char *button, const char *title, int guardRank) {
        return PageModule::Info{QString::fromUtf8(object), QString::fromUtf8(node), QString::fromUtf8(button),
                                QString::fromUtf8(title), QString::fromUtf8(node), guardRank, true};
    };

    std::vector<std::unique_ptr<PageModule>> modules;
    modules.push_back(std::make_unique<HomeModule>());
    modules.push_back(std::make_unique<BudgetModule>(dm));
    modules.push_back(std::make_unique<PlaceholderModule>(info("tbsHhbuch", "Haushaltsbuch", "HH-Buch", "Haushaltsbuch", 3),
                                                          QList<DataSet *>{hh->qrHhplan, hh->qrHhbuch},
                                                          QList<DataSet *>{hh->qrHhplan, hh->qrHhbuch}));
    modules.push_back(std::make_unique<PlaceholderModule>(
        info("tbsKontakte", "Kontakte", "Kontakte", "Kontaktverwaltung", 6),
        QList<DataSet *>{dm.dmAdressen->qrKontakte, dm.dmFirma->qrBuland, dm.dmFirma->qrPlzOrt}, QList<DataSet *>{}));
    modules.push_back(std::make_unique<PlaceholderModule>(info("tbsBriefe", "Briefe", "Briefe", "Schriftwechsel", 1),
                                                          QList<DataSet *>{dm.dmSchrift->qrSchrift},
                                                          QList<DataSet *>{dm.dmSchrift->qrSchrift}));
    modules.push_back(std::make_unique<GarnishModule>(dm));
    modules.push_back(std::make_unique<PlaceholderModule>(info("tbsInfothek", "Infothek", "Infothek", "Infothek", 2),
                                                          QList<DataSet *>{dm.dmExtras->qrInfoRubrik},
                                                          QList<DataSet *>{dm.dmExtras->qrInfos}));
    modules.push_back(std::make_unique<TermineModule>(dm, [&main](const QString &heading) { main.terminHeading = heading; }));
    return modules;
}
