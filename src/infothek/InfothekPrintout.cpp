#include "infothek/InfothekPrintout.h"

#include "core/AppError.h"
#include "data/DataModules.h"
#include "infothek/rules/InfothekRules.h"
#include "report/DocumentOpener.h"
#include "report/OpenFailureReason.h"
#include "report/TRtfReport.h"
#include "ui/Printout.h"

#include <QFileInfo>

namespace InfothekPrintout {

void print(DataModules &dm)
{
    const DataSet *document = dm.dmExtras->qrInfos;
    const QString datei = document->asString(QStringLiteral("Datei"));
    // Checked before the file is looked at: the output name is built from it as well.
    if (!InfothekRules::isPlainFileName(datei))
        throw UserWarning(InfothekRules::notPlainMessage(datei));
    const QString path = document->asString(QStringLiteral("Pfad")) + datei;
    if (!QFileInfo(path).isFile())
        throw UserWarning(InfothekRules::notFoundMessage(path));

    // Only an RTF document has fields to fill; a PDF, a spreadsheet or a picture is opened
    // as it is, with the desktop's program for its type.
    if (!InfothekRules::isRtfFile(path)) {
        DocumentOpener *opener = Printout::opener();
        const DocumentOpener::Result result = opener ? opener->open(path, 5) : DocumentOpener::Result{false, 31};
        if (!result.ok)
            throw UserWarning(InfothekRules::notOpenedMessage(path, OpenFailureReason::text(result.errorNumber, path)));
        return;
    }

    TRtfReport report;
    report.setDocumentOpener(Printout::opener());
    report.setInFile(path);
    Printout::setVariables(report, {{QStringLiteral("ekFirma"), Printout::CreditLine},
                                    {QStringLiteral("ekFuss"), Printout::CreditLine}});
    report.setOutFile(Printout::outputFile(dm, datei));
    report.RunReportAndOpen({}, 5);
}

} // namespace InfothekPrintout
