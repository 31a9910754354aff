#pragma once

#include "support/TempDatabase.h"

#include "core/GarnishmentGrid.h"
#include "data/DataModules.h"

#include <QSqlQuery>

// A real database with its data modules, and the base values of the small table that
// serves as the worked example: four rows from 0,00 to 1.020,06.
struct GarnishFixture
{
    TempDatabase tmp;
    DataModules dm;

    GarnishFixture() { tmp.openIn(dm.db); }

    TdmExtras &ex() { return *dm.dmExtras; }

    static GarnishmentBase example()
    {
        GarnishmentBase b;
        b.vonBeginn = Money::fromCents(99000);
        b.vonEnde = Money::fromCents(101000);
        b.vonIntervall = Money::fromCents(1000);
        b.bisBeginn = Money::fromCents(98999);
        b.bisEnde = Money::fromCents(102006);
        b.bisIntervall = Money::fromCents(1000);
        b.netto = {Money::fromCents(99000), Money::fromCents(100000), Money::fromCents(500000),
                   Money::fromCents(500000), Money::fromCents(500000), Money::fromCents(500000)};
        b.beginn = {Money::fromCents(340), Money::fromCents(100), Money::fromCents(50),
                    Money::fromCents(50), Money::fromCents(50), Money::fromCents(50)};
        b.intervall = {Money::fromCents(700), Money::fromCents(200), Money::fromCents(100),
                       Money::fromCents(100), Money::fromCents(100), Money::fromCents(100)};
        return b;
    }

    // Puts the values into the row of `qrPfand` as the window would, without storing them.
    void typeBase(const GarnishmentBase &b)
    {
        DataSet *q = ex().qrPfand;
        q->reopen();
        q->edit();
        for (const QString &c : GarnishmentBase::columns())
            q->setMoney(c, b.valueOf(c));
    }

    QVector<GarnishmentRow> storedRows()
    {
        QVector<GarnishmentRow> out;
        QSqlQuery q = dm.db.exec(QStringLiteral("select NettoVon, NettoBis, Pfand0, Pfand1, Pfand2, Pfand3, Pfand4, "
                                                "Pfand5 from pfaendung order by Pfand_id"));
        while (q.next()) {
            GarnishmentRow r;
            r.nettoVon = Money::fromDouble(q.value(0).toDouble());
            r.nettoBis = Money::fromDouble(q.value(1).toDouble());
            for (int k = 0; k <= 5; ++k)
                r.pfand[k] = Money::fromDouble(q.value(k + 2).toDouble());
            out << r;
        }
        return out;
    }
};

inline Money eur(double v)
{
    return Money::fromDouble(v);
}
