#include "settlement/SettlementPrintouts.h"

#include "core/AppError.h"
#include "core/DateUtil.h"
#include "core/GermanFormat.h"
#include "data/DataModules.h"
#include "data/WriteTransaction.h"
#include "report/DocumentOpener.h"
#include "report/OpenFailureReason.h"
#include "report/ReportError.h"
#include "report/ReportMemoryDataSet.h"
#include "report/RtfText.h"
#include "report/TRtfReport.h"
#include "settlement/rules/PKontoAllowance.h"
#include "settlement/rules/PlanRules.h"
#include "settlement/rules/SettlementPrintValues.h"
#include "ui/Printout.h"

#include <QSqlQuery>

namespace SettlementPrintouts {

namespace {

using Kind = ReportDataSet::FieldKind;
namespace PV = SettlementPrintValues;

// The show mode of a normal window.
constexpr int ShowNormal = 5;

struct User
{
    int id = 0;
    QString shortName, name, phone;
};

User currentUser(DataModules &dm)
{
    User u;
    const DataSet *user = dm.dmMP->qrAktUser;
    if (user->isOpen() && !user->isEmpty()) {
        u.id = user->asInteger(QStringLiteral("Ben_id"));
        u.shortName = user->asString(QStringLiteral("SbKurz")).toLower();
        u.name = user->asString(QStringLiteral("SbLang"));
        u.phone = user->asString(QStringLiteral("SbTelefon"));
    }
    return u;
}

PV::Office officeFor(DataModules &dm)
{
    const User u = currentUser(dm);
    return PV::office(dm.db, u.name, u.phone);
}

std::unique_ptr<ReportMemoryDataSet> lineSet(const PV::Plan &p)
{
    auto set = std::make_unique<ReportMemoryDataSet>(QStringLiteral("qrPosten"));
    for (const char *name : {"Glaeubiger", "Aktenzeichen", "Forderung", "Anteil", "Monatsrate", "Gesamt", "Quote",
                             "Antwort", "Antwortdat"})
        set->addField(QLatin1String(name), Kind::Text);
    for (const PV::Line &l : p.lines) {
        const QString creditor = l.creditor.name1.isEmpty() ? l.creditor.suna : l.creditor.name1;
        set->addRow({creditor, l.reference, GermanFormat::currency(l.claim), GermanFormat::number(l.share, 2) + QStringLiteral(" %"),
                     GermanFormat::currency(l.monthly), GermanFormat::currency(l.total),
                     GermanFormat::number(l.quota, 2) + QStringLiteral(" %"), l.answer.isEmpty() ? QStringLiteral("–") : l.answer,
                     GermanFormat::shortDate(l.answerDate)});
    }
    return set;
}

void prepare(DataModules &dm, TRtfReport &report, const QString &templateName, const PV::Values &values)
{
    report.setDocumentOpener(Printout::opener());
    report.setInFile(Printout::templateFile(dm, templateName));
    PV::Values all = values;
    all.append({QStringLiteral("ekFuss"), Printout::CreditLine});
    all.append({QStringLiteral("ekfirma_absender"), officeFor(dm).senderLine()});
    Printout::setVariables(report, all);
    report.setOutFile(Printout::outputFile(dm, templateName));
}

void openDocument(const QString &path)
{
    DocumentOpener *opener = Printout::opener();
    const DocumentOpener::Result result = opener ? opener->open(path, ShowNormal) : DocumentOpener::Result{false, 31};
    if (!result.ok)
        throw ReportError(OpenFailureReason::openFailedMessage(path, result.errorNumber));
}

// Rows of the overview that a page of a letter's enclosure takes. The rows have a fixed
// height and texts cut to one line, so a page holds them whatever the names, and each
// letter's pages can be counted before the word processor lays them out.
constexpr int OverviewRowsPerPage = 30;

QString cut(const QString &text, int length)
{
    return text.size() <= length ? text : text.left(length - 1) + QChar(0x2026);
}

QString rtf(const QString &text) { return QString::fromLatin1(RtfText::escape(text)); }

QString overviewRow(const QStringList &cells, bool head, bool sum)
{
    static const int right[] = {2700, 4200, 5500, 6500, 7750, 9468};
    QString r = QStringLiteral("\\trowd\\trgaph60\\trleft0\\trrh-300\\trpaddl60\\trpaddr60\\trpaddfl3\\trpaddfr3");
    if (head)
        r += QStringLiteral("\\trhdr");
    for (int x : right) {
        for (const char *side : {"t", "l", "b", "r"})
            r += QStringLiteral("\\clbrdr%1\\brdrs\\brdrw5\\brdrcf3").arg(QLatin1String(side));
        if (head)
            r += QStringLiteral("\\clcbpat2");
        else if (sum)
            r += QStringLiteral("\\clcbpat5");
        r += QStringLiteral("\\clvertalc\\cellx%1").arg(x);
    }
    r += u'\n';
    for (int i = 0; i < cells.size(); ++i)
        r += QStringLiteral("\\pard\\plain\\intbl%1\\f0\\fs14%2 %3\\cell\n")
                 .arg(i < 2 ? QStringLiteral("\\ql") : QStringLiteral("\\qr"), head || sum ? QStringLiteral("\\b") : QString(),
                      rtf(cells.at(i)));
    return r + QStringLiteral("\\row\n");
}

// The enclosure of every letter, on pages of its own: all creditors of the plan.
QString overviewRtf(const PV::Plan &p, const QString &heading)
{
    const QStringList head = {QStringLiteral("Gläubiger"), QStringLiteral("Aktenzeichen"), QStringLiteral("Forderung"),
                              QStringLiteral("Anteil"), QStringLiteral("Rate mtl."), QStringLiteral("Gesamt")};
    QString out;
    for (qsizetype i = 0; i < p.lines.size(); ++i) {
        if (i % OverviewRowsPerPage == 0) {
            out += QStringLiteral("\\page\\pard\\plain\\sa80\\keepn\\f0\\fs16\\b %1%2\\par\n")
                       .arg(rtf(heading), i == 0 ? QString() : rtf(QStringLiteral(" – Fortsetzung")));
            out += overviewRow(head, true, false);
        }
        const PV::Line &l = p.lines.at(i);
        const QString creditor = l.creditor.name1.isEmpty() ? l.creditor.suna : l.creditor.name1;
        out += overviewRow({cut(creditor, 36), cut(l.reference, 19), GermanFormat::currency(l.claim),
                            GermanFormat::number(l.share, 2) + QStringLiteral(" %"), GermanFormat::currency(l.monthly),
                            GermanFormat::currency(l.total)},
                           false, false);
    }
    out += overviewRow({QStringLiteral("Summe"), QString(), GermanFormat::currency(p.claims), QStringLiteral("100,00 %"),
                        GermanFormat::currency(p.monthlySum), GermanFormat::currency(p.totalSum)},
                       false, true);
    return out;
}

// The letter's first page and the pages of its enclosure.
int letterPages(const PV::Plan &p)
{
    return 1 + static_cast<int>((p.lines.size() + OverviewRowsPerPage - 1) / OverviewRowsPerPage);
}

QString storedText(const QString &text)
{
    QString s = text;
    return s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

} // namespace

void printPlan(DataModules &dm, int planId)
{
    const PV::Plan p = PV::plan(dm.db, planId);
    TRtfReport report;
    prepare(dm, report, PlanTemplate, PV::planValues(p, officeFor(dm), DateUtil::today()));
    auto lines = lineSet(p);
    report.RunReportAndOpen({lines.get()}, ShowNormal);
}

int printLetters(DataModules &dm, int planId)
{
    const PV::Plan p = PV::plan(dm.db, planId);
    const User user = currentUser(dm);
    if (user.id == 0)
        throw UserWarning(QStringLiteral("Es ist kein Benutzer angemeldet."));
    const QDate today = DateUtil::today();
    const QString subject = PV::letterSubject(p);
    const QString client = QStringList{p.client.name1, p.client.name2}.join(u' ').trimmed();

    auto letters = std::make_unique<ReportMemoryDataSet>(QStringLiteral("qrBriefe"));
    for (const char *name : {"Empname", "Anschrift", "IhrZeichen", "Betreff", "Text", "Weiter"})
        letters->addField(QLatin1String(name), Kind::Text);
    QStringList texts;
    for (const PV::Line &l : p.lines) {
        texts << PV::letterText(p, l, today.addDays(AnswerDays));
        // Each letter is a section of its own, so it counts its own pages.
        letters->addRow({l.creditor.nameBlock(), l.creditor.addressBlock(), l.reference, subject, texts.last(),
                         texts.size() > 1 ? QStringLiteral("1") : QString()});
    }
    auto lines = lineSet(p);
    TRtfReport report;
    PV::Values values = PV::planValues(p, officeFor(dm), today);
    values.append({QStringLiteral("ekAnlage"),
                   overviewRtf(p, QStringLiteral("Anlage: Schuldenbereinigungsplan vom %1 (Übersicht aller Gläubiger)")
                                      .arg(GermanFormat::shortDate(p.date)))});
    // The pages of the letter's section; a word processor that knows the field counts them
    // itself, the others show the count made here.
    values.append({QStringLiteral("ekSeitenzahl"),
                   QStringLiteral("{\\field{\\*\\fldinst SECTIONPAGES}{\\fldrslt %1}}").arg(letterPages(p))});
    prepare(dm, report, LettersTemplate, values);

    // The letters are stored only with a document that was written, and the other way round.
    WriteTransaction tx(dm.db);
    DataSet stored(&dm.db, QStringLiteral("settlementLetters"));
    stored.setSql(QStringLiteral("select * from schrift where schrift_id = :id"));
    stored.setParam(QStringLiteral("id"), -1);
    stored.open();
    for (qsizetype i = 0; i < p.lines.size(); ++i) {
        const PV::Line &l = p.lines.at(i);
        stored.append();
        stored.setValue(QStringLiteral("Erfdat"), today);
        stored.setValue(QStringLiteral("Emp_id"), l.creditor.id);
        stored.setValue(QStringLiteral("IhrZeichen"), l.reference.left(150));
        stored.setValue(QStringLiteral("UnserZeichen"), client.left(150));
        stored.setValue(QStringLiteral("SB"), user.name.left(50));
        stored.setValue(QStringLiteral("SBKurz"), user.shortName.left(10));
        stored.setValue(QStringLiteral("SBTelefon"), user.phone.left(50));
        stored.setValue(QStringLiteral("Titel"), QStringLiteral("%1 - Einigungsversuch %2").arg(l.creditor.suna, client).left(150));
        stored.setValue(QStringLiteral("Betreff"), storedText(subject));
        stored.setValue(QStringLiteral("Text"), storedText(texts.at(i)));
        stored.setValue(QStringLiteral("Projekt"), QStringLiteral("Einigungsversuch"));
        stored.setValue(QStringLiteral("Emp_Mako"), false);
        stored.setValue(QStringLiteral("User_id"), user.id);
        stored.post();
        dm.db.exec(QStringLiteral("update sbposten set schrift_id = :s where plan_id = :p and ford_id = :f"),
                   {{QStringLiteral("s"), stored.value(QStringLiteral("Schrift_id"))},
                    {QStringLiteral("p"), planId},
                    {QStringLiteral("f"), l.claimId}});
    }
    report.RunReport({letters.get(), lines.get()});
    tx.commit();
    openDocument(report.OutFile());
    return static_cast<int>(p.lines.size());
}

void printFailure(DataModules &dm, int planId)
{
    const QString refusal = PlanRules::failureRefusal(dm.db, planId);
    if (!refusal.isEmpty())
        throw UserWarning(refusal);
    PV::Plan p = PV::plan(dm.db, planId);
    const QString tooEarly = PlanRules::failureDateRefusal(dm.db, planId, p.failedOn);
    if (!tooEarly.isEmpty())
        throw UserWarning(tooEarly);
    if (!p.failedOn.isValid()) {
        const QString notYet = PlanRules::failureNotYet(dm.db, planId, DateUtil::today());
        if (!notYet.isEmpty())
            throw UserWarning(notYet);
        p.failedOn = PlanRules::defaultFailureDate(dm.db, planId);
        if (!p.failedOn.isValid())
            p.failedOn = DateUtil::today();
        dm.db.exec(QStringLiteral("update sbplan set scheiterdat = :d where plan_id = :p"),
                   {{QStringLiteral("d"), p.failedOn}, {QStringLiteral("p"), planId}});
    }
    TRtfReport report;
    prepare(dm, report, FailureTemplate, PV::planValues(p, officeFor(dm), DateUtil::today()));
    auto lines = lineSet(p);
    report.RunReportAndOpen({lines.get()}, ShowNormal);
}

void printPKonto(DataModules &dm, int pkontoId)
{
    QSqlQuery q = dm.db.exec(QStringLiteral("select kunde_id, personen, kindergeld, leistungen, leisttext, einmalig, "
                                            "einmaligtext, kontoinhaber, kreditinstitut, iban, gueltigab, gueltigbis, "
                                            "ausstelldat from pkonto where pk_id = :id"),
                             {{QStringLiteral("id"), pkontoId}});
    if (!q.next())
        throw UserWarning(QStringLiteral("Für den Klienten sind keine Angaben zum P-Konto gespeichert."));
    PV::PKontoInput in;
    const PV::Contact client = PV::contact(dm.db, q.value(0).toInt());
    in.persons = q.value(1).toInt();
    in.childBenefit = Money::fromDouble(q.value(2).toDouble());
    in.otherPayments = Money::fromDouble(q.value(3).toDouble());
    in.otherText = q.value(4).toString();
    in.oneOff = Money::fromDouble(q.value(5).toDouble());
    in.oneOffText = q.value(6).toString();
    in.holder = q.value(7).toString();
    in.bank = q.value(8).toString();
    in.iban = q.value(9).toString();
    in.validFrom = q.value(10).toDate();
    in.validTo = q.value(11).toDate();
    in.issued = q.value(12).toDate();
    if (!in.issued.isValid())
        in.issued = DateUtil::today();
    if (!in.validFrom.isValid())
        in.validFrom = in.issued;
    if (in.holder.trimmed().isEmpty())
        in.holder = QStringList{client.name1, client.name2}.join(u' ').trimmed();
    PKontoAllowance::ensureSeeded(dm.db);
    const PKontoAllowance::Base base = PKontoAllowance::baseInForce(dm.db, in.validFrom);
    const PKontoAllowance::Amounts a = PKontoAllowance::allowance(base, in.persons, in.childBenefit, in.otherPayments, in.oneOff);
    TRtfReport report;
    prepare(dm, report, PKontoTemplate, PV::pkontoValues(client, in, base, a, officeFor(dm)));
    report.RunReportAndOpen({}, ShowNormal);
}

} // namespace SettlementPrintouts
