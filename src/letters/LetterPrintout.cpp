#include "letters/LetterPrintout.h"

#include "core/AppError.h"
#include "data/DataModules.h"
#include "report/TRtfReport.h"
#include "ui/Printout.h"

namespace LetterPrintout {

void print(DataModules &dm, LetterPrintValues::Form form)
{
    TdmSchrift &schrift = *dm.dmSchrift;
    DataSet *letter = schrift.qrSchrift;
    if (!letter->isOpen() || (letter->isEmpty() && !letter->isPending()))
        throw UserWarning(NoLetterWarning);
    letter->post();
    // The recipient read now, so a contact changed meanwhile prints as it is stored.
    schrift.showRecipient(letter->value(QStringLiteral("Emp_id")).toInt());

    DataSet *firma = dm.dmFirma->qrFirma;
    if (!firma->isOpen())
        firma->open();
    const QString templateName = form == LetterPrintValues::Form::Standard ? StandardTemplate : InternalTemplate;
    TRtfReport report;
    report.setDocumentOpener(Printout::opener());
    report.setInFile(Printout::templateFile(dm, templateName));
    const LetterPrintValues::Values values = LetterPrintValues::values(*letter, *schrift.qrEmpKon, *firma, form);
    Printout::setVariables(report, values);
    report.setOutFile(Printout::outputFile(dm, templateName));
    report.RunReportAndOpen({}, 5);
}

} // namespace LetterPrintout
