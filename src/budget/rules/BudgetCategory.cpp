#include "budget/rules/BudgetCategory.h"

#include "core/AppError.h"
#include "data/TdmHh.h"

#include <QHash>

QString BudgetCategory::monthTotalField(int month) const
{
    return monthTotalPrefix + QStringLiteral("%1").arg(month, 2, 10, QChar(u'0'));
}

DataSet *BudgetCategory::query(const TdmHh &hh) const
{
    static const QHash<QString, DataSet *TdmHh::*> members = {
        {QStringLiteral("Ek"), &TdmHh::qrBudEinkommen},     {QStringLiteral("Wk"), &TdmHh::qrBudWohnkosten},
        {QStringLiteral("Vs"), &TdmHh::qrBudVersicherungen}, {QStringLiteral("Vk"), &TdmHh::qrBudVerkehrskosten},
        {QStringLiteral("Ak"), &TdmHh::qrBudAllgemein},     {QStringLiteral("Lk"), &TdmHh::qrBudLebenshaltung},
        {QStringLiteral("Sk"), &TdmHh::qrBudSonstKredite},  {QStringLiteral("Hk"), &TdmHh::qrBudHausKredite}};
    const auto member = members.value(prefix);
    if (!member)
        throw AppError(QStringLiteral("Unbekannte Budgetkategorie \"%1\"").arg(prefix));
    return hh.*member;
}

namespace BudgetCategories {

namespace {

BudgetCategory make(const char *prefix, const char *table, const char *name, const char *word, const char *bez, const char *betrag,
                    const char *valuta, const char *monat, const char *zahlung, const char *share)
{
    const QString p = QString::fromLatin1(prefix);
    return {p,
            QString::fromLatin1(table),
            QString::fromUtf8(name),
            QString::fromUtf8(word),
            p + QStringLiteral("_id"),
            QString::fromLatin1(bez),
            QString::fromLatin1(betrag),
            QString::fromLatin1(valuta),
            QString::fromLatin1(monat),
            QString::fromLatin1(zahlung),
            QStringLiteral("Sum_") + p,
            p + QStringLiteral("sum"),
            QString::fromLatin1(share)};
}

} // namespace

const QVector<BudgetCategory> &all()
{
    static const QVector<BudgetCategory> categories = {
        make("Ek", "bud_einkommen", "Einkommen", "EINKOMMEN", "Ek_bez", "Ek_Betrag", "", "Ek_monat", "Ek_zahlung", "Pro_EK"),
        make("Wk", "bud_Wohnkosten", "Wohnkosten", "WOHNKOSTEN", "Wk_bez", "Wk_Betrag", "", "Wk_Monat", "Wk_Zahlung", "Pro_WK"),
        make("Vs", "bud_versicherungen", "Versicherungen", "VERSICHERUNGEN", "Vs_Bez", "Vs_Betrag", "", "Vs_Monat", "Vs_Zahlung", "Pro_Vs"),
        make("Vk", "bud_verkehrskosten", "Verkehrskosten", "VERKEHRSKOSTEN", "Vk_Bez", "Vk_Betrag", "", "Vk_Monat", "Vk_Zahlung", "Pro_VK"),
        make("Ak", "bud_allgemein", "Allgemeine Kosten", "ALLGEMEINE KOSTEN", "Ak_Bez", "Ak_Betrag", "", "Ak_Monat", "Ak_Zahlung",
             "Pro_Ak"),
        make("Lk", "bud_lebenshaltung", "Lebenshaltung", "LEBENSHALTUNG", "Lk_Bez", "Lk_Betrag", "", "Lk_Monat", "Lk_Zahlung", "Pro_Lk"),
        make("Sk", "bud_SonstKredite", "Sonstige Kredite", "SONSTIGE KREDITE", "Sk_bez", "Sk_Betrag", "Sk_Valuta", "Sk_Monat",
             "Sk_Zahlung", "Pro_Sk"),
        make("Hk", "bud_hauskredite", "Hauskredite", "HAUSKREDITE", "Hk_Bez", "Hk_Betrag", "Hk_Valuta", "Hk_Monat", "Hk_Zahlung",
             "Pro_Hk"),
    };
    return categories;
}

const BudgetCategory &byPrefix(const QString &prefix)
{
    for (const BudgetCategory &c : all())
        if (c.prefix == prefix)
            return c;
    throw AppError(QStringLiteral("Unbekannte Budgetkategorie \"%1\"").arg(prefix));
}

QVector<const BudgetCategory *> deleteCheckOrder()
{
    QVector<const BudgetCategory *> order;
    for (const char *p : {"Ek", "Wk", "Vk", "Vs", "Ak", "Lk", "Sk", "Hk"})
        order << &byPrefix(QString::fromLatin1(p));
    return order;
}

QString itemMonthField(int month)
{
    return QStringLiteral("Mo%1").arg(month, 2, 10, QChar(u'0'));
}

} // namespace BudgetCategories
