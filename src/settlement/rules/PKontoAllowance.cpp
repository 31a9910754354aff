#include "settlement/rules/PKontoAllowance.h"

#include "core/AppError.h"
#include "data/Database.h"

#include <QSqlQuery>
#include <QVariant>

namespace PKontoAllowance {

namespace {

// Rows ordered by their date, latest first: the first that applies by `day`, else the last.
template <typename Take>
bool pick(QSqlQuery &q, const QDate &day, Take take)
{
    bool any = false;
    while (q.next()) {
        take(q);
        any = true;
        const QDate stand = q.value(0).toDate();
        if (!stand.isValid() || stand <= day)
            return true;
    }
    return any;
}

} // namespace

Money freeAmountOf(Money firstRowEnd, Money step, Money firstAmount, Money amountStep)
{
    // The first row ends just below the first step that is garnished. Within that step the
    // first amount is the garnished share of what lies above the free amount, so the free
    // amount lies that many euros below the step: 1,82 € at 7,00 € per 10 € is 2,60 €.
    const Money firstGarnished = roundUpToTen(firstRowEnd);
    if (step <= Money() || amountStep <= Money() || firstAmount <= Money() || firstAmount > amountStep)
        return firstRowEnd;
    const qint64 above = static_cast<qint64>(static_cast<double>(firstAmount.raw()) * static_cast<double>(step.raw())
                                             / static_cast<double>(amountStep.raw()) + 0.5);
    const Money free = firstGarnished - Money::fromRaw(above);
    // Whole cents, so a rounding of the table's amounts does not reach the next ten.
    constexpr qint64 cent = Money::Scale / 100;
    return Money::fromRaw((free.raw() + cent / 2) / cent * cent);
}

Base baseInForce(const Database &db, const QDate &day)
{
    Base b;
    QSqlQuery pfand = db.exec(QStringLiteral("select Stand, Nettobisbeginn, Nettovonintervall, Pfand0beginn, Pfand0intervall "
                                             "from Pfand order by Stand desc"));
    const bool hasPfand = pick(pfand, day, [&b](const QSqlQuery &q) {
        auto m = [&q](int i) { return Money::fromDouble(q.value(i).toDouble()); };
        b.garnishmentStand = q.value(0).toDate();
        b.freeAmount = freeAmountOf(m(1), m(2), m(3), m(4));
    });
    if (!hasPfand || b.freeAmount <= Money())
        throw UserWarning(QStringLiteral("Die Grundwerte der Pfändungstabelle enthalten keinen Freibetrag "
                                         "(„Netto bis – Anfangswert“).\rBitte tragen Sie die Grundwerte auf der "
                                         "Seite Pfändung ein."));
    QSqlQuery inc = db.exec(QStringLiteral("select Stand, Erhoehung1, Erhoehung2 from pkontobasis order by Stand desc"));
    const bool hasIncrease = pick(inc, day, [&b](const QSqlQuery &q) {
        b.stand = q.value(0).toDate();
        b.increaseFirst = Money::fromDouble(q.value(1).toDouble());
        b.increaseFurther = Money::fromDouble(q.value(2).toDouble());
    });
    if (!hasIncrease)
        throw UserWarning(QStringLiteral("Für das P-Konto sind keine Erhöhungsbeträge für unterhaltene Personen "
                                         "hinterlegt."));
    return b;
}

void ensureSeeded(const Database &db)
{
    if (db.scalar(QStringLiteral("select count(*) from pkontobasis")).toInt() > 0)
        return;
    db.exec(QStringLiteral("insert into pkontobasis (Stand, Erhoehung1, Erhoehung2) values (:stand, :e1, :e2)"),
            {{QStringLiteral("stand"), Stand2026},
             {QStringLiteral("e1"), Money::fromCents(59742).toDouble()},
             {QStringLiteral("e2"), Money::fromCents(33283).toDouble()}});
}

Money roundUpToTen(Money amount)
{
    constexpr qint64 ten = Money::Scale * 10;
    const qint64 raw = amount.raw();
    if (raw <= 0)
        return Money();
    return Money::fromRaw((raw + ten - 1) / ten * ten);
}

Amounts allowance(const Base &base, int persons, Money childBenefit, Money otherPayments, Money oneOff)
{
    if (persons < 0)
        throw UserWarning(QStringLiteral("Die Zahl der unterhaltenen Personen darf nicht negativ sein."));
    if (childBenefit < Money() || otherPayments < Money() || oneOff < Money())
        throw UserWarning(QStringLiteral("Geschützte Leistungen dürfen nicht negativ sein."));
    Amounts a;
    a.basic = roundUpToTen(base.freeAmount);
    a.persons = std::min(persons, MaxPersons);
    if (a.persons >= 1)
        a.increaseFirst = base.increaseFirst;
    a.furtherPersons = std::max(0, a.persons - 1);
    a.increaseFurther = base.increaseFurther * a.furtherPersons;
    a.childBenefit = childBenefit;
    a.otherPayments = otherPayments;
    a.monthly = a.basic + a.increaseFirst + a.increaseFurther + a.childBenefit + a.otherPayments;
    a.oneOff = oneOff;
    return a;
}

} // namespace PKontoAllowance
