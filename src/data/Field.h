#pragma once

#include "data/FieldType.h"

#include <QString>

// One column of a data set: a stored column of the result, or a calculated field that the
// owner fills in its calc-fields handler.
struct Field
{
    QString name;
    FieldType type = FieldType::Text;
    int size = 0;
    bool required = false;
    bool calculated = false;
    bool key = false;
    int index = 0;   // position among the data set's fields
};
