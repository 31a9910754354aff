#include "budget/rules/BudgetRules.h"

#include "budget/rules/BudgetCategory.h"
#include "budget/rules/Spreading.h"
#include "core/AppError.h"
#include "core/DateUtil.h"
#include "core/Money.h"
#include "data/DataSet.h"
#include "data/Database.h"
#include "data/TdmHh.h"

#include <array>

namespace BudgetRules {

namespace {

Money money(const QVariant &v)
{
    return v.isNull() ? Money() : Money::fromDouble(v.toDouble());
}

double number(const QVariant &v)
{
    return v.isNull() ? 0.0 : v.toDouble();
}

} // namespace

void declareCalculatedFields(TdmHh &hh)
{
    for (const char *f : {"Zwisu", "MaxKredit", "MaxHaus", "Defizit"})
        hh.qrBudget->addCalculatedField(QLatin1String(f), FieldType::Money);
    for (int m = 1; m <= 12; ++m)
        hh.qrBudget->addCalculatedField(QStringLiteral("Sum%1").arg(m, 2, 10, QChar(u'0')), FieldType::Money);
    for (const BudgetCategory &c : BudgetCategories::all())
        hh.qrBudget->addCalculatedField(c.shareField, FieldType::Float);
    for (const BudgetCategory &c : BudgetCategories::all()) {
        DataSet *items = c.query(hh);
        items->addCalculatedField(QStringLiteral("Monat"), FieldType::Money);
        for (int m = 1; m <= 12; ++m)
            items->addCalculatedField(BudgetCategories::itemMonthField(m), FieldType::Money);
    }
}

void newPlan(DataSet &plan, const DataSet &aktUser)
{
    plan.setValue(QStringLiteral("User_id"), aktUser.isOpen() && !aktUser.isEmpty()
                                                 ? aktUser.value(QStringLiteral("Ben_id"))
                                                 : QVariant());
}

void planEdited(DataSet &plan)
{
    plan.setValue(QStringLiteral("Bud_aend"), DateUtil::today());
}

void newItem(DataSet &item, const DataSet &plan)
{
    if (!plan.isOpen() || plan.isEmpty())
        throw UserWarning(NoPlanWarning);
    item.setValue(QStringLiteral("Bud_id"), plan.value(QStringLiteral("Bud_id")));
}

void spreadItem(DataSet &item, const BudgetCategory &c)
{
    const Spreading::Result r = Spreading::spread(item.value(c.amountField), item.asString(c.monthField),
                                                  item.asString(c.rhythmField));
    if (r.monthly)
        item.setValue(QStringLiteral("Monat"), *r.monthly);
    for (int m = 0; m < 12; ++m)
        if (r.months[m])
            item.setValue(BudgetCategories::itemMonthField(m + 1), *r.months[m]);
}

void rollup(DataSet &items, DataSet &plan, const BudgetCategory &c)
{
    Money total;
    std::array<Money, 12> months{};
    const int monat = items.fieldIndex(QStringLiteral("Monat"));
    const int mo01 = items.fieldIndex(BudgetCategories::itemMonthField(1));
    // Read without moving: every step of the cursor would redraw the bound list and controls.
    const int rows = items.recordCount();
    for (int r = 0; r < rows; ++r) {
        total += money(items.valueAt(r, monat));
        for (int m = 0; m < 12; ++m)
            months[m] += money(items.valueAt(r, mo01 + m));
    }
    items.last();   // the walk of old ended there, and so does this one
    if (!plan.isOpen() || plan.isEmpty())
        return;
    plan.edit();
    plan.setMoney(c.totalField, total);
    for (int m = 0; m < 12; ++m)
        plan.setMoney(c.monthTotalField(m + 1), months[m]);
    plan.setValue(QStringLiteral("Bud_aend"), DateUtil::today());
    plan.post();
}

void planTotals(DataSet &plan)
{
    auto sum = [&plan](const QString &prefix) { return money(plan.value(QStringLiteral("Sum_") + prefix)); };
    const Money e = sum(QStringLiteral("Ek")), w = sum(QStringLiteral("Wk")), s = sum(QStringLiteral("Vs")),
                v = sum(QStringLiteral("Vk")), a = sum(QStringLiteral("Ak")), l = sum(QStringLiteral("Lk")),
                k = sum(QStringLiteral("Sk")), h = sum(QStringLiteral("Hk"));

    for (const BudgetCategory &c : BudgetCategories::all()) {
        const Money part = sum(c.prefix);
        plan.setValue(c.shareField, e > Money() ? part.toDouble() * 100.0 / e.toDouble() : 0.0);
    }
    const Money zwisu = e - w - v - a - s;
    const Money maxKredit = zwisu - l;
    const Money maxHaus = maxKredit - k;
    const Money defizit = maxHaus - h;
    plan.setMoney(QStringLiteral("Zwisu"), zwisu);
    plan.setMoney(QStringLiteral("MaxKredit"), maxKredit);
    plan.setMoney(QStringLiteral("MaxHaus"), maxHaus);
    plan.setMoney(QStringLiteral("Defizit"), defizit);

    const QVector<BudgetCategory> &cats = BudgetCategories::all();
    for (int m = 1; m <= 12; ++m) {
        double net = number(plan.value(cats.first().monthTotalField(m)));
        for (qsizetype i = 1; i < cats.size(); ++i)
            net -= number(plan.value(cats.at(i).monthTotalField(m)));
        plan.setValue(QStringLiteral("Sum%1").arg(m, 2, 10, QChar(u'0')), net);
    }
}

QString deleteRefusal(const TdmHh &hh)
{
    // The stored items count, whether or not their lists are open.
    const QVariant plan = hh.qrBudget->value(QStringLiteral("Bud_id"));
    for (const BudgetCategory *c : BudgetCategories::deleteCheckOrder()) {
        const int items = hh.qrBudget->database()
                              ->scalar(QStringLiteral("select count(*) from %1 where bud_id = :id").arg(c->table),
                                       {{QStringLiteral("id"), plan}})
                              .toInt();
        if (items > 0)
            return QStringLiteral("Haushaltsplan kann nicht gelöscht werden.\rEs sind noch Datensätze <%1> vorhanden.")
                .arg(c->refusalWord);
    }
    return QString();
}

} // namespace BudgetRules
