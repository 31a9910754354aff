#include "budget/rules/PlanPrintValues.h"

#include "budget/rules/BudgetCategory.h"
#include "core/GermanFormat.h"
#include "core/Money.h"
#include "data/DataSet.h"

namespace PlanPrintValues {

namespace {

Money toMoney(const QVariant &value)
{
    return value.isNull() ? Money() : Money::fromDouble(value.toDouble());
}

QString date(const DataSet &plan, const char *field)
{
    return GermanFormat::shortDate(plan.asDate(QLatin1String(field)));
}

QString twoDigits(int month)
{
    return QStringLiteral("%1").arg(month, 2, 10, QChar(u'0'));
}

// The heading and totals both printouts share, in the order of the household plan's list.
struct Common
{
    QString title, created, changed, persons, credit;
};

Common common(const DataSet &plan, const QString &credit)
{
    return {plan.asString(QStringLiteral("BudTitel")), date(plan, "Bud_dat"), date(plan, "Bud_aend"),
            persons(plan.value(QStringLiteral("Bud_Personen"))), credit};
}

QString moneyOf(const DataSet &plan, const char *field)
{
    return money(plan.value(QLatin1String(field)));
}

} // namespace

QString money(const QVariant &value)
{
    return GermanFormat::currency(toMoney(value));
}

QString share(const QVariant &value)
{
    return GermanFormat::number(value.isNull() ? 0.0 : value.toDouble(), 6, 2) + QStringLiteral(" %");
}

QString persons(const QVariant &value)
{
    return (value.isNull() ? QString() : QString::number(value.toLongLong())) + QStringLiteral(" Person(en)");
}

QString monthTotal(const QVariant &value)
{
    const Money amount = toMoney(value);
    return amount == Money() ? QStringLiteral("---") : GermanFormat::currency(amount);
}

Values householdPlan(const DataSet &plan, const QString &credit)
{
    const Common c = common(plan, credit);
    const QVariant defizit = plan.value(QStringLiteral("Defizit"));
    const bool surplus = toMoney(defizit) >= Money();
    return {
        {QStringLiteral("eksuna"), c.title},
        {QStringLiteral("ekerfdat"), c.created},
        {QStringLiteral("ekaenddat"), c.changed},
        {QStringLiteral("ekpersonen"), c.persons},
        {QStringLiteral("ekeinkommen"), moneyOf(plan, "Sum_Ek")},
        {QStringLiteral("ekwohnen"), moneyOf(plan, "Sum_Wk")},
        {QStringLiteral("ekversicherung"), moneyOf(plan, "Sum_Vs")},
        {QStringLiteral("ekverkehr"), moneyOf(plan, "Sum_Vk")},
        {QStringLiteral("ekallgemein"), moneyOf(plan, "Sum_Ak")},
        {QStringLiteral("ekleben"), moneyOf(plan, "Sum_Lk")},
        {QStringLiteral("ekmaxkredit"), moneyOf(plan, "MaxKredit")},
        {QStringLiteral("eksonstkredit"), moneyOf(plan, "Sum_Sk")},
        {QStringLiteral("ekmaxhaus"), moneyOf(plan, "MaxHaus")},
        {QStringLiteral("ekdefizit"), money(defizit)},
        {QStringLiteral("ekhauskredit"), moneyOf(plan, "Sum_Hk")},
        {QStringLiteral("ekfirma"), c.credit},
        {QStringLiteral("ekzwisu"), moneyOf(plan, "Zwisu")},
        {QStringLiteral("ekekproz"), share(plan.value(QStringLiteral("Pro_EK")))},
        {QStringLiteral("ekwkproz"), share(plan.value(QStringLiteral("Pro_WK")))},
        {QStringLiteral("ekvkproz"), share(plan.value(QStringLiteral("Pro_VK")))},
        {QStringLiteral("ekakproz"), share(plan.value(QStringLiteral("Pro_Ak")))},
        {QStringLiteral("ekvsproz"), share(plan.value(QStringLiteral("Pro_Vs")))},
        {QStringLiteral("eklkproz"), share(plan.value(QStringLiteral("Pro_Lk")))},
        {QStringLiteral("ekskproz"), share(plan.value(QStringLiteral("Pro_Sk")))},
        {QStringLiteral("ekhkproz"), share(plan.value(QStringLiteral("Pro_Hk")))},
        {QStringLiteral("ekueber"), surplus ? QStringLiteral("Überschuss") : QStringLiteral("Defizit")},
    };
}

Values budgetPlan(const DataSet &plan, const QString &credit)
{
    const Common c = common(plan, credit);
    Values v = {
        {QStringLiteral("eksuna"), c.title},
        {QStringLiteral("ekpersonen"), c.persons},
        {QStringLiteral("ekfirma"), c.credit},
        {QStringLiteral("ekerfdat"), c.created},
        {QStringLiteral("ekaenddat"), c.changed},
        {QStringLiteral("ekeinkommen"), moneyOf(plan, "Sum_Ek")},
        {QStringLiteral("ekwohnen"), moneyOf(plan, "Sum_Wk")},
        {QStringLiteral("ekversicherung"), moneyOf(plan, "Sum_Vs")},
        {QStringLiteral("ekverkehr"), moneyOf(plan, "Sum_Vk")},
        {QStringLiteral("ekleben"), moneyOf(plan, "Sum_Lk")},
        {QStringLiteral("ekallgemein"), moneyOf(plan, "Sum_Ak")},
        {QStringLiteral("ekmaxkredit"), moneyOf(plan, "MaxKredit")},
        {QStringLiteral("eksonstkredit"), moneyOf(plan, "Sum_Sk")},
        {QStringLiteral("ekmaxhaus"), moneyOf(plan, "MaxHaus")},
        {QStringLiteral("ekdefizit"), moneyOf(plan, "Defizit")},
        {QStringLiteral("ekhauskredit"), moneyOf(plan, "Sum_Hk")},
        {QStringLiteral("ekzwisu"), moneyOf(plan, "Zwisu")},
    };
    for (const BudgetCategory &cat : BudgetCategories::all()) {
        for (int m = 1; m <= 12; ++m)
            v.append({QStringLiteral("ek") + cat.prefix.toLower() + QStringLiteral("sum") + twoDigits(m),
                      monthTotal(plan.value(cat.monthTotalField(m)))});
    }
    for (int m = 1; m <= 12; ++m)
        v.append({QStringLiteral("eksum") + twoDigits(m), money(plan.value(QStringLiteral("Sum") + twoDigits(m)))});
    return v;
}

} // namespace PlanPrintValues
