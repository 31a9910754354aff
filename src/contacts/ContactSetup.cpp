#include "contacts/ContactSetup.h"

#include "contacts/ChooseContact.h"
#include "contacts/rules/ContactHandlers.h"
#include "data/DataModules.h"
#include "ui/Dialogs.h"

namespace ContactSetup {

void installHandlers(DataModules &dm)
{
    ContactHandlers::ensure(*dm.dmAdressen, *dm.dmFirma,
                            [](const QString &question) { return AskYesNo(question, mkConfirm); });
}

void openQueries(DataModules &dm)
{
    for (DataSet *ds : {dm.dmAdressen->qrKontakte, dm.dmFirma->qrBuland, dm.dmFirma->qrPlzOrt})
        if (!ds->isOpen())
            ds->open();
}

void chooseAndLocate(DataModules &dm, QWidget *parent)
{
    const int chosen = ChooseContact(dm, parent);
    DataSet *contacts = dm.dmAdressen->qrKontakte;
    if (!contacts->isOpen())
        contacts->open();
    contacts->locate(QStringLiteral("Adr_id"), chosen);
}

} // namespace ContactSetup
