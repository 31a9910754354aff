#include "garnish/rules/Garnishment.h"

#include "data/DataSet.h"
#include "data/Database.h"

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

namespace {

// Empties the table and appends the rows through the table query, as the window shows them.
void replaceRows(const QVector<GarnishmentRow> &rows, DataSet &qrPfaendung, DataSet &tbPfaendung,
                 const std::function<void(int, int)> &progress)
{
    qrPfaendung.close();
    if (!tbPfaendung.isOpen())
        tbPfaendung.open();
    tbPfaendung.emptyTable();
    tbPfaendung.close();
    qrPfaendung.open();
    int columns[8];
    columns[0] = qrPfaendung.fieldIndex(QStringLiteral("NettoVon"));
    columns[1] = qrPfaendung.fieldIndex(QStringLiteral("NettoBis"));
    for (int k = 0; k <= 5; ++k)
        columns[k + 2] = qrPfaendung.fieldIndex(QStringLiteral("Pfand%1").arg(k));
    const int total = static_cast<int>(rows.size());
    for (int i = 0; i < total; ++i) {
        const GarnishmentRow &r = rows.at(i);
        qrPfaendung.append();
        qrPfaendung.setValue(columns[0], r.nettoVon.toDouble());
        qrPfaendung.setValue(columns[1], r.nettoBis.toDouble());
        for (int k = 0; k <= 5; ++k)
            qrPfaendung.setValue(columns[k + 2], r.pfand[k].toDouble());
        qrPfaendung.post();
        if (progress)
            progress(i + 1, total);
    }
}

} // namespace

void BuildGarnishmentTable(DataSet &qrPfand, DataSet &qrPfaendung, DataSet &tbPfaendung,
                           const std::function<void(int, int)> &progress)
{
    const QVector<GarnishmentRow> rows = GarnishmentGrid::rows(garnishmentBaseOf(qrPfand));
    try {
        // One SQL transaction for the emptying and every row; each row's own write scope
        // takes part in it. On a failure the query is closed below instead of being unwound
        // row by row, so no undo steps pile up meanwhile.
        qrPfaendung.database()->transaction([&] { replaceRows(rows, qrPfaendung, tbPfaendung, progress); });
    } catch (...) {
        // The file is back as it was; the query must not show rows it no longer holds.
        qrPfaendung.close();
        tbPfaendung.close();
        throw;
    }
}

GarnishmentLimits garnishmentLimits(const DataSet &qrPfaendung)
{
    GarnishmentLimits limits;
    if (!qrPfaendung.isOpen() || qrPfaendung.isEmpty())
        return limits;
    const int bis = qrPfaendung.fieldIndex(QStringLiteral("NettoBis"));
    limits.known = true;
    limits.lower = Money::fromDouble(qrPfaendung.valueAt(0, bis).toDouble()) + Money::fromCents(1);
    limits.upper = Money::fromDouble(qrPfaendung.valueAt(qrPfaendung.recordCount() - 1, bis).toDouble());
    return limits;
}

bool garnishmentTableMatchesBase(const Database &db)
{
    QStringList columns = GarnishmentBase::columns();
    QSqlQuery base = db.exec(QStringLiteral("select %1 from Pfand order by Pfand_id").arg(columns.join(QStringLiteral(", "))));
    if (!base.next())
        return true;
    GarnishmentBase values;
    for (int i = 0; i < columns.size(); ++i)
        *values.value(columns.at(i)) = Money::fromDouble(base.value(i).toDouble());

    QVector<GarnishmentRow> stored;
    QSqlQuery rows = db.exec(QStringLiteral("select NettoVon, NettoBis, Pfand0, Pfand1, Pfand2, Pfand3, Pfand4, Pfand5 "
                                            "from pfaendung order by Pfand_id"));
    while (rows.next()) {
        GarnishmentRow r;
        r.nettoVon = Money::fromDouble(rows.value(0).toDouble());
        r.nettoBis = Money::fromDouble(rows.value(1).toDouble());
        for (int k = 0; k <= 5; ++k)
            r.pfand[k] = Money::fromDouble(rows.value(k + 2).toDouble());
        stored.append(r);
    }
    if (stored.isEmpty())
        return true;
    // Values that cannot be generated from cannot have made this table either.
    if (!GarnishmentGrid::refusal(values).isEmpty() || GarnishmentGrid::rowCount(values) != stored.size())
        return false;
    return GarnishmentGrid::rows(values) == stored;
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

Money amountOutsideTable(DataSet &qrPfaendung, Money net, const std::function<int()> &dependants)
{
    const GarnishmentLimits limits = garnishmentLimits(qrPfaendung);
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

GarnishmentResult GarnishableAmount(DataSet &qrPfaendung, Money net, int dependants)
{
    GarnishmentResult result;
    const int row = findGarnishmentRow(qrPfaendung, net);
    if (row < 0) {
        result.amount = amountOutsideTable(qrPfaendung, net, [dependants] { return dependants; });
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
        GarnishableAmount(qrPfaendung, Money::fromDouble(net.toDouble()), qrBudget.value(QStringLiteral("Bud_Personen")).toInt());
    if (!r.amount)
        return {};
    qrBudget.edit();
    qrBudget.setMoney(QStringLiteral("Pfand"), *r.amount);
    qrBudget.post();
    return {};
}
