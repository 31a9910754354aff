#include "garnish/rules/Garnishment.h"

#include "data/DataSet.h"
#include "data/Database.h"
#include "data/WriteTransaction.h"

#include <QSqlQuery>

bool GarnishmentTableExists(DataSet &qrPfaendung)
{
    qrPfaendung.reopen();
    const bool exists = !qrPfaendung.isEmpty();
    qrPfaendung.close();
    return exists;
}

GarnishmentBase garnishmentBaseOf(DataSet &qrPfand)
{
    GarnishmentBase base;
    if (!qrPfand.isOpen())
        qrPfand.open();
    qrPfand.flushEditors();
    if (qrPfand.isEmpty())
        return base;
    for (const QString &column : GarnishmentBase::columns())
        *base.value(column) = qrPfand.asMoney(column);
    return base;
}

void BuildGarnishmentTable(DataSet &qrPfand, DataSet &qrPfaendung, DataSet &tbPfaendung,
                           const std::function<void(int, int)> &progress)
{
    const QVector<GarnishmentRow> rows = GarnishmentGrid::rows(garnishmentBaseOf(qrPfand));
    const int total = static_cast<int>(rows.size());
    static const QString von = QStringLiteral("NettoVon"), bis = QStringLiteral("NettoBis");
    static const QString pfand[6] = {QStringLiteral("Pfand0"), QStringLiteral("Pfand1"), QStringLiteral("Pfand2"),
                                     QStringLiteral("Pfand3"), QStringLiteral("Pfand4"), QStringLiteral("Pfand5")};
    try {
        WriteTransaction tx(*qrPfaendung.database());
        qrPfaendung.close();
        if (!tbPfaendung.isOpen())
            tbPfaendung.open();
        tbPfaendung.emptyTable();
        tbPfaendung.close();
        qrPfaendung.open();
        for (int i = 0; i < total; ++i) {
            const GarnishmentRow &r = rows.at(i);
            qrPfaendung.append();
            qrPfaendung.setMoney(von, r.nettoVon);
            qrPfaendung.setMoney(bis, r.nettoBis);
            for (int k = 0; k <= 5; ++k)
                qrPfaendung.setMoney(pfand[k], r.pfand[k]);
            qrPfaendung.post();
            if (progress)
                progress(i + 1, total);
        }
        tx.commit();
    } catch (...) {
        // The file is back as it was; the query must not show rows it no longer holds.
        qrPfaendung.close();
        tbPfaendung.close();
        throw;
    }
}

GarnishmentLimits garnishmentLimits(const Database &db)
{
    GarnishmentLimits limits;
    QSqlQuery q = db.exec(QStringLiteral("select Nettovonbeginn, Nettobisende from Pfand order by Pfand_id"));
    if (q.next()) {
        limits.known = true;
        limits.lower = Money::fromDouble(q.value(0).toDouble());
        limits.upper = Money::fromDouble(q.value(1).toDouble());
    }
    return limits;
}

QString garnishmentColumn(int dependants)
{
    if (dependants < 0)
        return {};
    return QStringLiteral("Pfand%1").arg(std::min(dependants, 5));
}

int findGarnishmentRow(DataSet &qrPfaendung, Money net)
{
    const int count = qrPfaendung.recordCount();
    const int von = qrPfaendung.fieldIndex(QStringLiteral("NettoVon"));
    const int bis = qrPfaendung.fieldIndex(QStringLiteral("NettoBis"));
    int found = -1;
    for (int row = 0; row < count; ++row) {
        if (Money::fromDouble(qrPfaendung.valueAt(row, von).toDouble()) <= net &&
            net <= Money::fromDouble(qrPfaendung.valueAt(row, bis).toDouble()))
            found = row;
    }
    return found;
}

Money amountOutsideTable(DataSet &qrPfaendung, const GarnishmentLimits &limits, Money net,
                         const std::function<int()> &dependants)
{
    const int count = qrPfaendung.recordCount();
    if (limits.known && net < limits.lower) {
        if (count > 0)
            qrPfaendung.first();
        return Money();
    }
    if (count > 0)
        qrPfaendung.last();
    if (!limits.known || net <= limits.upper)
        return Money();
    const QString column = garnishmentColumn(dependants());
    if (column.isEmpty())
        return Money();
    const Money last = count > 0 ? Money::fromDouble(qrPfaendung.value(column).toDouble()) : Money();
    return last + (net - (limits.upper + Money::fromCents(1)));
}

GarnishmentResult GarnishableAmount(DataSet &qrPfaendung, const GarnishmentLimits &limits, Money net, int dependants)
{
    GarnishmentResult result;
    const int row = findGarnishmentRow(qrPfaendung, net);
    if (row < 0) {
        result.amount = amountOutsideTable(qrPfaendung, limits, net, [dependants] { return dependants; });
        return result;
    }
    qrPfaendung.moveTo(row);
    result.found = true;
    const QString column = garnishmentColumn(dependants);
    if (!column.isEmpty())
        result.amount = Money::fromDouble(qrPfaendung.value(column).toDouble());
    return result;
}

QString UpdateBudgetPfand(DataSet &qrBudget, DataSet &qrPfaendung)
{
    qrPfaendung.reopen();
    qrBudget.post();
    const QVariant net = qrBudget.isEmpty() ? QVariant() : qrBudget.value(QStringLiteral("PfandNetto"));
    if (net.isNull() || Money::fromDouble(net.toDouble()).isZero())
        return NoNetIncomeMessage;
    const GarnishmentResult r =
        GarnishableAmount(qrPfaendung, garnishmentLimits(*qrPfaendung.database()), Money::fromDouble(net.toDouble()),
                          qrBudget.value(QStringLiteral("Bud_Personen")).toInt());
    if (!r.amount)
        return {};
    qrBudget.edit();
    qrBudget.setMoney(QStringLiteral("Pfand"), *r.amount);
    qrBudget.post();
    return {};
}
