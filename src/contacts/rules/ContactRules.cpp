#include "contacts/rules/ContactRules.h"

#include "core/SqlText.h"
#include "data/DataSet.h"
#include "data/Database.h"

#include <QDate>

namespace ContactRules {

void newContact(DataSet &qrKontakte)
{
    qrKontakte.setValue(QStringLiteral("Erfdat"), QDate::currentDate());
}

QString learnQuestion(const QString &plz, const QString &ort)
{
    return plz + u' ' + ort + QStringLiteral(" nicht vorhanden!") + u'\r' + QStringLiteral("Aufnehmen?");
}

void learnPostcode(const QString &plz, const QString &ort, DataSet &qrPlzOrt,
                   const std::function<bool(const QString &)> &ask)
{
    if (!qrPlzOrt.isOpen())
        qrPlzOrt.open();
    // A missing postcode and an empty one are the same to the user: neither was typed.
    const int plzIndex = qrPlzOrt.fieldIndex(QStringLiteral("Plz"));
    for (int row = 0; row < qrPlzOrt.recordCount(); ++row)
        if (qrPlzOrt.valueAt(row, plzIndex).toString() == plz)
            return;
    if (!ask(learnQuestion(plz, ort)))
        return;
    qrPlzOrt.append();
    qrPlzOrt.setValue(QStringLiteral("Plz"), plz);
    qrPlzOrt.setValue(QStringLiteral("Ort"), ort);
    qrPlzOrt.post();
    qrPlzOrt.reopen();
}

QString searchSql(int filter, bool anyValue)
{
    static const QString columns = QStringLiteral(
        "select adr_id,suna,name1,name2,name3,plz,ort,strasse,telefon,telefax,mobil from Adressen ");
    struct Choice
    {
        const char *column, *order;
    };
    static const Choice choices[] = {{"suna", "suna"}, {"name1", "suna"}, {"name2", "suna"},
                                     {"plz", "plz,ort,suna"}, {"ort", "ort,suna"}};
    const Choice &c = choices[filter >= ByName1 && filter <= ByTown ? filter : BySearchName];
    const QString where = anyValue ? QStringLiteral("where %1 is not null").arg(QLatin1String(c.column))
                                   : QStringLiteral("where lower(%1) like :muster").arg(QLatin1String(c.column));
    return columns + where + QStringLiteral(" order by ") + QLatin1String(c.order);
}

QString searchPattern(const QString &typed)
{
    return SqlText::lowerAscii(typed) + u'%';
}

int search(DataSet &qrKontWahl, int filter, const QString &typed)
{
    // The typed text is bound, never spliced into the SQL: a quote in a name stays a quote.
    qrKontWahl.close();
    const bool anyValue = typed.isEmpty();
    if (!anyValue)
        qrKontWahl.setParam(QStringLiteral("muster"), searchPattern(typed));
    const QString sql = searchSql(filter, anyValue);
    qrKontWahl.replaceSql(sql);
    if (qrKontWahl.allFetched())
        return qrKontWahl.recordCount();
    // The list reads its rows as they are scrolled to; the count need not read them all.
    QVariantMap params;
    if (!anyValue)
        params.insert(QStringLiteral("muster"), qrKontWahl.param(QStringLiteral("muster")));
    return qrKontWahl.database()->scalar(QStringLiteral("select count(*) from (%1) listed").arg(sql), params).toInt();
}

QString hitCountText(int hits)
{
    return QStringLiteral("  %1 Kontakt(e)").arg(hits);
}

} // namespace ContactRules
