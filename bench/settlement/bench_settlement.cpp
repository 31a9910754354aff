// A client with 200 claims: splitting the rate over them and printing the settlement plan,
// against rendering the same table from a CSV file with the rtfreport command (in this
// process, so neither side pays for starting a program).
#include "BenchTiming.h"

#include "core/DateUtil.h"
#include "core/GermanFormat.h"
#include "data/DataModules.h"
#include "report/DocumentOpener.h"
#include "settlement/SettlementPrintouts.h"
#include "settlement/rules/PlanRules.h"
#include "settlement/rules/SettlementData.h"
#include "settlement/rules/SettlementPrintValues.h"
#include "ui/Printout.h"

#include "RtfReportCommand.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kClaims = 200;
constexpr int kRounds = 7;

class QuietOpener : public DocumentOpener
{
public:
    Result open(const QString &, int) override { return {}; }
};

QString csvCell(QString s)
{
    s.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    DataModules dm;
    dm.db.open(dir.path());
    const QString templates = QStringLiteral(FINORRA_SOURCE_DIR "/resources/Reportvorlagen/");
    dm.db.exec(QStringLiteral("update firma set FReportIn = :in, FReportOut = :out"),
               {{QStringLiteral("in"), templates}, {QStringLiteral("out"), dir.path() + QLatin1Char('/')}});
    dm.dmMP->lookupUser(QStringLiteral("sb"));
    QuietOpener opener;
    Printout::installOpener(&opener);

    int client = 0, planId = 0;
    dm.db.transaction([&] {
        dm.db.exec(QStringLiteral("insert into adressen (Name1, Suna, Akunde) values ('Anna Müller', 'Müller, Anna', :k)"),
                   {{QStringLiteral("k"), true}});
        client = dm.db.scalar(QStringLiteral("select max(adr_id) from adressen")).toInt();
        for (int i = 1; i <= kClaims; ++i) {
            dm.db.exec(QStringLiteral("insert into adressen (Name1, Suna, Strasse, Plz, Ort) values (:n, :n, 'Weg 1', '28195', 'Bremen')"),
                       {{QStringLiteral("n"), QStringLiteral("Gläubiger Nr. %1 GmbH & Co. KG").arg(i)}});
            dm.db.exec(QStringLiteral("insert into forderung (Kunde_id, Glaeub_id, Aktenzeichen, Hauptforderung, Zinsen, Kosten) "
                                      "values (:k, (select max(adr_id) from adressen), :az, :h, :z, 12.5)"),
                       {{QStringLiteral("k"), client},
                        {QStringLiteral("az"), QStringLiteral("AZ-%1/2026").arg(i)},
                        {QStringLiteral("h"), 100.0 + (i * 7919 % 100000) / 7.0},
                        {QStringLiteral("z"), (i % 13) * 3.17}});
        }
        dm.db.exec(QStringLiteral("insert into sbplan (Kunde_id, Planart, Plandat, Laufzeit, Rate) values (:k, 'Ratenplan', :d, 36, 1234.56)"),
                   {{QStringLiteral("k"), client}, {QStringLiteral("d"), DateUtil::today()}});
        planId = dm.db.scalar(QStringLiteral("select max(plan_id) from sbplan")).toInt();
    });

    const double splitAndPrint = BenchTiming::bestOf(kRounds, [&] {
        PlanRules::computeLines(dm.db, planId);
        SettlementPrintouts::printPlan(dm, planId);
    });

    // The same table and variables handed to the command as a CSV file and --var options.
    namespace PV = SettlementPrintValues;
    const PV::Plan plan = PV::plan(dm.db, planId);
    QString csv = QStringLiteral("Glaeubiger,Aktenzeichen,Forderung,Anteil,Monatsrate,Gesamt,Quote,Antwort,Antwortdat\n");
    for (const PV::Line &l : plan.lines)
        csv += QStringList{csvCell(l.creditor.name1), csvCell(l.reference), csvCell(GermanFormat::currency(l.claim)),
                           csvCell(GermanFormat::number(l.share, 2) + QStringLiteral(" %")),
                           csvCell(GermanFormat::currency(l.monthly)), csvCell(GermanFormat::currency(l.total)),
                           csvCell(GermanFormat::number(l.quota, 2) + QStringLiteral(" %")), QString(), QString()}
                   .join(QLatin1Char(','))
               + QLatin1Char('\n');
    const QString csvPath = dir.filePath(QStringLiteral("posten.csv"));
    QFile f(csvPath);
    if (!f.open(QIODevice::WriteOnly) || f.write(csv.toUtf8()) < 0)
        return 1;
    f.close();
    QStringList args{templates + SettlementPrintouts::PlanTemplate, dir.filePath(QStringLiteral("tool.rtf"))};
    PV::Values values = PV::planValues(plan, PV::office(dm.db, QStringLiteral("Susanne Berger"), QString()), DateUtil::today());
    values.append({QStringLiteral("ekFuss"), Printout::CreditLine});
    values.append({QStringLiteral("ekfirma_absender"), QString()});
    for (const auto &[name, value] : values)
        args << QStringLiteral("--var") << name + QLatin1Char('=') + value;
    args << QStringLiteral("--data") << QStringLiteral("qrPosten=") + csvPath;
    QString errors;
    QTextStream err(&errors);
    const double tool = BenchTiming::bestOf(kRounds, [&] {
        if (RtfReportCommand::run(args, err) != 0)
            std::printf("rtfreport failed: %s\n", qPrintable(errors));
    });

    const double splitOnly = BenchTiming::bestOf(kRounds, [&] {
        QVector<Money> claims;
        for (const PV::Line &l : plan.lines)
            claims << l.claim;
        SettlementSplit::split(claims, Money::fromCents(123456), 36);
    });
    std::printf("settlement plan, %d claims: split, store and print %.1f ms (the split alone %.3f ms)\n", kClaims,
                splitAndPrint, splitOnly);
    std::printf("rtfreport, same table from CSV: %.1f ms; plan / rtfreport ratio %.2f (goal <= 5)\n", tool,
                splitAndPrint / tool);
    return 0;
}
