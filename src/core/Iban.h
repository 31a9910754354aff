#pragma once

#include <QString>

// International bank account numbers as people type them: with blanks, in small letters,
// in groups of four. Checked by the check digits of ISO 13616 and by the length each
// country gives its numbers.
namespace Iban {

// Without blanks, in capitals: the form that is stored and checked.
QString compact(const QString &typed);
// In groups of four, as printed on paper.
QString grouped(const QString &iban);
// Why the number is no valid IBAN, as half a German sentence ("die Prüfziffer stimmt
// nicht"), or empty when it is one. An empty input is valid: the field is optional.
QString problem(const QString &typed);
// Throws UserWarning naming the field by its label when the number is no valid IBAN.
void check(const QString &typed, const QString &fieldLabel);
// The length of the IBANs of a country, 0 for a country without IBAN.
int lengthFor(const QString &country);

// Business identifier codes (BIC, SWIFT): 8 or 11 characters.
QString bicProblem(const QString &typed);
void checkBic(const QString &typed, const QString &fieldLabel);

} // namespace Iban
