#include "help/HelpPrintout.h"

#include "core/LineBreaks.h"
#include "data/DataModules.h"
#include "report/TRtfReport.h"
#include "ui/Printout.h"

namespace HelpPrintout {

void print(DataModules &dm)
{
    DataSet *texts = dm.dmFirma->qrProgInfo;
    const bool any = texts->isOpen() && !texts->isEmpty();
    TRtfReport report;
    report.setDocumentOpener(Printout::opener());
    report.setInFile(Printout::templateFile(dm, TemplateName));
    Printout::setVariables(report, {{QStringLiteral("ekFirma"), Printout::CreditLine},
                                    {QStringLiteral("ekrubrik"), any ? texts->asString(QStringLiteral("Rubrik")) : QString()},
                                    {QStringLiteral("ekinfo"), any ? LineBreaks::forPrintout(texts->asString(QStringLiteral("Text"))) : QString()}});
    report.setOutFile(Printout::outputFile(dm, TemplateName));
    report.RunReportAndOpen({}, 5);
}

} // namespace HelpPrintout
