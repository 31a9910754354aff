#include "hhbook/PlanActualPrintout.h"

#include "core/GermanFormat.h"
#include "report/ReportMemoryDataSet.h"
#include "report/TRtfReport.h"
#include "ui/Printout.h"

namespace PlanActualPrintout {

bool print(DataModules &dm, const PlanActual::Comparison &c, const QString &bookName, const QString &planName)
{
    using PlanActual::Line;
    auto money = [](Money m) { return GermanFormat::currency(m); };
    const QString over = QStringLiteral("über Plan");
    ReportMemoryDataSet rows(QStringLiteral("sollist"));
    for (const char *f : {"Kategorie", "Zeitraum", "Soll", "Ist", "Differenz", "Hinweis"})
        rows.addField(QLatin1String(f), ReportDataSet::FieldKind::Text);
    for (const Line &line : c.lines) {
        if (line.plannedYear().isZero() && line.actualYear().isZero())
            continue;   // a category without plan and bookings would only lengthen the list
        const QString name = PlanActual::planCategories().at(line.category).name;
        for (int m = 0; m < 12; ++m)
            rows.addRow({m == 0 ? name : QString(), GermanFormat::longMonthName(m + 1), money(line.planned[m]),
                         money(line.actual[m]), money(Line::difference(line.planned[m], line.actual[m])),
                         line.exceeded(m) ? over : QString()});
        rows.addRow({QString(), QStringLiteral("Jahr %1").arg(c.year), money(line.plannedYear()),
                     money(line.actualYear()), money(Line::difference(line.plannedYear(), line.actualYear())),
                     line.exceededYear() ? over : QString()});
    }
    if (rows.rowCount() == 0)
        return false;
    TRtfReport report;
    report.setDocumentOpener(Printout::opener());
    report.setInFile(Printout::templateFile(dm, TemplateName));
    Printout::setVariables(report, {{QStringLiteral("ekfirma"), Printout::CreditLine},
                                    {QStringLiteral("eksuna"), bookName},
                                    {QStringLiteral("ekplan"), planName},
                                    {QStringLiteral("ekjahr"), QString::number(c.year)},
                                    {QStringLiteral("ekstand"), c.actualText()}});
    report.setOutFile(Printout::outputFile(dm, TemplateName));
    rows.first();
    report.RunReportAndOpen({&rows}, 5);
    return true;
}

} // namespace PlanActualPrintout
