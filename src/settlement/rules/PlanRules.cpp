#include "settlement/rules/PlanRules.h"

#include "core/AppError.h"
#include "core/DateUtil.h"
#include "core/GermanFormat.h"
#include "data/DataSet.h"
#include "data/Database.h"
#include "settlement/rules/ClaimRules.h"

#include <QHash>
#include <QSqlQuery>

namespace PlanRules {

namespace {

Money moneyOf(const QSqlQuery &q, int i) { return Money::fromDouble(q.value(i).toDouble()); }

// The answer that came last or could come last: the day it settles the attempt, by whom.
struct Outstanding
{
    QDate until;
    QString creditor;
    bool refusal = false;
};

Outstanding latestOutstanding(const Database &db, int planId)
{
    QSqlQuery q = db.exec(QStringLiteral("select p.antwort, p.antwortdat, s.erfdat, a.suna from sbposten p "
                                         "left join schrift s on s.schrift_id = p.schrift_id "
                                         "left join adressen a on a.adr_id = p.glaeub_id "
                                         "where p.plan_id = :p order by p.posten_id"),
                          {{QStringLiteral("p"), planId}});
    Outstanding latest;
    while (q.next()) {
        const QString answer = q.value(0).toString();
        Outstanding o;
        o.creditor = q.value(3).toString();
        if (answer == Refused) {
            o.until = q.value(1).toDate();
            o.refusal = true;
        } else if (answer == NoAnswer) {
            const QDate sent = q.value(2).toDate();
            o.until = sent.isValid() ? sent.addDays(AnswerDays) : q.value(1).toDate();
        }
        if (o.until.isValid() && (!latest.until.isValid() || o.until > latest.until))
            latest = o;
    }
    return latest;
}

} // namespace

const QStringList &kinds()
{
    static const QStringList k = {Instalments, OneOff, ZeroPlan};
    return k;
}

const QStringList &answers()
{
    static const QStringList a = {Agreed, Refused, NoAnswer};
    return a;
}

void newPlan(DataSet &plan, const DataSet &client)
{
    if (!client.isOpen() || client.isEmpty() || client.isNull(QStringLiteral("Adr_id")))
        throw UserWarning(QStringLiteral("Bitte wählen oder speichern Sie zuerst den Klienten."));
    if (!client.asBoolean(QStringLiteral("Akunde")))
        throw UserWarning(QStringLiteral("%1 ist nicht als Klient markiert.\rSetzen Sie zuerst das Häkchen „Klient der Beratung“.")
                              .arg(client.asString(QStringLiteral("Suna"))));
    plan.setValue(QStringLiteral("Kunde_id"), client.value(QStringLiteral("Adr_id")));
    plan.setValue(QStringLiteral("Plandat"), DateUtil::today());
    plan.setValue(QStringLiteral("Planart"), Instalments);
    plan.setValue(QStringLiteral("Laufzeit"), DefaultMonths);
    plan.setMoney(QStringLiteral("Rate"), Money());
}

void checkPlan(const DataSet &plan)
{
    const QString kind = plan.asString(QStringLiteral("Planart"));
    if (!kinds().contains(kind))
        throw UserWarning(QStringLiteral("Bitte wählen Sie die Art des Plans: Ratenplan, Einmalzahlung oder flexibler Nullplan."));
    const int months = plan.asInteger(QStringLiteral("Laufzeit"));
    if (kind != OneOff && (months < 1 || months > SettlementSplit::MaxMonths))
        throw UserWarning(QStringLiteral("Die Laufzeit muss zwischen 1 und %1 Monaten liegen.").arg(SettlementSplit::MaxMonths));
    const Money rate = plan.asMoney(QStringLiteral("Rate"));
    if (rate < Money())
        throw UserWarning(QStringLiteral("Die Rate darf nicht negativ sein."));
    if (rate > ClaimRules::MaxAmount)
        throw UserWarning(QStringLiteral("Die Rate ist unglaubwürdig hoch; bitte prüfen Sie den Betrag."));
    if (kind == ZeroPlan && !rate.isZero())
        throw UserWarning(QStringLiteral("Ein flexibler Nullplan beginnt mit der Rate 0,00 €."));
}

void checkLine(DataSet &line)
{
    const QString answer = line.asString(QStringLiteral("Antwort"));
    if (answer.isEmpty())
        return;
    if (!answers().contains(answer))
        throw UserWarning(QStringLiteral("Die Antwort „%1“ ist nicht vorgesehen: zugestimmt, abgelehnt oder keine Antwort.")
                              .arg(answer));
    if (line.isNull(QStringLiteral("Antwortdat")))
        line.setValue(QStringLiteral("Antwortdat"), DateUtil::today());
}

QList<QPair<int, QString>> budgetPlans(const Database &db, int clientId, int userId)
{
    QSqlQuery q = db.exec(QStringLiteral("select bud_id, budtitel, kunde_id from budget where kunde_id = :k "
                                         "or (kunde_id is null and user_id = :u) order by budtitel"),
                          {{QStringLiteral("k"), clientId}, {QStringLiteral("u"), userId}});
    QList<QPair<int, QString>> plans;
    while (q.next())
        plans.append({q.value(0).toInt(), q.value(1).toString()});
    return plans;
}

Money budgetRate(const Database &db, int budId, RateSource source)
{
    QSqlQuery q = db.exec(QStringLiteral("select pfand, sum_ek, sum_wk, sum_vs, sum_vk, sum_ak, sum_lk, sum_sk, sum_hk "
                                         "from budget where bud_id = :b"),
                          {{QStringLiteral("b"), budId}});
    if (!q.next())
        throw UserWarning(QStringLiteral("Der Haushaltsplan ist nicht mehr vorhanden."));
    if (source == RateSource::Garnishable)
        return moneyOf(q, 0);
    Money surplus = moneyOf(q, 1);
    for (int i = 2; i <= 8; ++i)
        surplus -= moneyOf(q, i);
    return surplus;
}

void assignBudget(const Database &db, int budId, int clientId)
{
    db.exec(QStringLiteral("update budget set kunde_id = :k where bud_id = :b"),
            {{QStringLiteral("k"), clientId}, {QStringLiteral("b"), budId}});
}

SettlementSplit::Result computeLines(const Database &db, int planId)
{
    QSqlQuery p = db.exec(QStringLiteral("select kunde_id, planart, laufzeit, rate from sbplan where plan_id = :p"),
                          {{QStringLiteral("p"), planId}});
    if (!p.next())
        throw UserWarning(QStringLiteral("Bitte speichern Sie den Plan zuerst."));
    const int client = p.value(0).toInt();
    const QString kind = p.value(1).toString();
    const int months = kind == OneOff ? 1 : p.value(2).toInt();
    const Money rate = kind == ZeroPlan ? Money() : moneyOf(p, 3);

    struct Claim { int id, creditor; QString reference; Money amount; };
    QVector<Claim> claims;
    QVector<Money> amounts;
    QSqlQuery c = db.exec(QStringLiteral("select ford_id, glaeub_id, aktenzeichen, hauptforderung, zinsen, kosten "
                                         "from forderung where kunde_id = :k order by ford_id"),
                          {{QStringLiteral("k"), client}});
    while (c.next()) {
        const Money amount = moneyOf(c, 3) + moneyOf(c, 4) + moneyOf(c, 5);
        claims.append({c.value(0).toInt(), c.value(1).toInt(), c.value(2).toString(), amount});
        amounts << amount;
    }
    const SettlementSplit::Result result = SettlementSplit::split(amounts, rate, months);

    db.transaction([&] {
        struct Kept { QVariant answer, date, letter; };
        QHash<int, Kept> kept;
        QSqlQuery old = db.exec(QStringLiteral("select ford_id, antwort, antwortdat, schrift_id from sbposten where plan_id = :p"),
                                {{QStringLiteral("p"), planId}});
        while (old.next())
            kept.insert(old.value(0).toInt(), {old.value(1), old.value(2), old.value(3)});
        db.exec(QStringLiteral("delete from sbposten where plan_id = :p"), {{QStringLiteral("p"), planId}});
        for (qsizetype i = 0; i < claims.size(); ++i) {
            const SettlementSplit::Line &l = result.lines.at(i);
            const Kept k = kept.value(claims.at(i).id);
            db.exec(QStringLiteral("insert into sbposten (Plan_id, Ford_id, Glaeub_id, Aktenzeichen, Forderung, Anteil, "
                                   "Monatsrate, Gesamt, Quote, Antwort, Antwortdat, Schrift_id) values (:p, :f, :g, :az, "
                                   ":ford, :anteil, :rate, :gesamt, :quote, :antwort, :adat, :schrift)"),
                    {{QStringLiteral("p"), planId},
                     {QStringLiteral("f"), claims.at(i).id},
                     {QStringLiteral("g"), claims.at(i).creditor},
                     {QStringLiteral("az"), claims.at(i).reference},
                     {QStringLiteral("ford"), l.claim.toDouble()},
                     {QStringLiteral("anteil"), l.sharePercent},
                     {QStringLiteral("rate"), l.monthly.toDouble()},
                     {QStringLiteral("gesamt"), l.total.toDouble()},
                     {QStringLiteral("quote"), l.quotaPercent},
                     {QStringLiteral("antwort"), k.answer.isNull() ? QVariant(QString()) : k.answer},
                     {QStringLiteral("adat"), k.date.isNull() ? QVariant(QMetaType::fromType<QDate>()) : QVariant(k.date.toDate())},
                     {QStringLiteral("schrift"), k.letter.isNull() ? QVariant(QMetaType::fromType<int>()) : k.letter}});
        }
    });
    return result;
}

QString failureRefusal(const Database &db, int planId)
{
    QSqlQuery q = db.exec(QStringLiteral("select antwort from sbposten where plan_id = :p"), {{QStringLiteral("p"), planId}});
    int lines = 0, open = 0, agreed = 0;
    while (q.next()) {
        ++lines;
        const QString a = q.value(0).toString();
        if (a.isEmpty())
            ++open;
        else if (a == Agreed)
            ++agreed;
    }
    if (lines == 0)
        return QStringLiteral("Der Plan ist noch nicht auf die Gläubiger aufgeteilt.");
    if (open > 0)
        return QStringLiteral("Für %1 von %2 Forderungen ist noch keine Antwort des Gläubigers eingetragen.").arg(open).arg(lines);
    if (agreed == lines)
        return QStringLiteral("Alle Gläubiger haben zugestimmt; der Einigungsversuch ist nicht gescheitert.");
    return {};
}

QDate defaultFailureDate(const Database &db, int planId) { return latestOutstanding(db, planId).until; }

QString failureDateRefusal(const Database &db, int planId, const QDate &day)
{
    if (!day.isValid())
        return {};
    const Outstanding o = latestOutstanding(db, planId);
    if (!o.until.isValid() || day >= o.until)
        return {};
    return o.refusal ? QStringLiteral("Der Einigungsversuch kann nicht vor dem %1 gescheitert sein: an diesem Tag hat %2 abgelehnt.")
                           .arg(GermanFormat::shortDate(o.until), o.creditor)
                     : QStringLiteral("Der Einigungsversuch kann nicht vor dem %1 gescheitert sein: bis dahin läuft die "
                                      "Antwortfrist von %2.")
                           .arg(GermanFormat::shortDate(o.until), o.creditor);
}

QString failureNotYet(const Database &db, int planId, const QDate &today)
{
    // Only a period that runs from a letter sent: an answer typed with a date of its own is
    // taken as the adviser gave it.
    QSqlQuery q = db.exec(QStringLiteral("select s.erfdat, a.suna from sbposten p "
                                         "join schrift s on s.schrift_id = p.schrift_id "
                                         "left join adressen a on a.adr_id = p.glaeub_id "
                                         "where p.plan_id = :p and p.antwort = :silent order by p.posten_id"),
                          {{QStringLiteral("p"), planId}, {QStringLiteral("silent"), NoAnswer}});
    QDate until;
    QString creditor;
    while (q.next()) {
        const QDate end = q.value(0).toDate().addDays(AnswerDays);
        if (end > today && (!until.isValid() || end > until)) {
            until = end;
            creditor = q.value(1).toString();
        }
    }
    if (!until.isValid())
        return {};
    return QStringLiteral("Die Antwortfrist von %1 läuft noch bis zum %2; erst danach ist der Einigungsversuch gescheitert.")
        .arg(creditor, GermanFormat::shortDate(until));
}

void checkFailureDate(const Database &db, const DataSet &plan)
{
    if (plan.isNull(QStringLiteral("Plan_id")) || plan.isNull(QStringLiteral("Scheiterdat")))
        return;
    if (plan.asDate(QStringLiteral("Scheiterdat")) > DateUtil::today())
        throw UserWarning(QStringLiteral("Der Tag des Scheiterns darf nicht nach dem heutigen Tag liegen."));
    const QString why = failureDateRefusal(db, plan.asInteger(QStringLiteral("Plan_id")), plan.asDate(QStringLiteral("Scheiterdat")));
    if (!why.isEmpty())
        throw UserWarning(why);
}

} // namespace PlanRules
