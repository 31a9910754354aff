#pragma once

#include <QString>
#include <QVector>

class DataSet;
class TdmHh;

// One of the eight categories of a budget plan, with the names of its columns and of the
// plan fields it feeds.
struct BudgetCategory
{
    QString prefix;            // "Ek"
    QString table;             // "bud_einkommen"
    QString name;              // "Einkommen"
    QString refusalWord;       // "EINKOMMEN", in the plan-delete refusal
    QString keyField;          // "Ek_id"
    QString descriptionField;  // "Ek_bez"
    QString amountField;       // "Ek_Betrag"
    QString remainingDebtField; // "Sk_Valuta"; empty for the six others
    QString monthField;        // "Ek_monat"
    QString rhythmField;       // "Ek_zahlung"
    QString totalField;        // "Sum_Ek"
    QString monthTotalPrefix;  // "Eksum" + 01…12
    QString shareField;        // "Pro_EK"

    QString monthTotalField(int month) const;   // "Eksum03"
    DataSet *query(const TdmHh &hh) const;
};

namespace BudgetCategories {

// In the order of their tables: Ek, Wk, Vs, Vk, Ak, Lk, Sk, Hk.
const QVector<BudgetCategory> &all();
const BudgetCategory &byPrefix(const QString &prefix);
// The order in which a plan's items are checked before the plan may be deleted.
QVector<const BudgetCategory *> deleteCheckOrder();

// "Mo01" … "Mo12", the calculated month fields of every item.
QString itemMonthField(int month);

} // namespace BudgetCategories
