#include "core/GarnishmentGrid.h"

#include "core/AppError.h"
#include "core/GermanFormat.h"

namespace {

const QString Unchanged = QStringLiteral("\rDie Pfändungstabelle wurde nicht verändert.");

QString quoted(const QString &column)
{
    return QStringLiteral("„%1“").arg(GarnishmentGrid::displayName(column));
}

QString money(Money m)
{
    return GermanFormat::currency(m);
}

} // namespace

const QStringList &GarnishmentBase::columns()
{
    static const QStringList names = [] {
        QStringList n = {QStringLiteral("Nettovonbeginn"), QStringLiteral("Nettobisbeginn"),
                         QStringLiteral("Nettovonende"),   QStringLiteral("Nettobisende"),
                         QStringLiteral("Nettovonintervall"), QStringLiteral("Nettobisintervall")};
        for (int k = 0; k <= 5; ++k)
            n << QStringLiteral("Pfand%1Netto").arg(k) << QStringLiteral("Pfand%1beginn").arg(k)
              << QStringLiteral("Pfand%1intervall").arg(k);
        return n;
    }();
    return names;
}

Money *GarnishmentBase::value(const QString &column)
{
    const QString c = column.toLower();
    if (c == u"nettovonbeginn") return &vonBeginn;
    if (c == u"nettovonende") return &vonEnde;
    if (c == u"nettovonintervall") return &vonIntervall;
    if (c == u"nettobisbeginn") return &bisBeginn;
    if (c == u"nettobisende") return &bisEnde;
    if (c == u"nettobisintervall") return &bisIntervall;
    if (c.size() >= 7 && c.startsWith(u"pfand") && c.at(5) >= u'0' && c.at(5) <= u'5') {
        const int k = c.at(5).digitValue();
        const QStringView rest = QStringView(c).mid(6);
        if (rest == u"netto") return &netto[k];
        if (rest == u"beginn") return &beginn[k];
        if (rest == u"intervall") return &intervall[k];
    }
    return nullptr;
}

Money GarnishmentBase::valueOf(const QString &column) const
{
    const Money *m = const_cast<GarnishmentBase *>(this)->value(column);
    return m ? *m : Money();
}

namespace GarnishmentGrid {

QString displayName(const QString &column)
{
    const QString c = column.toLower();
    auto netto = [](const char *side, const char *what) {
        return QStringLiteral("Netto %1 – %2").arg(QLatin1String(side), QString::fromUtf8(what));
    };
    if (c == u"nettovonbeginn") return netto("von", "Anfangswert");
    if (c == u"nettovonende") return netto("von", "Schlusswert");
    if (c == u"nettovonintervall") return netto("von", "Intervall");
    if (c == u"nettobisbeginn") return netto("bis", "Anfangswert");
    if (c == u"nettobisende") return netto("bis", "Schlusswert");
    if (c == u"nettobisintervall") return netto("bis", "Intervall");
    if (c.size() >= 7 && c.startsWith(u"pfand")) {
        const QStringView rest = QStringView(c).mid(6);
        const QString what = rest == u"netto"    ? QStringLiteral("Pfändungsbeginn")
                             : rest == u"beginn" ? QStringLiteral("Kleinster Betrag")
                                                 : QStringLiteral("Intervallschritt");
        return QStringLiteral("Pfand %1 – %2").arg(c.at(5), what);
    }
    return column;
}

QString refusal(const GarnishmentBase &base)
{
    for (const QString &column : GarnishmentBase::columns()) {
        const Money v = base.valueOf(column);
        if (v < Money())
            return QStringLiteral("Der Wert %1 darf nicht negativ sein (%2).").arg(quoted(column), money(v)) + Unchanged;
        if (v > MaxValue)
            return QStringLiteral("Der Wert %1 ist zu groß (%2; höchstens %3).").arg(quoted(column), money(v), money(MaxValue)) +
                   Unchanged;
    }
    const QString ende = QStringLiteral("Nettovonende");
    const QString beginn = QStringLiteral("Nettovonbeginn");
    const QString intervall = QStringLiteral("Nettovonintervall");
    // The generation stops at the row whose "Netto von" equals the end value exactly:
    // the first row (0,00), the second (the start value), or one a whole number of steps on.
    if (base.vonEnde.isZero() || base.vonEnde == base.vonBeginn)
        return {};
    if (base.vonEnde < base.vonBeginn)
        return QStringLiteral("Der %1 (%2) liegt unter dem %3 (%4); die Tabelle würde ihn nie erreichen.")
                   .arg(quoted(ende), money(base.vonEnde), quoted(beginn), money(base.vonBeginn)) +
               Unchanged;
    if (base.vonIntervall.isZero())
        return QStringLiteral("Das %1 muss größer als %2 sein; sonst erreicht die Tabelle den %3 nie.")
                   .arg(quoted(intervall), money(Money()), quoted(ende)) +
               Unchanged;
    const qint64 span = (base.vonEnde - base.vonBeginn).raw();
    const qint64 step = base.vonIntervall.raw();
    if (span % step != 0) {
        const Money below = base.vonBeginn + Money::fromRaw(span / step * step);
        return QStringLiteral("Der %1 (%2) wird vom %3 (%4) in Schritten von %5 nicht genau erreicht.\r"
                              "Passende Schlusswerte wären zum Beispiel %6 oder %7.")
                   .arg(quoted(ende), money(base.vonEnde), quoted(beginn), money(base.vonBeginn),
                        money(base.vonIntervall), money(below), money(below + base.vonIntervall)) +
               Unchanged;
    }
    if (span / step + 2 > MaxRows)
        return QStringLiteral("Mit diesen Werten entstünden %1 Tabellenzeilen, möglich sind höchstens %2.\r"
                              "Prüfen Sie den %3 und das %4.")
                   .arg(GermanFormat::number(double(span / step + 2), 0), GermanFormat::number(MaxRows, 0),
                        quoted(ende), quoted(intervall)) +
               Unchanged;
    return {};
}

int rowCount(const GarnishmentBase &base)
{
    if (base.vonEnde.isZero())
        return 1;
    if (base.vonEnde == base.vonBeginn)
        return 2;
    return static_cast<int>((base.vonEnde - base.vonBeginn).raw() / base.vonIntervall.raw()) + 2;
}

QVector<GarnishmentRow> rows(const GarnishmentBase &base)
{
    if (const QString why = refusal(base); !why.isEmpty())
        throw UserWarning(why);
    const int count = rowCount(base);
    QVector<GarnishmentRow> out;
    out.reserve(count);
    GarnishmentRow r;
    for (int n = 0; n < count; ++n) {
        if (n == 0) {
            r.nettoVon = Money();
            r.nettoBis = base.bisBeginn;
        } else if (n == 1) {
            r.nettoVon = base.vonBeginn;
            r.nettoBis += base.bisIntervall;
            r.pfand[0] = base.vonBeginn == base.netto[0] ? base.beginn[0] : Money();
        } else {
            r.nettoVon += base.vonIntervall;
            r.nettoBis += base.bisIntervall;
            // Column 0 grows from the row that reaches its start; the other columns take
            // their smallest amount in the row that meets their start exactly.
            if (r.nettoVon >= base.netto[0])
                r.pfand[0] += base.intervall[0];
            for (int k = 1; k <= 5; ++k) {
                if (r.nettoVon == base.netto[k])
                    r.pfand[k] = base.beginn[k];
                if (r.nettoVon > base.netto[k])
                    r.pfand[k] += base.intervall[k];
            }
        }
        out.append(r);
    }
    out.last().nettoBis = base.bisEnde;
    return out;
}

} // namespace GarnishmentGrid
