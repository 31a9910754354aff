#include "hhbook/rules/HhbookVocabulary.h"

namespace HhbookVocabulary {

const QVector<Category> &categories()
{
    static const QVector<Category> all = {
        {QStringLiteral("Einkommen"), QStringLiteral("Eksum")},
        {QStringLiteral("Wohnkosten"), QStringLiteral("Wksum")},
        {QStringLiteral("Versicherungen"), QStringLiteral("Vssum")},
        {QStringLiteral("Verkehrskosten"), QStringLiteral("Vksum")},
        {QStringLiteral("Allgemeine Kosten"), QStringLiteral("Aksum")},
        {QStringLiteral("Lebenshaltung"), QStringLiteral("Lksum")},
        {QStringLiteral("Konsumkredite"), QStringLiteral("Sksum")},
        {QStringLiteral("Hauskredite"), QStringLiteral("Hksum")},
    };
    return all;
}

const QStringList &categoryWords()
{
    static const QStringList words = [] {
        QStringList w;
        for (const Category &c : categories())
            w << c.word;
        return w;
    }();
    return words;
}

int categoryIndex(const QString &rubrik)
{
    return static_cast<int>(categoryWords().indexOf(rubrik));
}

const QStringList &waysOfPayment()
{
    static const QStringList ways = {QStringLiteral("Bar"), QStringLiteral("Konto")};
    return ways;
}

} // namespace HhbookVocabulary
