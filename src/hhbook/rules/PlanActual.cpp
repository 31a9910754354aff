#include "hhbook/rules/PlanActual.h"

#include "core/GermanCollation.h"
#include "core/GermanFormat.h"
#include "data/Database.h"
#include "data/WriteTransaction.h"
#include "hhbook/rules/HhbookVocabulary.h"

#include <QDate>
#include <QSqlQuery>

#include <algorithm>
#include <numeric>

namespace PlanActual {

const QVector<PlanCategory> &planCategories()
{
    static const QVector<PlanCategory> all = {
        {QStringLiteral("Ek"), QStringLiteral("Einkommen")},
        {QStringLiteral("Wk"), QStringLiteral("Wohnkosten")},
        {QStringLiteral("Vs"), QStringLiteral("Versicherungen")},
        {QStringLiteral("Vk"), QStringLiteral("Verkehrskosten")},
        {QStringLiteral("Ak"), QStringLiteral("Allgemeine Kosten")},
        {QStringLiteral("Lk"), QStringLiteral("Lebenshaltung")},
        {QStringLiteral("Sk"), QStringLiteral("Sonstige Kredite")},
        {QStringLiteral("Hk"), QStringLiteral("Hauskredite")},
    };
    return all;
}

int Mapping::planCategory(const QString &rubrik) const
{
    const auto it = m_explicit.constFind(rubrik);
    if (it != m_explicit.cend())
        return *it;
    // the book's words stand in the order of the plan's categories
    return HhbookVocabulary::categoryIndex(rubrik);
}

void Mapping::set(const QString &rubrik, int planCategory)
{
    if (rubrik.isEmpty())
        return;
    if (planCategory < -1 || planCategory >= planCategories().size())
        planCategory = -1;
    if (planCategory == HhbookVocabulary::categoryIndex(rubrik))
        m_explicit.remove(rubrik);
    else
        m_explicit.insert(rubrik, planCategory);
}

QStringList Mapping::rubriks() const
{
    QStringList out = HhbookVocabulary::categoryWords();
    QStringList others;
    for (auto it = m_explicit.cbegin(); it != m_explicit.cend(); ++it)
        if (!out.contains(it.key()))
            others << it.key();
    std::sort(others.begin(), others.end(), GermanCollation::lessThan);
    return out + others;
}

Mapping Mapping::load(const Database &db)
{
    Mapping m;
    QSqlQuery q = db.exec(QStringLiteral("select Rubrik, Kategorie from sollistzuordnung order by Zuordnung_id"));
    while (q.next()) {
        const QString prefix = q.value(1).toString();
        const auto &cats = planCategories();
        const auto it = std::find_if(cats.cbegin(), cats.cend(), [&](const PlanCategory &c) { return c.prefix == prefix; });
        m.set(q.value(0).toString(), it == cats.cend() ? -1 : static_cast<int>(it - cats.cbegin()));
    }
    return m;
}

void Mapping::save(const Database &db) const
{
    WriteTransaction tx(db);
    db.exec(QStringLiteral("delete from sollistzuordnung"));
    for (auto it = m_explicit.cbegin(); it != m_explicit.cend(); ++it)
        db.exec(QStringLiteral("insert into sollistzuordnung (Rubrik, Kategorie) values (:r, :k)"),
                {{QStringLiteral("r"), it.key()},
                 {QStringLiteral("k"), *it >= 0 ? planCategories().at(*it).prefix : QString()}});
    tx.commit();
}

bool exceeds(Money planned, Money actual)
{
    if (actual <= Money())
        return false;
    // exact: actual > planned × 1.1
    return actual.raw() * 10 > planned.raw() * 11;
}

Money Line::plannedYear() const
{
    return std::accumulate(planned.cbegin(), planned.cend(), Money());
}

Money Line::actualYear() const
{
    return std::accumulate(actual.cbegin(), actual.cend(), Money());
}

bool Line::exceeded(int month) const
{
    return category != 0 && exceeds(planned.at(month), actual.at(month));
}

bool Line::exceededYear() const
{
    return category != 0 && exceeds(plannedYear(), actualYear());
}

QString Comparison::actualText() const
{
    QString text = QStringLiteral("Ist: Buchungen bis %1").arg(GermanFormat::shortDate(bookedUpTo));
    if (laterBookings == 1)
        text += QStringLiteral("; 1 spätere Buchung ist nicht gezählt");
    else if (laterBookings > 1)
        text += QStringLiteral("; %1 spätere Buchungen sind nicht gezählt").arg(laterBookings);
    return text + u'.';
}

Comparison compare(const Database &db, int hhplanId, int budId, int year, const Mapping &mapping,
                   const QDate &bookedUpTo)
{
    Comparison c;
    c.year = year;
    c.bookedUpTo = std::min(bookedUpTo, QDate(year, 12, 31));
    const auto &cats = planCategories();
    for (int i = 0; i < cats.size(); ++i)
        c.lines.append(Line{i, {}, {}});

    QStringList columns;
    for (const PlanCategory &cat : cats)
        for (int m = 1; m <= 12; ++m)
            columns << QStringLiteral("%1sum%2").arg(cat.prefix).arg(m, 2, 10, QLatin1Char('0'));
    QSqlQuery plan = db.exec(QStringLiteral("select %1 from budget where Bud_id = :bud_id").arg(columns.join(QStringLiteral(", "))),
                             {{QStringLiteral("bud_id"), budId}});
    if (plan.next())
        for (int i = 0; i < cats.size(); ++i)
            for (int m = 0; m < 12; ++m)
                c.lines[i].planned[m] = Money::fromDouble(plan.value(i * 12 + m).toDouble());

    QSqlQuery q = db.exec(QStringLiteral("select Buchdat, Rubrik, Betrag from hhbuch where hhplan_id = :hhplan_id "
                                         "and buchdat >= :von and buchdat <= :bis"),
                          {{QStringLiteral("hhplan_id"), hhplanId}, {QStringLiteral("von"), QDate(year, 1, 1)},
                           {QStringLiteral("bis"), QDate(year, 12, 31)}});
    while (q.next()) {
        const int category = mapping.planCategory(q.value(1).toString());
        const QDate date = q.value(0).toDate();
        if (category < 0 || !date.isValid())
            continue;
        if (date > c.bookedUpTo) {
            ++c.laterBookings;
            continue;
        }
        c.lines[category].actual[date.month() - 1] += Money::fromDouble(q.value(2).toDouble());
    }
    return c;
}

} // namespace PlanActual
