#include "appointments/TerminePrintout.h"

#include "data/DataModules.h"
#include "data/ReportDataSetAdapter.h"
#include "report/TRtfReport.h"
#include "ui/Printout.h"

namespace TerminePrintout {

void print(DataModules &dm, const QString &longDate)
{
    DataSet *appointments = dm.dmExtras->qrTermine;
    appointments->first();   // a closed list fails here, before anything is written

    TRtfReport report;
    report.setDocumentOpener(Printout::opener());
    report.setInFile(Printout::templateFile(dm, TemplateName));
    Printout::setVariables(report, {{QStringLiteral("ekFirma"), Printout::CreditLine},
                                    {QStringLiteral("ekTermin"), longDate}});
    report.setOutFile(Printout::outputFile(dm, TemplateName));
    ReportDataSetAdapter rows(appointments);
    report.RunReportAndOpen({&rows}, 5);
}

} // namespace TerminePrintout
