#include "data/SchemaAdditions.h"

namespace SchemaAdditions {

void appendStatementImport(QVector<TableDef> &)
{
}

} // namespace SchemaAdditions
