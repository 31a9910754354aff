#pragma once

#include "core/Money.h"
#include "settlement/rules/SettlementSplit.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class DataSet;
class Database;

// Settlement plans of a client: their kinds, the rate proposed from a budget plan, the
// lines split from the claims, the creditors' answers and the failed attempt.
namespace PlanRules {

inline const QString Instalments = QStringLiteral("Ratenplan");
inline const QString OneOff = QStringLiteral("Einmalzahlung");
inline const QString ZeroPlan = QStringLiteral("flexibler Nullplan");
const QStringList &kinds();

inline const QString Agreed = QStringLiteral("zugestimmt");
inline const QString Refused = QStringLiteral("abgelehnt");
inline const QString NoAnswer = QStringLiteral("keine Antwort");
const QStringList &answers();

inline constexpr int DefaultMonths = 36;

// A new plan of the contact shown: an instalment plan over 36 months, dated today.
void newPlan(DataSet &plan, const DataSet &client);
// Throws UserWarning when the plan cannot be stored as it stands.
void checkPlan(const DataSet &plan);
// A line's answer must be one of the three; an answer without date is dated today.
void checkLine(DataSet &line);

enum class RateSource { Garnishable, Surplus };
// The budget plans the client's plan may take its rate from: those naming the client and
// the user's plans that name no client yet; (Bud_id, title).
QList<QPair<int, QString>> budgetPlans(const Database &db, int clientId, int userId);
// The garnishable amount or the surplus of a budget plan (negative for a deficit).
Money budgetRate(const Database &db, int budId, RateSource source);
// The budget plan names the client from now on.
void assignBudget(const Database &db, int budId, int clientId);

// Splits the plan's rate over the client's claims as they stand and stores the lines;
// answers already given by a creditor for a claim stay with it. One transaction.
SettlementSplit::Result computeLines(const Database &db, int planId);

// Why the failure cannot be certified yet, or empty when it can.
QString failureRefusal(const Database &db, int planId);

// Creditors get four weeks from the letter to answer.
inline constexpr int AnswerDays = 28;
// The day the attempt failed, unless the adviser gives another: the latest refusal, or the
// end of the answer period of a creditor who did not answer, whichever is later. Invalid
// when no line was refused or left unanswered.
QDate defaultFailureDate(const Database &db, int planId);
// Why the attempt cannot have failed on `day` (a refusal came later, an answer period was
// still running), or empty.
QString failureDateRefusal(const Database &db, int planId, const QDate &day);
// Why the failure cannot be certified on `today`: the answer period of a creditor who did
// not answer still runs. Empty when it can.
QString failureNotYet(const Database &db, int planId, const QDate &today);
// The plan's own date of failure must not lie before an answer still outstanding.
void checkFailureDate(const Database &db, const DataSet &plan);

} // namespace PlanRules
