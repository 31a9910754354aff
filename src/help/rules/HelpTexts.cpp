#include "help/rules/HelpTexts.h"

#include "core/SqlText.h"
#include "data/DataSet.h"

namespace HelpTexts {

QString filterSql(const QString &search)
{
    const QString pattern = SqlText::doubleQuotes(QLatin1Char('%') + search.toLower() + QLatin1Char('%'));
    return SqlText::format(QStringLiteral("Select * from Programminfo where lower(rubrik) like '%S' order by rubrik"),
                           {pattern});
}

void show(DataSet &texts, QString sql, bool readOnly)
{
    texts.close();
    texts.setReadOnly(readOnly);
    texts.replaceSql(sql);
}

} // namespace HelpTexts
