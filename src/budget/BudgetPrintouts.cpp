#include "budget/BudgetPrintouts.h"

#include "budget/rules/BudgetCategory.h"
#include "budget/rules/PlanPrintValues.h"
#include "core/AppError.h"
#include "data/DataModules.h"
#include "data/ReportDataSetAdapter.h"
#include "report/TRtfReport.h"
#include "ui/Printout.h"

#include <memory>
#include <vector>

namespace BudgetPrintouts {

namespace {

using PlanPrintValues::Values;

void run(DataModules &dm, TRtfReport &report, const QString &templateName, const std::vector<ReportDataSet *> &sets)
{
    report.setDocumentOpener(Printout::opener());
    report.setOutFile(Printout::outputFile(dm, templateName));
    report.RunReportAndOpen(sets, 5);
}

// Both plan printouts: the item lists in their order (the letters A to H of a template) and
// the plan as the page shows it.
void printPlan(DataModules &dm, const QString &templateName,
               Values (*values)(const DataSet &, const QString &))
{
    TdmHh &hh = *dm.dmHh;
    DataSet *plan = hh.qrBudget;
    if (!plan->isOpen() || plan->isEmpty())
        throw UserWarning(NoPlanWarning);

    // An item being edited is saved with its category's totals first, so the printed totals
    // and the printed item lists agree.
    std::vector<DataSet *> items;
    for (const BudgetCategory &c : BudgetCategories::all())
        items.push_back(c.query(hh));
    for (DataSet *list : items)
        if (list->isPending())
            list->post();

    TRtfReport report;
    report.setInFile(Printout::templateFile(dm, templateName));
    Printout::setVariables(report, values(*plan, Printout::CreditLine));

    std::vector<std::unique_ptr<ReportDataSetAdapter>> adapters;
    std::vector<ReportDataSet *> sets;
    for (DataSet *list : items) {
        if (list->isOpen())
            list->first();
        adapters.push_back(std::make_unique<ReportDataSetAdapter>(list));
        sets.push_back(adapters.back().get());
    }
    run(dm, report, templateName, sets);
}

} // namespace

void printHouseholdPlan(DataModules &dm)
{
    printPlan(dm, HouseholdPlanTemplate, &PlanPrintValues::householdPlan);
}

void printBudgetPlan(DataModules &dm)
{
    printPlan(dm, BudgetPlanTemplate, &PlanPrintValues::budgetPlan);
}

void printBlankForm(DataModules &dm)
{
    TRtfReport report;
    report.setInFile(Printout::templateFile(dm, BlankFormTemplate));
    Printout::setVariables(report, {{QStringLiteral("ekfirma"), Printout::CreditLine}});
    run(dm, report, BlankFormTemplate, {});
}

} // namespace BudgetPrintouts
