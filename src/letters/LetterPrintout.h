#pragma once

#include "letters/rules/LetterPrintValues.h"

#include <QString>

class DataModules;

// "&Drucken" on the letters page: the current letter through one of the two letter forms.
namespace LetterPrintout {

inline const QString StandardTemplate = QStringLiteral("Standardbrief.rtf");
inline const QString InternalTemplate = QStringLiteral("Internerbrief.rtf");
inline const QString NoLetterWarning = QStringLiteral("Für den Ausdruck liegen keine Datensätze vor!");

// Stores a letter being edited first, so the document shows what the window shows.
void print(DataModules &dm, LetterPrintValues::Form form);

} // namespace LetterPrintout
