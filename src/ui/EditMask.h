#pragma once

#include <QString>

class QLineEdit;

// The edit masks of the windows are written in the classic form "!99/99/0000;1;_": '0' a
// required digit, '9' an optional one, '/' the date separator, ':' the time separator.
// Qt reads digits the other way round; this turns one into the other.
namespace EditMask {

QString toQt(const QString &classicMask);

// Gives the input its mask. A click into an empty mask puts the cursor at its start, so
// the digits typed next fill it from the first place instead of falling off its end.
void apply(QLineEdit *edit, const QString &classicMask);

inline const QString Date = QStringLiteral("!99/99/0000;1;_");
inline const QString DateShortDigits = QStringLiteral("!90/90/0000;1;_");
inline const QString Postcode = QStringLiteral("00000;1;_");
inline const QString Time = QStringLiteral("!90:00;1;_");

} // namespace EditMask
