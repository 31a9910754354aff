#pragma once

#include <QString>

class DataSet;

// Finding the town of a postcode in the postcode list.
class PlzLookup
{
public:
    // The town of the first record, in the order of the query (by town), whose postcode is
    // exactly `plz`; empty when there is none or the list is closed. The cursor stays where
    // it is, so a pending row of the list is neither posted nor dropped.
    static QString townFor(DataSet *qrPlzOrt, const QString &plz);
};
