#include "garnish/GarnishPrintout.h"

#include "core/AppError.h"
#include "core/GermanFormat.h"
#include "data/DataModules.h"
#include "data/ReportDataSetAdapter.h"
#include "garnish/rules/Garnishment.h"
#include "report/TRtfReport.h"
#include "ui/Printout.h"

namespace GarnishPrintout {

QString closingSentence(double nettobisende)
{
    // Always with its cents: an amount in a sentence, not a bare number.
    return QStringLiteral("Der Betrag über %1 € ist voll pfändbar.").arg(GermanFormat::fixed(nettobisende, 2));
}

void print(DataModules &dm)
{
    DataSet *pfand = dm.dmExtras->qrPfand;
    DataSet *table = dm.dmExtras->qrPfaendung;
    if (!table->isOpen())
        throw UserWarning(TableNotActiveMessage);   // before anything is written
    pfand->reopen();
    table->first();

    TRtfReport report;
    report.setDocumentOpener(Printout::opener());
    report.setVarList({QStringLiteral("ekFirma="), QStringLiteral("ekSchluss="), QStringLiteral("ekfuss="),
                       QStringLiteral("ekStand=")});
    report.setInFile(Printout::templateFile(dm, TemplateName));
    report.FindVariable(QStringLiteral("ekFirma")).setText(dm.dmFirma->qrFirma->asString(QStringLiteral("Suna")));
    // The sentence closes the table printed above it, so the table tells where it ends, also
    // when base values were saved without building it anew.
    const GarnishmentLimits limits = garnishmentLimits(*table);
    report.FindVariable(QStringLiteral("ekSchluss")).setText(closingSentence(limits.upper.toDouble()));
    report.FindVariable(QStringLiteral("ekfuss")).setText(Printout::CreditLine);
    report.FindVariable(QStringLiteral("ekStand"))
        .setText(QStringLiteral("Stand: ") + GermanFormat::shortDate(pfand->asDate(QStringLiteral("Stand"))));
    report.setOutFile(Printout::outputFile(dm, TemplateName));
    ReportDataSetAdapter rows(table);
    report.RunReportAndOpen({&rows}, 5);
}

} // namespace GarnishPrintout
