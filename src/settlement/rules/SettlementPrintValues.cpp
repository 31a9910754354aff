#include "settlement/rules/SettlementPrintValues.h"

#include "core/AppError.h"
#include "core/GermanFormat.h"
#include "core/Iban.h"
#include "core/PostalAddress.h"
#include "data/Database.h"

#include <QSqlQuery>
#include <QVariant>

namespace SettlementPrintValues {

namespace {

const QChar Br = u'\r';

QString cur(Money m) { return GermanFormat::currency(m); }
QString pct(double v) { return GermanFormat::number(v, 2) + QStringLiteral(" %"); }
QString months(int n) { return n == 1 ? QStringLiteral("1 Monat") : QStringLiteral("%1 Monate").arg(n); }
QString monthsDative(int n) { return n == 1 ? QStringLiteral("1 Monat") : QStringLiteral("%1 Monaten").arg(n); }

QString joinFilled(const QStringList &parts, const QString &separator)
{
    QStringList filled;
    for (const QString &p : parts)
        if (!p.trimmed().isEmpty())
            filled << p.trimmed();
    return filled.join(separator);
}

} // namespace

QString Contact::nameBlock() const
{
    return joinFilled({name1, name2, name3}, QString(Br));
}

QString Contact::addressBlock() const
{
    const QString street = postBox ? QStringLiteral("Postfach ") + pofach : joinFilled({strasse, hausnr}, QStringLiteral(" "));
    return PostalAddress::lines(street, postBox ? poplz : plz, ort, land).join(Br);
}

QString Contact::oneLine() const
{
    return joinFilled({joinFilled({name1, name2}, QStringLiteral(" ")), joinFilled({strasse, hausnr}, QStringLiteral(" ")),
                       joinFilled({plz, ort}, QStringLiteral(" "))},
                      QStringLiteral(", "));
}

Contact contact(const Database &db, int adrId)
{
    Contact c;
    QSqlQuery q = db.exec(QStringLiteral("select adr_id, name1, name2, name3, suna, land, plz, ort, strasse, hausnr, pofach, "
                                         "poplz, poverwenden, geburtstag, anrede from adressen where adr_id = :id"),
                          {{QStringLiteral("id"), adrId}});
    if (!q.next())
        return c;
    c.id = q.value(0).toInt();
    QString *texts[] = {&c.name1, &c.name2, &c.name3, &c.suna, &c.land, &c.plz, &c.ort, &c.strasse, &c.hausnr, &c.pofach, &c.poplz};
    for (int i = 0; i < 11; ++i)
        *texts[i] = q.value(i + 1).toString();
    c.postBox = q.value(12).toBool();
    c.birthday = q.value(13).toDate();
    c.salutation = q.value(14).toString();
    return c;
}

double Plan::quota() const
{
    return claims.isZero() ? 0 : static_cast<double>(totalSum.raw()) * 100.0 / static_cast<double>(claims.raw());
}

Plan plan(const Database &db, int planId)
{
    Plan p;
    QSqlQuery q = db.exec(QStringLiteral("select plan_id, kunde_id, planart, plandat, laufzeit, rate, scheiterdat "
                                         "from sbplan where plan_id = :p"),
                          {{QStringLiteral("p"), planId}});
    if (!q.next())
        throw UserWarning(QStringLiteral("Der Plan ist nicht mehr vorhanden."));
    p.id = q.value(0).toInt();
    p.client = contact(db, q.value(1).toInt());
    p.kind = q.value(2).toString();
    p.date = q.value(3).toDate();
    p.months = q.value(4).toInt();
    p.rate = Money::fromDouble(q.value(5).toDouble());
    p.failedOn = q.value(6).toDate();
    if (p.kind == QStringLiteral("Einmalzahlung"))
        p.months = 1;
    QSqlQuery l = db.exec(QStringLiteral("select ford_id, glaeub_id, aktenzeichen, forderung, anteil, monatsrate, gesamt, "
                                         "quote, antwort, antwortdat, schrift_id from sbposten where plan_id = :p "
                                         "order by posten_id"),
                          {{QStringLiteral("p"), planId}});
    while (l.next()) {
        Line line;
        line.claimId = l.value(0).toInt();
        line.creditor = contact(db, l.value(1).toInt());
        line.reference = l.value(2).toString();
        line.claim = Money::fromDouble(l.value(3).toDouble());
        line.share = l.value(4).toDouble();
        line.monthly = Money::fromDouble(l.value(5).toDouble());
        line.total = Money::fromDouble(l.value(6).toDouble());
        line.quota = l.value(7).toDouble();
        line.answer = l.value(8).toString();
        line.answerDate = l.value(9).toDate();
        line.letterId = l.value(10).toInt();
        p.claims += line.claim;
        p.monthlySum += line.monthly;
        p.totalSum += line.total;
        p.lines << line;
    }
    if (p.lines.isEmpty())
        throw UserWarning(QStringLiteral("Der Plan ist noch nicht auf die Gläubiger aufgeteilt.\rBitte klicken Sie zuerst auf „Aufteilen“."));
    QVector<Money> offered;
    for (const Line &line : p.lines)
        offered << line.claim;
    if (!p.claims.isZero())
        p.course = SettlementSplit::split(offered, p.kind == QStringLiteral("flexibler Nullplan") ? Money() : p.rate, p.months);
    return p;
}

QString Office::senderLine() const
{
    return joinFilled({name1, strasse, joinFilled({plz, ort}, QStringLiteral(" "))}, QStringLiteral(" * "));
}

QString Office::bankLine() const
{
    QStringList lines;
    for (const Bank &b : banks)
        lines << joinFilled({b.name, b.iban.isEmpty() ? QString() : QStringLiteral("IBAN ") + Iban::grouped(b.iban),
                             b.bic.isEmpty() ? QString() : QStringLiteral("BIC ") + b.bic},
                            QStringLiteral(" * "));
    lines.removeAll(QString());
    if (lines.isEmpty())
        return {};
    return QStringLiteral("Bankverbindung: ") + lines.join(QStringLiteral(" | "));
}

QString Office::block() const
{
    return joinFilled({name2, strasse, joinFilled({plz, ort}, QStringLiteral(" "))}, QString(Br));
}

Office office(const Database &db, const QString &adviser, const QString &adviserPhone)
{
    Office o;
    QSqlQuery q = db.exec(QStringLiteral("select name1, name2, strasse, plz, ort, telefon, telefax, email, suna, "
                                         "bank1verwenden, bank1name1, bank1iban, bank1bic, "
                                         "bank2verwenden, bank2name1, bank2iban, bank2bic from firma order by firma_id"));
    if (q.next()) {
        QString *texts[] = {&o.name1, &o.name2, &o.strasse, &o.plz, &o.ort, &o.telefon, &o.telefax, &o.email, &o.suna};
        for (int i = 0; i < 9; ++i)
            *texts[i] = q.value(i).toString();
        for (int first : {9, 13})
            if (q.value(first).toBool())
                o.banks.append({q.value(first + 1).toString().trimmed(), q.value(first + 2).toString().trimmed(),
                                q.value(first + 3).toString().trimmed()});
    }
    o.adviser = adviser;
    o.adviserPhone = adviserPhone;
    return o;
}

Values debtorWords(const Contact &client)
{
    const bool w = client.isWoman();
    const bool man = client.salutation == QStringLiteral("Herr");
    return {
        {QStringLiteral("ekSchuldnerNomGross"), w ? QStringLiteral("Die Schuldnerin") : QStringLiteral("Der Schuldner")},
        {QStringLiteral("ekSchuldnerNom"), w ? QStringLiteral("die Schuldnerin") : QStringLiteral("der Schuldner")},
        {QStringLiteral("ekSchuldnerGen"), w ? QStringLiteral("der Schuldnerin") : QStringLiteral("des Schuldners")},
        // Labels stay open for both while the salutation is not known.
        {QStringLiteral("ekSchuldnerTitel"), w ? QStringLiteral("Schuldnerin") : man ? QStringLiteral("Schuldner") : QStringLiteral("Schuldner/in")},
        {QStringLiteral("ekKontoinhaberTitel"), w ? QStringLiteral("Kontoinhaberin") : man ? QStringLiteral("Kontoinhaber") : QStringLiteral("Kontoinhaber/in")},
        {QStringLiteral("ekKontoinhaberNomGross"), w ? QStringLiteral("Die Kontoinhaberin") : QStringLiteral("Der Kontoinhaber")},
        {QStringLiteral("ekKontoinhaberNom"), w ? QStringLiteral("die Kontoinhaberin") : QStringLiteral("der Kontoinhaber")},
        {QStringLiteral("ekEr"), w ? QStringLiteral("sie") : QStringLiteral("er")},
        {QStringLiteral("ekSein"), w ? QStringLiteral("ihr") : QStringLiteral("sein")},
    };
}

QString courseText(const Plan &p)
{
    const SettlementSplit::Result &c = p.course;
    if (c.phases.size() < 2 && !(c.capped && c.lastMonth < p.months))
        return {};
    auto name = [&p](qsizetype i) {
        const Contact &k = p.lines.at(i).creditor;
        return k.name1.isEmpty() ? k.suna : k.name1;
    };
    QStringList out;
    for (const SettlementSplit::Phase &ph : c.phases) {
        const QString when = ph.firstMonth == ph.lastMonth
                                 ? QStringLiteral("Monat %1").arg(ph.firstMonth)
                                 : QStringLiteral("Monate %1 bis %2").arg(ph.firstMonth).arg(ph.lastMonth);
        QStringList paid;
        Money sum;
        for (qsizetype i = 0; i < ph.payments.size(); ++i) {
            if (ph.payments.at(i).isZero())
                continue;
            sum += ph.payments.at(i);
            paid << QStringLiteral("%1 %2").arg(name(i), cur(ph.payments.at(i)));
        }
        QString line = QStringLiteral("%1: monatlich %2 (%3)").arg(when, cur(sum), paid.join(QStringLiteral(", ")));
        QStringList settled;
        for (qsizetype i = 0; i < p.lines.size(); ++i) {
            const int m = c.lines.value(i).paidInFull;
            if (m >= ph.firstMonth && m <= ph.lastMonth)
                settled << name(i);
        }
        if (!settled.isEmpty())
            line += QStringLiteral("; danach vollständig bezahlt: %1").arg(settled.join(QStringLiteral(", ")));
        out << line;
    }
    if (c.lastMonth > 0 && c.lastMonth < p.months)
        out << QStringLiteral("Mit Monat %1 sind alle Forderungen bezahlt; die Zahlungen enden.").arg(c.lastMonth);
    return out.join(Br);
}

QString planDescription(const Plan &p)
{
    if (p.kind == QStringLiteral("Einmalzahlung"))
        return QStringLiteral("Einmalzahlung von %1 an alle Gläubiger zusammen, verteilt im Verhältnis ihrer Forderungen, "
                              "gegen Verzicht auf die restlichen Forderungen.")
            .arg(cur(p.totalSum));
    if (p.kind == QStringLiteral("flexibler Nullplan"))
        return QStringLiteral("Flexibler Nullplan über %1: Derzeit ist kein pfändbares Einkommen vorhanden (Rate 0,00 €). "
                              "Erzielt %2 während der Laufzeit pfändbares Einkommen, wird der pfändbare Betrag "
                              "im Verhältnis der Forderungen an die Gläubiger verteilt.")
            .arg(months(p.months), p.client.isWoman() ? QStringLiteral("die Schuldnerin") : QStringLiteral("der Schuldner"));
    return QStringLiteral("Ratenplan: monatlich %1 über %2, verteilt im Verhältnis der Forderungen, zusammen %3.")
        .arg(cur(p.monthlySum), months(p.months), cur(p.totalSum));
}

Values planValues(const Plan &p, const Office &o, const QDate &printed)
{
    QStringList notes;
    const bool oneOff = p.kind == QStringLiteral("Einmalzahlung");
    if (p.course.rateLowered)
        notes << (oneOff ? QStringLiteral("Der angegebene Betrag von %1 übersteigt die Forderungen von zusammen %2; er wurde "
                                          "auf %2 gesenkt.")
                         : QStringLiteral("Die angegebene Rate von %1 übersteigt die Forderungen von zusammen %2; sie wurde "
                                          "auf %2 gesenkt."))
                     .arg(cur(p.course.requestedRate), cur(p.claims));
    if (p.capped() && !oneOff)
        notes << QStringLiteral("Die Zahlungen über die Laufzeit würden die Forderungen übersteigen; sie enden, sobald alle "
                                "Forderungen vollständig bezahlt sind. Kein Gläubiger erhält mehr als seine Forderung.");
    const QString note = notes.join(u' ');
    const QString course = courseText(p);
    QString answers;
    int refused = 0, silent = 0;
    for (const Line &l : p.lines) {
        refused += l.answer == QStringLiteral("abgelehnt");
        silent += l.answer == QStringLiteral("keine Antwort");
    }
    auto have = [](int n) { return n == 1 ? QStringLiteral("hat") : QStringLiteral("haben"); };
    answers = QStringLiteral("Von %1 Gläubigern %2 %3 den Plan abgelehnt, %4 %5 nicht geantwortet.")
                  .arg(p.lines.size())
                  .arg(have(refused))
                  .arg(refused)
                  .arg(silent)
                  .arg(have(silent));
    Values v = {
        {QStringLiteral("ekFirma"), o.name1},
        {QStringLiteral("ekFirmaAnschrift"), o.block()},
        {QStringLiteral("ekFirmaKontakt"), joinFilled({o.telefon.isEmpty() ? QString() : QStringLiteral("Telefon ") + o.telefon,
                                                       o.email},
                                                      QStringLiteral(" * "))},
        {QStringLiteral("ekFirmaBank"), o.bankLine()},
        {QStringLiteral("ekVerlaufTitel"), course.isEmpty() ? QString() : QStringLiteral("Verlauf der Zahlungen")},
        {QStringLiteral("ekVerlauf"), course},
        {QStringLiteral("ekKlient"), joinFilled({p.client.name1, p.client.name2}, QStringLiteral(" "))},
        {QStringLiteral("ekKlientAnschrift"), p.client.oneLine()},
        {QStringLiteral("ekKlientGeburt"), GermanFormat::shortDate(p.client.birthday)},
        {QStringLiteral("ekDatum"), GermanFormat::shortDate(p.date)},
        {QStringLiteral("ekDruckdatum"), GermanFormat::shortDate(printed)},
        {QStringLiteral("ekPlanart"), p.kind},
        {QStringLiteral("ekLaufzeit"), months(p.months)},
        {QStringLiteral("ekRate"), cur(p.course.rate)},
        {QStringLiteral("ekBeschreibung"), planDescription(p)},
        {QStringLiteral("ekSumForderung"), cur(p.claims)},
        {QStringLiteral("ekSumRate"), cur(p.monthlySum)},
        {QStringLiteral("ekSumGesamt"), cur(p.totalSum)},
        {QStringLiteral("ekQuote"), pct(p.quota())},
        {QStringLiteral("ekHinweis"), note},
        {QStringLiteral("ekAntworten"), answers},
        {QStringLiteral("ekGescheitert"), GermanFormat::shortDate(p.failedOn.isValid() ? p.failedOn : printed)},
        {QStringLiteral("ekBerater"), o.adviser},
        {QStringLiteral("ekBeraterTelefon"), o.adviserPhone},
        {QStringLiteral("ekOrt"), o.ort},
    };
    v.append(debtorWords(p.client));
    return v;
}

QString letterSubject(const Plan &p)
{
    return QStringLiteral("Außergerichtlicher Einigungsversuch – %1\rAngebot eines Schuldenbereinigungsplans (%2)")
        .arg(joinFilled({p.client.name1, p.client.name2}, QStringLiteral(" ")), p.kind);
}

QString letterText(const Plan &p, const Line &line, const QDate &answerBy)
{
    const QString client = joinFilled({p.client.name1, p.client.name2}, QStringLiteral(" "));
    QString offer;
    if (p.kind == QStringLiteral("Einmalzahlung"))
        offer = QStringLiteral("Auf Ihre Forderung entfällt eine Einmalzahlung von %1 (Anteil %2); das entspricht einer "
                               "Quote von %3. Auf den Rest Ihrer Forderung wäre zu verzichten.")
                    .arg(cur(line.total), pct(line.share), pct(line.quota));
    else if (p.kind == QStringLiteral("flexibler Nullplan"))
        offer = QStringLiteral("Ihr Anteil an künftig pfändbaren Beträgen beträgt %1. Derzeit kann keine Zahlung "
                               "angeboten werden.")
                    .arg(pct(line.share));
    else
        offer = QStringLiteral("Auf Ihre Forderung entfallen monatlich %1 (Anteil %2), über die Laufzeit von %3 "
                               "zusammen %4; das entspricht einer Quote von %5.")
                    .arg(cur(line.monthly), pct(line.share), monthsDative(p.months), cur(line.total), pct(line.quota));
    QStringList text;
    text << QStringLiteral("Sehr geehrte Damen und Herren,") << QString();
    text << QStringLiteral("wir beraten %1 in wirtschaftlichen Fragen. Eine Übersicht aller Gläubiger und Forderungen liegt "
                           "uns vor. Ihre Forderung%2 beträgt nach unseren Unterlagen %3.")
                .arg(client,
                     line.reference.isEmpty() ? QString() : QStringLiteral(" (Ihr Zeichen %1)").arg(line.reference),
                     cur(line.claim));
    text << QString();
    text << QStringLiteral("Um ein gerichtliches Insolvenzverfahren zu vermeiden, bietet %1 allen Gläubigern den "
                           "beigefügten Schuldenbereinigungsplan an. %2")
                .arg(client, planDescription(p));
    text << QString() << offer << QString();
    text << QStringLiteral("Bitte teilen Sie uns bis zum %1 schriftlich mit, ob Sie dem Plan zustimmen. Stimmen nicht alle "
                           "Gläubiger zu, gilt der außergerichtliche Einigungsversuch als gescheitert.")
                .arg(GermanFormat::shortDate(answerBy));
    text << QString() << QStringLiteral("Mit freundlichen Grüßen");
    return text.join(Br);
}

Values pkontoValues(const Contact &client, const PKontoInput &in, const PKontoAllowance::Base &base,
                    const PKontoAllowance::Amounts &a, const Office &o)
{
    const QString validity = in.validTo.isValid()
                                 ? QStringLiteral("vom %1 bis zum %2").arg(GermanFormat::shortDate(in.validFrom),
                                                                          GermanFormat::shortDate(in.validTo))
                                 : QStringLiteral("ab dem %1").arg(GermanFormat::shortDate(in.validFrom));
    Values v = {
        {QStringLiteral("ekFirma"), o.name1},
        {QStringLiteral("ekFirmaAnschrift"), o.block()},
        {QStringLiteral("ekFirmaKontakt"), joinFilled({o.telefon.isEmpty() ? QString() : QStringLiteral("Telefon ") + o.telefon,
                                                       o.email},
                                                      QStringLiteral(" * "))},
        {QStringLiteral("ekFirmaBank"), o.bankLine()},
        {QStringLiteral("ekKlient"), joinFilled({client.name1, client.name2}, QStringLiteral(" "))},
        {QStringLiteral("ekKlientAnschrift"), client.oneLine()},
        {QStringLiteral("ekKlientGeburt"), GermanFormat::shortDate(client.birthday)},
        {QStringLiteral("ekKontoinhaber"), in.holder},
        {QStringLiteral("ekKreditinstitut"), in.bank},
        {QStringLiteral("ekIban"), Iban::grouped(in.iban)},
        {QStringLiteral("ekPersonen"), QString::number(in.persons)},
        {QStringLiteral("ekGrundbetrag"), cur(a.basic)},
        {QStringLiteral("ekErhoehung1"), a.persons >= 1 ? cur(a.increaseFirst) : QString()},
        {QStringLiteral("ekErhoehung2"), a.furtherPersons >= 1 ? cur(a.increaseFurther) : QString()},
        {QStringLiteral("ekWeitere"), QString::number(a.furtherPersons)},
        {QStringLiteral("ekErhoehungEinzeln"), cur(base.increaseFurther)},
        {QStringLiteral("ekKindergeld"), a.childBenefit.isZero() ? QString() : cur(a.childBenefit)},
        {QStringLiteral("ekLeistungen"), a.otherPayments.isZero() ? QString() : cur(a.otherPayments)},
        {QStringLiteral("ekLeistText"), in.otherText},
        {QStringLiteral("ekFreibetrag"), cur(a.monthly)},
        {QStringLiteral("ekEinmalig"), a.oneOff.isZero() ? QString() : cur(a.oneOff)},
        {QStringLiteral("ekEinmaligText"), in.oneOffText},
        {QStringLiteral("ekStand"), GermanFormat::shortDate(base.stand)},
        {QStringLiteral("ekGueltigkeit"), validity},
        {QStringLiteral("ekDatum"), GermanFormat::shortDate(in.issued)},
        {QStringLiteral("ekBerater"), o.adviser},
        {QStringLiteral("ekOrt"), o.ort},
    };
    v.append(debtorWords(client));
    return v;
}

} // namespace SettlementPrintValues
