#pragma once

#include "data/Database.h"
#include "data/TdmAdressen.h"
#include "data/TdmExtras.h"
#include "data/TdmFirma.h"
#include "data/TdmHh.h"
#include "data/TdmMP.h"
#include "data/TdmSchrift.h"

#include <memory>

// The database connection and the six data modules, created in their fixed order with
// every query closed. They live as long as the process; windows bind to their queries.
class DataModules
{
public:
    DataModules();
    ~DataModules();
    DataModules(const DataModules &) = delete;
    DataModules &operator=(const DataModules &) = delete;

    Database db;
    std::unique_ptr<TdmMP> dmMP;
    std::unique_ptr<TdmFirma> dmFirma;
    std::unique_ptr<TdmHh> dmHh;
    std::unique_ptr<TdmAdressen> dmAdressen;
    std::unique_ptr<TdmSchrift> dmSchrift;
    std::unique_ptr<TdmExtras> dmExtras;

    // Every data set of every module, in module order.
    QList<DataSet *> allDataSets() const;
};
