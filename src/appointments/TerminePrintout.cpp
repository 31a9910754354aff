#include "appointments/TerminePrintout.h"

#include "appointments/rules/AppointmentRules.h"
#include "data/DataModules.h"
#include "data/ReportDataSetAdapter.h"
#include "report/TRtfReport.h"
#include "ui/Printout.h"

namespace TerminePrintout {

QString heading(const QString &sql, const QString &longDate)
{
    using namespace AppointmentRules;
    if (sql == allDatesSql(OpenAndDone))
        return QStringLiteral("Alle Termine, offene und erledigte");
    if (sql == allDatesSql(Open))
        return QStringLiteral("Alle offenen Termine");
    if (sql == allDatesSql(Done))
        return QStringLiteral("Alle erledigten Termine");
    // The day's selections differ from one another only in the done mark.
    if (sql.contains(QLatin1String("wverledigt <> true")))
        return QStringLiteral("Offene Termine am ") + longDate;
    if (sql.contains(QLatin1String("wverledigt =  true")))
        return QStringLiteral("Erledigte Termine am ") + longDate;
    return QStringLiteral("Termine am ") + longDate;
}

void print(DataModules &dm, const QString &longDate)
{
    DataSet *appointments = dm.dmExtras->qrTermine;
    appointments->first();   // a closed list fails here, before anything is written

    TRtfReport report;
    report.setDocumentOpener(Printout::opener());
    report.setInFile(Printout::templateFile(dm, TemplateName));
    Printout::setVariables(report, {{QStringLiteral("ekFirma"), Printout::CreditLine},
                                    {QStringLiteral("ekTermin"), heading(appointments->sql(), longDate)}});
    report.setOutFile(Printout::outputFile(dm, TemplateName));
    ReportDataSetAdapter rows(appointments);
    report.RunReportAndOpen({&rows}, 5);
}

} // namespace TerminePrintout
