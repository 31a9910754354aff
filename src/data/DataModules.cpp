#include "data/DataModules.h"

DataModules::DataModules()
    : dmMP(std::make_unique<TdmMP>(&db)),
      dmFirma(std::make_unique<TdmFirma>(&db)),
      dmHh(std::make_unique<TdmHh>(&db, dmMP.get())),
      dmAdressen(std::make_unique<TdmAdressen>(&db)),
      dmSchrift(std::make_unique<TdmSchrift>(&db, dmMP.get())),
      dmExtras(std::make_unique<TdmExtras>(&db))
{
}

DataModules::~DataModules()
{
    // Details go before their masters.
    dmExtras.reset();
    dmSchrift.reset();
    dmAdressen.reset();
    dmHh.reset();
    dmFirma.reset();
    dmMP.reset();
    db.close();
}

QList<DataSet *> DataModules::allDataSets() const
{
    QList<DataSet *> all;
    for (const QObject *module : {static_cast<QObject *>(dmMP.get()), static_cast<QObject *>(dmFirma.get()),
                                  static_cast<QObject *>(dmHh.get()), static_cast<QObject *>(dmAdressen.get()),
                                  static_cast<QObject *>(dmSchrift.get()), static_cast<QObject *>(dmExtras.get())})
        all += module->findChildren<DataSet *>(QString(), Qt::FindDirectChildrenOnly);
    return all;
}
