#pragma once

#include "core/GarnishmentGrid.h"

// The four monthly amounts of the yearly official notice, from which every base value of
// the table follows.
struct PublishedAmounts
{
    Money freeAmount;         // G: what stays free without a dependant
    Money firstDependant;     // U1: more for the first dependant
    Money furtherDependant;   // U2: more for each further dependant
    Money cap;                // K: above it every euro is garnishable

    // All base values, each column's start on the next ten euros above its free amount.
    // Throws UserWarning naming the amount for a negative one or a cap below the start.
    GarnishmentBase baseValues() const;
};
