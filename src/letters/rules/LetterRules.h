#pragma once

#include <QString>

class DataSet;

// What happens to a letter row beyond what the windows do.
namespace LetterRules {

// A new letter belongs to the logged-in user, is dated today and carries the user's name,
// short name and telephone as its adviser.
void newLetter(DataSet &letter, const DataSet &aktUser);

// The start of a title: the recipient's search name and a dash, to be continued by the user.
QString titleStart(const QString &recipientSearchName);

// Appends a text module's text as new line(s) at the end of a body.
QString withModule(const QString &body, const QString &moduleText);

// The columns a copy of a letter takes over from the original: the body, our reference and
// the adviser of the original.
const QStringList &copiedColumns();

} // namespace LetterRules
