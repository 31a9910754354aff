#pragma once

#include <QString>

// A field whose name is no variable of the report: copied into the output as written,
// and reported so that a template author sees a misspelt name.
struct UnknownField
{
    QString name;
    int line = 0;   // line of the template file, from 1

    bool operator==(const UnknownField &) const = default;
};
