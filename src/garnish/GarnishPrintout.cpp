#include "garnish/GarnishPrintout.h"

#include "core/GermanFormat.h"
#include "data/DataModules.h"
#include "data/ReportDataSetAdapter.h"
#include "report/TRtfReport.h"

namespace GarnishPrintout {

namespace {

// The credit line of every printout that names the office.
const QString CreditLine = QStringLiteral("Erstellt mit Finorra 1.0 (Pro), V 1.00.06");

} // namespace

QString closingSentence(double nettobisende)
{
    // Always with its cents: an amount in a sentence, not a bare number.
    return QStringLiteral("Der Betrag über %1 € ist voll pfändbar.").arg(GermanFormat::fixed(nettobisende, 2));
}

void print(DataModules &dm, DocumentOpener *opener)
{
    DataSet *pfand = dm.dmExtras->qrPfand;
    DataSet *table = dm.dmExtras->qrPfaendung;
    pfand->reopen();
    table->first();   // a closed table fails here, before anything is written

    DataSet *firma = dm.dmFirma->qrFirma;
    if (!firma->isOpen())
        firma->open();
    TRtfReport report;
    report.setDocumentOpener(opener);
    report.setVarList({QStringLiteral("ekFirma="), QStringLiteral("ekSchluss="), QStringLiteral("ekfuss="),
                       QStringLiteral("ekStand=")});
    report.setInFile(firma->asString(QStringLiteral("FReportIn")) + TemplateName);
    report.FindVariable(QStringLiteral("ekFirma")).setText(firma->asString(QStringLiteral("Suna")));
    // Without base values the table itself tells where it ends.
    const int lastRow = table->recordCount() - 1;
    const double end = pfand->isEmpty() ? table->valueAt(lastRow, table->fieldIndex(QStringLiteral("NettoBis"))).toDouble()
                                        : pfand->asFloat(QStringLiteral("Nettobisende"));
    report.FindVariable(QStringLiteral("ekSchluss")).setText(closingSentence(end));
    report.FindVariable(QStringLiteral("ekfuss")).setText(CreditLine);
    report.FindVariable(QStringLiteral("ekStand"))
        .setText(QStringLiteral("Stand: ") + GermanFormat::shortDate(pfand->asDate(QStringLiteral("Stand"))));
    const QString user = dm.dmMP->qrAktUser->isOpen() ? dm.dmMP->qrAktUser->asString(QStringLiteral("SbKurz")).toLower()
                                                      : QString();
    report.setOutFile(firma->asString(QStringLiteral("FReportOut")) + user + TemplateName);
    ReportDataSetAdapter rows(table);
    report.RunReportAndOpen({&rows}, 5);
}

} // namespace GarnishPrintout
