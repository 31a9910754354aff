#pragma once

#include "core/Money.h"

#include <QString>

class DataSet;
class Database;

// Claims of creditors against a client, whatever window edits them.
namespace ClaimRules {

// No claim of a private household comes near this; larger amounts are typing slips.
inline constexpr Money MaxAmount = Money::fromCents(10000000000);   // 100.000.000,00 €

// Main claim, interest and costs together.
Money total(const DataSet &claim);
// The claim row may be stored: a creditor named, no part negative or absurdly large.
// Throws UserWarning naming what to correct.
void checkClaim(const DataSet &claim, const Database &db);
// A new claim belongs to the contact shown, which must be marked as client.
void newClaim(DataSet &claim, const DataSet &client);
// All claims of a client together.
Money clientTotal(const Database &db, int clientId);
// Why the contact may not be deleted (claims or plans name it), or empty when it may go.
QString deleteRefusal(const Database &db, int adrId);

} // namespace ClaimRules
