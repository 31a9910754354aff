#include "data/SchemaAdditions.h"

namespace SchemaAdditions {

void appendDebtCounselling(QVector<TableDef> &)
{
}

} // namespace SchemaAdditions
