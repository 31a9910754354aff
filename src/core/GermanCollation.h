#pragma once

#include <QString>
#include <QStringView>

// German dictionary order (DIN 5007, variant 1), the order an adviser expects in every list:
// "ä" sorts as "a", "ö" as "o", "ü" as "u", "ß" as "ss", and case does not decide where a
// word goes. Only words that are equal in that sense are then told apart: first without
// accents before with them ("Muller" before "Müller"), then small before capital letters,
// last by code, so the order is total and the same every time. This is the order of the
// ICU collation "de" that the office server sorts by, so both backends list alike.
namespace GermanCollation {

// Negative, zero or positive as `a` sorts before, with or after `b`; zero only for equal texts.
int compare(QStringView a, QStringView b);

inline bool lessThan(const QString &a, const QString &b)
{
    return compare(a, b) < 0;
}

// Same as compare() for two UTF-8 texts (what SQLite hands a collation), without building
// strings when both are plain ASCII.
int compareUtf8(const char *a, int aLength, const char *b, int bLength);

} // namespace GermanCollation
