#include "hhbook/HhbookPrintout.h"

#include "core/GermanFormat.h"
#include "data/DataModules.h"
#include "data/ReportDataSetAdapter.h"
#include "report/TRtfReport.h"
#include "ui/Printout.h"

namespace HhbookPrintout {

namespace {

QString share(double percent)
{
    return GermanFormat::number(percent, 6, 2) + QStringLiteral(" %");
}

} // namespace

QList<QPair<QString, QString>> variables(DataModules &dm, const HhbookRules::Summary &s,
                                         const HhbookRules::ActiveFilter &filter)
{
    const DataSet &book = *dm.dmHh->qrHhplan;
    const DataSet &bookings = *dm.dmHh->qrHhbuch;
    const HhbookRules::Period period = HhbookRules::periodOf(filter, bookings);
    auto money = [&book](const char *field) {
        return GermanFormat::currency(book.asMoney(QLatin1String(field)));
    };
    const bool surplus = book.asMoney(QStringLiteral("Defizit")) >= Money();
    const QList<QPair<const char *, QString>> values = {
        {"ekfirma", Printout::CreditLine},
        {"eksuna", book.asString(QStringLiteral("Bezeichnung"))},
        {"ekerfdat", GermanFormat::shortDate(book.asDate(QStringLiteral("Erfdat")))},
        {"ekaenddat", QString()},
        {"ekvon", period.from},
        {"ekbis", period.to},
        {"ekfilter", HhbookRules::filterText(filter)},
        {"ekeinkommen", money("Eksum")},
        {"ekwohnen", money("Wksum")},
        {"ekversicherung", money("Vssum")},
        {"ekverkehr", money("Vksum")},
        {"ekallgemein", money("Aksum")},
        {"ekzwisu", money("Zwisu")},
        {"ekleben", money("Lksum")},
        {"ekmaxkredit", money("Maxkredit")},
        {"eksonstkredit", money("Sksum")},
        {"ekmaxhaus", money("Maxhaus")},
        {"ekhauskredit", money("Hksum")},
        {"ekdefizit", money("Defizit")},
        {"ekueber", surplus ? QStringLiteral("Überschuss") : QStringLiteral("Defizit")},
        {"ekekproz", share(s.shares[0])},
        {"ekwkproz", share(s.shares[1])},
        {"ekvkproz", share(s.shares[3])},
        {"ekvsproz", share(s.shares[2])},
        {"ekakproz", share(s.shares[4])},
        {"eklkproz", share(s.shares[5])},
        {"ekskproz", share(s.shares[6])},
        {"ekhkproz", share(s.shares[7])},
    };
    QList<QPair<QString, QString>> out;
    for (const auto &[name, value] : values)
        out.append({QLatin1String(name), value});
    return out;
}

void print(DataModules &dm, const HhbookRules::Summary &summary, const HhbookRules::ActiveFilter &filter)
{
    DataSet *bookings = dm.dmHh->qrHhbuch;
    TRtfReport report;
    report.setDocumentOpener(Printout::opener());
    report.setInFile(Printout::templateFile(dm, TemplateName));
    const auto values = variables(dm, summary, filter);
    QStringList names;
    for (const auto &[name, value] : values)
        names << name + u'=';
    report.setVarList(names);
    for (const auto &[name, value] : values)
        report.FindVariable(name).setText(value);
    report.setOutFile(Printout::outputFile(dm, TemplateName));
    bookings->first();
    ReportDataSetAdapter rows(bookings);
    report.RunReportAndOpen({&rows}, 5);
}

} // namespace HhbookPrintout
