#pragma once

#include "data/FieldType.h"

#include <QVariant>

// Conversions between what SQLite returns, what a field holds and what a user types.
namespace FieldValue {

// A stored value as the field's type: QString, int, double, QDate, QTime or bool; NULL
// (and text that is no valid date or time) stays a null QVariant.
QVariant fromStorage(const QVariant &stored, FieldType type);

// Any value assigned to a field, in the field's type. Text given to a number, date or
// time field is read in the German form; bad text throws DataError with the German
// conversion message. Empty text is NULL.
QVariant coerce(const QVariant &value, FieldType type, int size);

// The value as people read it: currency, dd.MM.yyyy, HH:mm, "Ja"/"Nein" stay for the
// controls; numbers with a decimal comma.
QString displayText(const QVariant &value, FieldType type);
// The value as it is edited: like displayText, but money without the currency sign and
// without thousands points.
QString editText(const QVariant &value, FieldType type);

bool sameValue(const QVariant &a, const QVariant &b);

} // namespace FieldValue
