#include "support/TempDatabase.h"

#include "core/AppError.h"
#include "core/DateUtil.h"
#include "core/GermanFormat.h"
#include "data/DataModules.h"
#include "settlement/rules/ClaimRules.h"
#include "settlement/rules/PKontoAllowance.h"
#include "settlement/rules/PlanRules.h"
#include "settlement/rules/SettlementData.h"
#include "settlement/rules/SettlementSplit.h"

#include <QRegularExpression>
#include <QTest>

SettlementSplit::Result plan(const QVector<Money> &claims, Money rate, int months)
{
    return SettlementSplit::split(claims, rate, months);
}

namespace {

Money eur(const char *text) { return Money::fromDouble(QByteArray(text).toDouble()); }

QVector<Money> amounts(const QStringList &texts)
{
    QVector<Money> out;
    for (const QString &t : texts)
        out << Money::fromDouble(t.toDouble());
    return out;
}

QString warningOf(const std::function<void()> &work)
{
    try {
        work();
    } catch (const AppError &e) {
        return e.message();
    }
    return QStringLiteral("(keine Meldung)");
}

} // namespace

class TestSettlementRules : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempDatabase> m_tmp;
    std::unique_ptr<DataModules> m_dm;
    SettlementData *m_data = nullptr;
    int m_client = 0, m_bank = 0, m_power = 0;

    DataSet *contacts() { return m_dm->dmAdressen->qrKontakte; }

    int addContact(const QString &suna, bool client)
    {
        m_dm->db.exec("insert into adressen (Name1, Suna, Akunde) values (:n, :s, :k)",
                      {{"n", suna}, {"s", suna}, {"k", client}});
        return m_dm->db.scalar("select max(adr_id) from adressen").toInt();
    }
    void addClaim(int creditor, const char *main, const char *interest = "0", const char *costs = "0")
    {
        m_dm->db.exec("insert into forderung (Kunde_id, Glaeub_id, Aktenzeichen, Hauptforderung, Zinsen, Kosten) "
                      "values (:k, :g, 'AZ', :h, :z, :c)",
                      {{"k", m_client}, {"g", creditor}, {"h", QByteArray(main).toDouble()},
                       {"z", QByteArray(interest).toDouble()}, {"c", QByteArray(costs).toDouble()}});
    }

private slots:
    void init()
    {
        m_tmp = std::make_unique<TempDatabase>();
        m_dm = std::make_unique<DataModules>();
        m_tmp->openIn(m_dm->db);
        QVERIFY(m_dm->dmMP->lookupUser("sb"));
        m_client = addContact("Müller, Anna", true);
        m_bank = addContact("Sparkasse Nord", false);
        m_power = addContact("Stadtwerke", false);
        m_data = &SettlementData::of(*m_dm);
        contacts()->open();
        QVERIFY(contacts()->locate("Adr_id", m_client));
        m_data->openAll();
    }
    void cleanup()
    {
        m_dm.reset();
        m_tmp.reset();
    }

    // The rounded payments always add up to the rate; the cents left over go to the
    // largest remainders, ties to the larger claim.
    void split_data()
    {
        QTest::addColumn<QStringList>("claims");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QStringList>("monthly");
        QTest::newRow("three equal claims") << QStringList{"5000", "5000", "5000"} << "100" << QStringList{"33.34", "33.33", "33.33"};
        QTest::newRow("one claim of a cent among others") << QStringList{"0.01", "10000", "20000"} << "100"
                                                          << QStringList{"0", "33.33", "66.67"};
        QTest::newRow("tie goes to the larger claim") << QStringList{"1", "3"} << "0.02" << QStringList{"0", "0.02"};
        QTest::newRow("rate of nothing") << QStringList{"10", "20"} << "0" << QStringList{"0", "0"};
        QTest::newRow("claim of nothing gets nothing") << QStringList{"0", "3000"} << "10" << QStringList{"0", "10"};
    }
    void split()
    {
        QFETCH(QStringList, claims);
        QFETCH(QString, rate);
        QFETCH(QStringList, monthly);
        const auto r = SettlementSplit::split(amounts(claims), Money::fromDouble(rate.toDouble()), 36);
        QCOMPARE(r.lines.size(), monthly.size());
        for (qsizetype i = 0; i < monthly.size(); ++i) {
            QCOMPARE(r.lines.at(i).monthly, Money::fromDouble(monthly.at(i).toDouble()));
            QCOMPARE(r.lines.at(i).total, r.lines.at(i).monthly * 36);
        }
        QCOMPARE(r.planTotal, r.rate * 36);
    }

    void splitFortyCreditorsAddsUpExactly()
    {
        QVector<Money> claims;
        for (int i = 1; i <= 40; ++i)
            claims << Money::fromCents(12345 * i + (i % 7) * 3);
        for (Money rate : {eur("777.77"), eur("0.39"), eur("1234.01")}) {
            const auto r = plan(claims, rate, 48);
            Money sum;
            for (const auto &l : r.lines) {
                sum += l.monthly;
                // No part strays a cent or more from its exact share.
                const double exact = rate.toDouble() * l.claim.toDouble() / r.claims.toDouble();
                QVERIFY(std::abs(l.monthly.toDouble() - exact) < 0.01);
            }
            QCOMPARE(sum, rate);
            QVERIFY(!r.capped);
        }
    }

    void rateAboveClaimsIsCappedAtTheClaims()
    {
        const auto r = plan({eur("100"), eur("200")}, eur("50"), 36);
        QVERIFY(r.capped);
        QCOMPARE(r.planTotal, eur("300"));
        QCOMPARE(r.lines.at(0).total, eur("100"));
        QCOMPARE(r.lines.at(1).total, eur("200"));
        QCOMPARE(r.lines.at(1).quotaPercent, 100.0);

        // A single claim of a cent: a rate of 100 € becomes that cent.
        const auto tiny = plan({eur("0.01")}, eur("100"), 36);
        QCOMPARE(tiny.rate, eur("0.01"));
        QCOMPARE(tiny.planTotal, eur("0.01"));
        QCOMPARE(tiny.lines.at(0).monthly, eur("0.01"));
    }

    // No creditor receives more than its claim: one paid in full drops out, and its part of
    // the rate goes to the others from then on.
    void paidInFullDropsOut_data()
    {
        QTest::addColumn<QStringList>("claims");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<int>("months");
        QTest::addColumn<QStringList>("totals");
        QTest::addColumn<QString>("phases");
        // 0,005 € a month rounded up to a cent would pay 0,36 € on a claim of 0,31 €.
        QTest::newRow("a cent rounded up settles a small claim early")
            << QStringList{"0.31", "3000"} << "50" << 36 << QStringList{"0.31", "1799.69"}
            << "1-31: 0.01 49.99 | 32-36: 0 50";
        QTest::newRow("the last month pays what is left")
            << QStringList{"100", "200"} << "50" << 36 << QStringList{"100", "200"} << "1-5: 16.67 33.33 | 6-6: 16.65 33.35";
        QTest::newRow("several small claims among large ones")
            << QStringList{"0.05", "1000", "0.07", "500"} << "180" << 7 << QStringList{"0.05", "839.93", "0.07", "419.95"}
            << "1-5: 0.01 119.99 0.01 59.99 | 6-7: 0 119.99 0.01 60";
    }
    void paidInFullDropsOut()
    {
        QFETCH(QStringList, claims);
        QFETCH(QString, rate);
        QFETCH(int, months);
        QFETCH(QStringList, totals);
        QFETCH(QString, phases);
        const auto r = plan(amounts(claims), Money::fromDouble(rate.toDouble()), months);
        Money sum;
        for (qsizetype i = 0; i < totals.size(); ++i) {
            QCOMPARE(r.lines.at(i).total, Money::fromDouble(totals.at(i).toDouble()));
            QVERIFY(r.lines.at(i).quotaPercent <= 100.0);
            sum += r.lines.at(i).total;
        }
        QCOMPARE(r.planTotal, sum);
        QCOMPARE(r.planTotal, std::min(r.rate * months, r.claims));
        QStringList seen;
        for (const auto &ph : r.phases) {
            QStringList parts;
            Money month;
            for (Money m : ph.payments) {
                parts << QString::number(m.toDouble(), 'f', 2).remove(QRegularExpression("\\.?0+$"));
                month += m;
            }
            if (ph.lastMonth < r.lastMonth)
                QCOMPARE(month, r.rate);   // every month but the last pays the whole rate
            seen << QString("%1-%2: %3").arg(ph.firstMonth).arg(ph.lastMonth).arg(parts.join(' '));
        }
        QCOMPARE(seen.join(" | "), phases);
    }

    // Whatever the claims, nobody gets more than owed and the plan pays what it says.
    void neverMoreThanTheClaim()
    {
        for (int seed = 1; seed <= 60; ++seed) {
            QVector<Money> claims;
            for (int i = 0; i < 2 + seed % 9; ++i)
                claims << Money::fromCents((i * 7919 + seed * 104729) % (i % 3 == 0 ? 90 : 900000) + 1);
            const Money rate = Money::fromCents(seed * 137 % 20000 + 1);
            const auto r = plan(claims, rate, 1 + seed % 72);
            Money sum;
            for (const auto &l : r.lines) {
                QVERIFY2(l.total <= l.claim, qPrintable(QString("seed %1").arg(seed)));
                sum += l.total;
            }
            QCOMPARE(sum, r.planTotal);
            QCOMPARE(r.planTotal, std::min(r.rate * (1 + seed % 72), r.claims));
        }
    }

    // A one-off payment above all claims is lowered, and says so.
    void rateLoweredToTheClaims()
    {
        const auto once = plan({eur("1000"), eur("2000")}, eur("5000"), 1);
        QVERIFY(once.rateLowered);
        QVERIFY(!once.capped);
        QCOMPARE(once.requestedRate, eur("5000"));
        QCOMPARE(once.rate, eur("3000"));
        QCOMPARE(once.planTotal, eur("3000"));
        QVERIFY(!plan({eur("1000"), eur("2000")}, eur("3000"), 1).rateLowered);
    }

    void shareAndQuota()
    {
        const auto r = plan({eur("1000"), eur("3000")}, eur("40"), 36);
        QCOMPARE(r.lines.at(0).sharePercent, 25.0);
        QCOMPARE(r.lines.at(0).monthly, eur("10"));
        QCOMPARE(r.lines.at(0).quotaPercent, 36.0);
        QCOMPARE(r.planTotal, eur("1440"));
    }

    void splitRefusals_data()
    {
        QTest::addColumn<QStringList>("claims");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<int>("months");
        QTest::addColumn<QString>("message");
        QTest::newRow("no claims") << QStringList{} << "10" << 36
                                   << "Für diesen Klienten sind keine Forderungen erfasst.\rEin Plan braucht mindestens eine Forderung.";
        QTest::newRow("claims of nothing") << QStringList{"0", "0"} << "10" << 36
                                           << "Die Forderungen ergeben zusammen 0,00 €; es gibt nichts aufzuteilen.";
        QTest::newRow("negative claim") << QStringList{"-5", "10"} << "10" << 36
                                        << "Eine Forderung ist negativ (-5,00\u00a0€); bitte prüfen Sie die Forderungen.";
        QTest::newRow("negative rate") << QStringList{"10"} << "-1" << 36 << "Die Rate darf nicht negativ sein.";
        QTest::newRow("no term") << QStringList{"10"} << "1" << 0 << "Die Laufzeit muss zwischen 1 und 120 Monaten liegen.";
        QTest::newRow("term of decades") << QStringList{"10"} << "1" << 121
                                         << "Die Laufzeit muss zwischen 1 und 120 Monaten liegen.";
    }
    void splitRefusals()
    {
        QFETCH(QStringList, claims);
        QFETCH(QString, rate);
        QFETCH(int, months);
        QFETCH(QString, message);
        QCOMPARE(warningOf([&] { plan(amounts(claims), Money::fromDouble(rate.toDouble()), months); }), message);
    }

    void pkontoFromStoredBaseValues()
    {
        const auto base = PKontoAllowance::baseInForce(m_dm->db, QDate(2026, 8, 1));
        QCOMPARE(base.increaseFirst, eur("597.42"));
        QCOMPARE(base.increaseFurther, eur("332.83"));
        // Two children: the basic amount, the first and one further person, the child benefit.
        const auto a = PKontoAllowance::allowance(base, 2, eur("518"), Money(), eur("150"));
        QCOMPARE(a.basic, eur("1590"));
        QCOMPARE(a.increaseFirst + a.increaseFurther, eur("930.25"));
        QCOMPARE(a.monthly, eur("3038.25"));
        QCOMPARE(a.oneOff, eur("150"));

        // New values stored by the office apply from their date on, not before.
        m_dm->db.exec("insert into pkontobasis (Stand, Erhoehung1, Erhoehung2) values (:s, 610, 340)",
                      {{"s", QDate(2027, 7, 1)}});
        QCOMPARE(PKontoAllowance::baseInForce(m_dm->db, QDate(2027, 6, 30)).increaseFirst, eur("597.42"));
        QCOMPARE(PKontoAllowance::baseInForce(m_dm->db, QDate(2027, 7, 1)).increaseFirst, eur("610"));
        m_dm->db.exec("update Pfand set Nettobisbeginn = 1601.5");
        QCOMPARE(PKontoAllowance::allowance(PKontoAllowance::baseInForce(m_dm->db, QDate(2026, 8, 1)), 0, {}, {}, {}).monthly,
                 eur("1610"));
    }

    // § 899 Abs. 1 ZPO: the free amount rounded up to the next full ten; a full ten stays.
    void pkontoFreeAmountOfTheTable_data()
    {
        QTest::addColumn<QString>("firstRowEnd");
        QTest::addColumn<QString>("firstAmount");
        QTest::addColumn<QString>("free");
        QTest::addColumn<QString>("basic");
        QTest::newRow("table of 2026: 1.587,40") << "1589.99" << "1.82" << "1587.40" << "1590";
        QTest::newRow("free amount a full ten") << "1599.99" << "7.00" << "1590" << "1590";
        QTest::newRow("a cent above a full ten") << "1599.99" << "6.99" << "1590.01" << "1600";
        QTest::newRow("a cent below a full ten") << "1589.99" << "0.01" << "1589.99" << "1590";
    }
    void pkontoFreeAmountOfTheTable()
    {
        QFETCH(QString, firstRowEnd);
        QFETCH(QString, firstAmount);
        QFETCH(QString, free);
        QFETCH(QString, basic);
        const Money f = PKontoAllowance::freeAmountOf(eur(qPrintable(firstRowEnd)), eur("10"), eur(qPrintable(firstAmount)), eur("7"));
        QCOMPARE(f, eur(qPrintable(free)));
        PKontoAllowance::Base base{QDate(), f, QDate(), eur("597.42"), eur("332.83")};
        QCOMPARE(PKontoAllowance::allowance(base, 0, {}, {}, {}).basic, eur(qPrintable(basic)));

        // The same from the stored base values of a table made for that free amount.
        m_dm->db.exec("update Pfand set Nettobisbeginn = :e, Pfand0beginn = :a",
                      {{"e", firstRowEnd.toDouble()}, {"a", firstAmount.toDouble()}});
        const auto stored = PKontoAllowance::baseInForce(m_dm->db, QDate(2026, 8, 1));
        QCOMPARE(PKontoAllowance::allowance(stored, 0, {}, {}, {}).basic, eur(qPrintable(basic)));
    }

    void pkontoPersonsAndRefusals()
    {
        PKontoAllowance::Base base{QDate(), eur("1589.99"), QDate(), eur("597.42"), eur("332.83")};
        QCOMPARE(PKontoAllowance::allowance(base, 0, {}, {}, {}).monthly, eur("1590"));
        QCOMPARE(PKontoAllowance::allowance(base, 1, {}, {}, {}).monthly, eur("2187.42"));
        // The law counts five persons at most.
        QCOMPARE(PKontoAllowance::allowance(base, 9, {}, {}, {}).monthly,
                 PKontoAllowance::allowance(base, 5, {}, {}, {}).monthly);
        QCOMPARE(PKontoAllowance::allowance(base, 5, {}, {}, {}).monthly, eur("3518.74"));
        QCOMPARE(warningOf([&] { PKontoAllowance::allowance(base, -1, {}, {}, {}); }),
                 QString("Die Zahl der unterhaltenen Personen darf nicht negativ sein."));
        QCOMPARE(warningOf([&] { PKontoAllowance::allowance(base, 1, eur("-1"), {}, {}); }),
                 QString("Geschützte Leistungen dürfen nicht negativ sein."));
        QCOMPARE(PKontoAllowance::roundUpToTen(eur("1590")), eur("1590"));
        QCOMPARE(PKontoAllowance::roundUpToTen(eur("1590.01")), eur("1600"));

        m_dm->db.exec("delete from pkontobasis");
        QCOMPARE(warningOf([&] { PKontoAllowance::baseInForce(m_dm->db, QDate(2026, 8, 1)); }),
                 QString("Für das P-Konto sind keine Erhöhungsbeträge für unterhaltene Personen hinterlegt."));
    }

    void claimRefusals_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("negative main claim") << "Hauptforderung" << -1.0 << "Die Hauptforderung darf nicht negativ sein.";
        QTest::newRow("negative costs") << "Kosten" << -0.01 << "Der Betrag der Kosten darf nicht negativ sein.";
        QTest::newRow("absurd interest") << "Zinsen" << 2e9
                                         << "Der Betrag der Zinsen von 2.000.000.000,00\u00a0€ ist unglaubwürdig hoch "
                                            "(höchstens 100.000.000,00\u00a0€).\rBitte prüfen Sie den Betrag.";
        QTest::newRow("no creditor") << "Glaeub_id" << 0.0 << "Bitte wählen Sie den Gläubiger der Forderung.";
    }
    void claimRefusals()
    {
        QFETCH(QString, field);
        QFETCH(double, value);
        QFETCH(QString, message);
        DataSet *claims = m_data->qrForderungen;
        claims->append();
        claims->setValue("Glaeub_id", m_bank);
        claims->setValue("Hauptforderung", 100.0);
        claims->setValue(field, field == "Glaeub_id" ? QVariant() : QVariant(value));
        QCOMPARE(warningOf([&] { claims->post(); }), message);
        QVERIFY(claims->isPending());
        claims->cancel();
        QCOMPARE(m_dm->db.scalar("select count(*) from forderung").toInt(), 0);
    }

    void claimsOfAClientAndTheirSum()
    {
        DataSet *claims = m_data->qrForderungen;
        claims->append();
        QCOMPARE(claims->asInteger("Kunde_id"), m_client);
        claims->setValue("Glaeub_id", m_bank);
        claims->setValue("Hauptforderung", 1000.10);
        claims->setValue("Zinsen", 20.20);
        claims->setValue("Kosten", 0.03);
        QCOMPARE(claims->asString("Glaeubiger"), QString("Sparkasse Nord"));
        QCOMPARE(claims->asMoney("Gesamt"), eur("1020.33"));
        claims->post();
        addClaim(m_power, "0.1", "0.2");
        QCOMPARE(ClaimRules::clientTotal(m_dm->db, m_client), eur("1020.63"));

        // A contact not marked as client gets no claims.
        QVERIFY(contacts()->locate("Adr_id", m_bank));
        QCOMPARE(warningOf([&] { m_data->qrForderungen->append(); }),
                 QString("Sparkasse Nord ist nicht als Klient markiert.\rSetzen Sie zuerst das Häkchen „Klient der Beratung“."));
    }

    void creditorWithClaimsIsNotDeleted()
    {
        addClaim(m_bank, "10");
        addClaim(m_bank, "20");
        QVERIFY(contacts()->locate("Adr_id", m_bank));
        QCOMPARE(warningOf([&] { contacts()->remove(); }),
                 QString("Der Kontakt kann nicht gelöscht werden:\r2 Forderungen nennen ihn als Gläubiger."));
        QVERIFY(contacts()->locate("Adr_id", m_client));
        QCOMPARE(warningOf([&] { contacts()->remove(); }),
                 QString("Der Kontakt kann nicht gelöscht werden:\rfür ihn als Klienten sind 2 Forderung(en) und 0 Plan/Pläne erfasst."));
        QCOMPARE(m_dm->db.scalar("select count(*) from adressen").toInt(), 3);
        QVERIFY(contacts()->locate("Adr_id", m_power));
        contacts()->remove();
        QCOMPARE(m_dm->db.scalar("select count(*) from adressen").toInt(), 2);
    }

    void planLinesKeepAnswersAndDecideFailure()
    {
        addClaim(m_bank, "3000");
        addClaim(m_power, "1000");
        DataSet *plans = m_data->qrSbPlan;
        plans->append();
        QCOMPARE(plans->asInteger("Laufzeit"), 36);
        QCOMPARE(plans->asString("Planart"), QString("Ratenplan"));
        plans->setValue("Rate", 100.0);
        plans->post();
        const int planId = plans->asInteger("Plan_id");
        QCOMPARE(PlanRules::failureRefusal(m_dm->db, planId), QString("Der Plan ist noch nicht auf die Gläubiger aufgeteilt."));

        const auto r = PlanRules::computeLines(m_dm->db, planId);
        QCOMPARE(r.planTotal, eur("3600"));
        DataSet *lines = m_data->qrSbPosten;
        lines->reopen();
        QCOMPARE(lines->recordCount(), 2);
        QCOMPARE(lines->asMoney("Monatsrate"), eur("75"));
        QCOMPARE(lines->asString("Glaeubiger"), QString("Sparkasse Nord"));
        lines->edit();
        lines->setValue("Antwort", "abgelehnt");
        lines->post();
        QVERIFY(lines->asDate("Antwortdat").isValid());
        QCOMPARE(PlanRules::failureRefusal(m_dm->db, planId),
                 QString("Für 1 von 2 Forderungen ist noch keine Antwort des Gläubigers eingetragen."));

        // A new split keeps the answer given for the claim.
        plans->edit();
        plans->setValue("Rate", 200.0);
        plans->post();
        PlanRules::computeLines(m_dm->db, planId);
        lines->reopen();
        QCOMPARE(lines->asMoney("Monatsrate"), eur("150"));
        QCOMPARE(lines->asString("Antwort"), QString("abgelehnt"));
        lines->next();
        lines->edit();
        lines->setValue("Antwort", "zugestimmt");
        lines->post();
        QCOMPARE(PlanRules::failureRefusal(m_dm->db, planId), QString());

        lines->edit();
        lines->setValue("Antwort", "vielleicht");
        QCOMPARE(warningOf([&] { lines->post(); }),
                 QString("Die Antwort „vielleicht“ ist nicht vorgesehen: zugestimmt, abgelehnt oder keine Antwort."));
        lines->cancel();

        plans->edit();
        plans->setValue("Planart", "flexibler Nullplan");
        QCOMPARE(warningOf([&] { plans->post(); }), QString("Ein flexibler Nullplan beginnt mit der Rate 0,00 €."));
        plans->setValue("Rate", 0.0);
        plans->post();
        QCOMPARE(PlanRules::computeLines(m_dm->db, planId).planTotal, Money());
    }

    // The attempt fails on the latest refusal or when the last answer period ends, not on
    // the day the certificate is printed; an earlier day is refused.
    void failureDate()
    {
        addClaim(m_bank, "3000");
        addClaim(m_power, "1000");
        DataSet *plans = m_data->qrSbPlan;
        plans->append();
        plans->setValue("Rate", 100.0);
        plans->post();
        const int planId = plans->asInteger("Plan_id");
        PlanRules::computeLines(m_dm->db, planId);
        const QDate sent = DateUtil::today().addDays(-90);
        m_dm->db.exec("insert into schrift (Erfdat, Titel) values (:d, 'Anschreiben')", {{"d", sent}});
        const int letter = m_dm->db.scalar("select max(schrift_id) from schrift").toInt();
        m_dm->db.exec("update sbposten set schrift_id = :s where plan_id = :p", {{"s", letter}, {"p", planId}});
        QVERIFY(!PlanRules::defaultFailureDate(m_dm->db, planId).isValid());
        auto answer = [&](int creditor, const char *text, int day) {
            m_dm->db.exec("update sbposten set antwort = :a, antwortdat = :d where glaeub_id = :g",
                          {{"a", text}, {"d", sent.addDays(day)}, {"g", creditor}});
        };
        auto day = [&](int d) { return GermanFormat::shortDate(sent.addDays(d)); };

        answer(m_bank, "abgelehnt", 19);
        answer(m_power, "zugestimmt", 41);
        QCOMPARE(PlanRules::defaultFailureDate(m_dm->db, planId), sent.addDays(19));
        // The answer period of a creditor who did not answer ends four weeks after the letter.
        answer(m_power, "keine Antwort", 16);
        QCOMPARE(PlanRules::defaultFailureDate(m_dm->db, planId), sent.addDays(PlanRules::AnswerDays));

        plans->edit();
        plans->setValue("Scheiterdat", sent.addDays(21));
        QCOMPARE(warningOf([&] { plans->post(); }),
                 QString("Der Einigungsversuch kann nicht vor dem %1 gescheitert sein: bis dahin läuft die "
                         "Antwortfrist von Stadtwerke.").arg(day(28)));
        plans->setValue("Scheiterdat", sent.addDays(16));
        answer(m_power, "zugestimmt", 41);
        QCOMPARE(warningOf([&] { plans->post(); }),
                 QString("Der Einigungsversuch kann nicht vor dem %1 gescheitert sein: an diesem Tag hat "
                         "Sparkasse Nord abgelehnt.").arg(day(19)));
        plans->setValue("Scheiterdat", DateUtil::today().addDays(1));
        QCOMPARE(warningOf([&] { plans->post(); }), QString("Der Tag des Scheiterns darf nicht nach dem heutigen Tag liegen."));
        plans->setValue("Scheiterdat", sent.addDays(19));
        plans->post();
        QCOMPARE(m_dm->db.scalar("select scheiterdat from sbplan").toDate(), sent.addDays(19));

        // While an answer period still runs, the failure cannot be certified yet.
        QCOMPARE(PlanRules::failureNotYet(m_dm->db, planId, DateUtil::today()), QString());
        m_dm->db.exec("update schrift set erfdat = :d", {{"d", DateUtil::today().addDays(-10)}});
        answer(m_power, "keine Antwort", 85);
        QCOMPARE(PlanRules::failureNotYet(m_dm->db, planId, DateUtil::today()),
                 QString("Die Antwortfrist von Stadtwerke läuft noch bis zum %1; erst danach ist der Einigungsversuch "
                         "gescheitert.").arg(GermanFormat::shortDate(DateUtil::today().addDays(18))));
    }

    void rateFromTheBudgetPlan()
    {
        m_dm->db.exec("insert into budget (BudTitel, User_id, Pfand, Sum_Ek, Sum_Wk, Sum_Lk, Sum_Sk) "
                      "values ('Familie Müller', 1, 123.45, 2500, 900, 1200, 100)");
        m_dm->db.exec("insert into budget (BudTitel, User_id, Kunde_id) values ('Anderer Klient', 1, :k)", {{"k", m_bank}});
        const auto plans = PlanRules::budgetPlans(m_dm->db, m_client, 1);
        QCOMPARE(plans.size(), 1);
        const int bud = plans.first().first;
        QCOMPARE(PlanRules::budgetRate(m_dm->db, bud, PlanRules::RateSource::Garnishable), eur("123.45"));
        QCOMPARE(PlanRules::budgetRate(m_dm->db, bud, PlanRules::RateSource::Surplus), eur("300"));
        PlanRules::assignBudget(m_dm->db, bud, m_client);
        QCOMPARE(m_dm->db.scalar("select kunde_id from budget where bud_id = :b", {{"b", bud}}).toInt(), m_client);
        QCOMPARE(PlanRules::budgetPlans(m_dm->db, m_client, 1).size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSettlementRules)
#include "tst_settlementrules.moc"
