#include "letters/rules/LetterRules.h"

#include "core/DateUtil.h"
#include "data/DataSet.h"

#include <QStringList>

namespace LetterRules {

void newLetter(DataSet &letter, const DataSet &aktUser)
{
    const bool known = aktUser.isOpen() && !aktUser.isEmpty();
    auto user = [&](const char *field) { return known ? aktUser.value(QLatin1String(field)) : QVariant(); };
    letter.setValue(QStringLiteral("User_id"), user("Ben_id"));
    letter.setValue(QStringLiteral("Erfdat"), DateUtil::today());
    letter.setValue(QStringLiteral("SBKurz"), known ? aktUser.asString(QStringLiteral("SbKurz")).toLower() : QString());
    letter.setValue(QStringLiteral("SB"), user("SbLang"));
    letter.setValue(QStringLiteral("SBTelefon"), user("SbTelefon"));
}

QString titleStart(const QString &recipientSearchName)
{
    return recipientSearchName + QStringLiteral(" - ");
}

QString withModule(const QString &body, const QString &moduleText)
{
    // A body without text gets the module alone, as its first line.
    if (body.isEmpty())
        return moduleText;
    return body + QLatin1Char('\n') + moduleText;
}

const QStringList &copiedColumns()
{
    static const QStringList columns = {QStringLiteral("Text"), QStringLiteral("UnserZeichen"), QStringLiteral("SB"),
                                        QStringLiteral("SBKurz"), QStringLiteral("SBTelefon")};
    return columns;
}

} // namespace LetterRules
