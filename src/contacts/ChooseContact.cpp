#include "contacts/ChooseContact.h"

#include "contacts/TFormKontWahl.h"
#include "data/DataModules.h"

int ChooseContact(DataModules &dm, QWidget *parent)
{
    {
        TFormKontWahl window(dm, parent);
        window.exec();
    }
    DataSet *list = dm.dmAdressen->qrKontWahl;
    if (!list->isOpen() || list->isEmpty())
        return 0;
    return list->asInteger(QStringLiteral("adr_id"));
}

bool ContactTakenOver()
{
    return TFormKontWahl::takenOver();
}
