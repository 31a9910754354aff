#include "contacts/ContactPrintouts.h"

#include "core/LineBreaks.h"
#include "data/DataModules.h"
#include "data/ReportDataSetAdapter.h"
#include "report/TRtfReport.h"
#include "ui/Printout.h"

namespace ContactPrintouts {

const QList<CardVariable> &cardVariables()
{
    static const QList<CardVariable> vars = {
        {QStringLiteral("ekAdrNummer"), QStringLiteral("Adr_id")},
        {QStringLiteral("ekAdrName1"), QStringLiteral("Name1")},
        {QStringLiteral("ekAdrSuchname"), QStringLiteral("Suna")},
        {QStringLiteral("ekAdrName2"), QStringLiteral("Name2")},
        {QStringLiteral("ekAdrName3"), QStringLiteral("Name3")},
        {QStringLiteral("ekAdrStrasse"), QStringLiteral("Strasse")},
        {QStringLiteral("ekAdrHausnr"), QStringLiteral("Hausnr")},
        {QStringLiteral("ekAdrPlz"), QStringLiteral("Plz")},
        {QStringLiteral("ekAdrOrt"), QStringLiteral("Ort")},
        {QStringLiteral("ekAdrBuland"), QStringLiteral("Buland")},
        {QStringLiteral("ekAdrTelefon"), QStringLiteral("Telefon")},
        {QStringLiteral("ekAdrTelefax"), QStringLiteral("Telefax")},
        {QStringLiteral("ekAdrMobil"), QStringLiteral("Mobil")},
        {QStringLiteral("ekAdrEmail"), QStringLiteral("Email")},
        {QStringLiteral("ekAdrInternet"), QStringLiteral("Internet")},
        {QStringLiteral("ekAdrNotizen"), QStringLiteral("Notizen")}};
    return vars;
}

void printCard(DataModules &dm)
{
    DataSet *contacts = dm.dmAdressen->qrKontakte;
    // Typed text not yet in the row belongs on the card as well.
    contacts->flushEditors();
    TRtfReport report;
    report.setDocumentOpener(Printout::opener());
    QStringList names;
    for (const CardVariable &v : cardVariables())
        names << v.variable + u'=';
    report.setVarList(names);
    report.setInFile(Printout::templateFile(dm, CardTemplate));
    const bool hasRow = contacts->isOpen() && !contacts->isEmpty();
    for (const CardVariable &v : cardVariables())
        report.FindVariable(v.variable).setText(hasRow ? LineBreaks::forPrintout(contacts->asString(v.column)) : QString());
    report.setOutFile(Printout::outputFile(dm, CardTemplate));
    report.RunReportAndOpen({}, 5);
}

void printList(DataModules &dm)
{
    DataSet *contacts = dm.dmAdressen->qrKontakte;
    contacts->first();   // a closed list fails here, before anything is written
    TRtfReport report;
    report.setDocumentOpener(Printout::opener());
    report.setVarList({QStringLiteral("ekfirma=")});
    report.setInFile(Printout::templateFile(dm, ListTemplate));
    report.FindVariable(QStringLiteral("ekfirma")).setText(Printout::CreditLine);
    report.setOutFile(Printout::outputFile(dm, ListTemplate));
    ReportDataSetAdapter rows(contacts);
    report.RunReportAndOpen({&rows}, 5);
}

} // namespace ContactPrintouts
