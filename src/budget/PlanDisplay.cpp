#include "budget/PlanDisplay.h"

#include "core/GermanFormat.h"

namespace PlanDisplay {

QString share(const QVariant &value)
{
    return value.isNull() ? QString() : GermanFormat::fixed(value.toDouble(), 2) + QStringLiteral(" %");
}

QString persons(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString() + QStringLiteral(" Pers.");
}

} // namespace PlanDisplay
