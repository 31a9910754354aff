#pragma once

#include <QChar>
#include <QString>

struct sqlite3;

// Replaces SQLite's ASCII-only lower(), upper() and LIKE by versions that know every
// letter, so "ärzte" finds "Ärzte" as users expect, and adds the collation "german" by
// which the program's lists sort (core/GermanCollation).
namespace SqliteFunctions {

void install(sqlite3 *handle);

// LIKE with "%" and "_" wild cards, letters compared without case; exposed for tests.
bool likeMatches(const QString &pattern, const QString &text, QChar escape = QChar());

} // namespace SqliteFunctions
