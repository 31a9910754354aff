#pragma once

#include "settlement/rules/PlanRules.h"

#include <QString>

class DataModules;

// The printouts of the debt counselling, each through a template of the office.
namespace SettlementPrintouts {

inline const QString PlanTemplate = QStringLiteral("Schuldenbereinigungsplan.rtf");
inline const QString LettersTemplate = QStringLiteral("Glaeubigeranschreiben.rtf");
inline const QString FailureTemplate = QStringLiteral("BescheinigungScheitern.rtf");
inline const QString PKontoTemplate = QStringLiteral("PKontoBescheinigung.rtf");

inline constexpr int AnswerDays = PlanRules::AnswerDays;

void printPlan(DataModules &dm, int planId);
// One letter per line of the plan in one document, a page each; every letter is stored in
// the letters of the logged-in user with its creditor as recipient. Returns their number.
int printLetters(DataModules &dm, int planId);
// Refused while answers are missing or everyone agreed, or when the plan's date of failure
// lies before an answer still outstanding; a plan without that date gets the latest refusal
// or end of an answer period.
void printFailure(DataModules &dm, int planId);
void printPKonto(DataModules &dm, int pkontoId);

} // namespace SettlementPrintouts
