#include "ui/PageModule.h"

#include "data/DataSet.h"

#include <algorithm>

bool PageModule::leave()
{
    for (DataSet *ds : pendingSets())
        if (ds->isPending())
            ds->post();
    return true;
}

bool PageModule::hasPending() const
{
    const QList<DataSet *> sets = pendingSets();
    return std::any_of(sets.cbegin(), sets.cend(), [](const DataSet *ds) { return ds->isPending(); });
}
