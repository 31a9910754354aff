#pragma once

#include <QString>

// The column types of every table. Storage in SQLite: dates as ISO text yyyy-MM-dd, times as
// HH:mm:ss, booleans as 0/1, money and floats as REAL.
enum class FieldType {
    Text,
    Integer,
    SmallInt,
    AutoIncrement,
    Money,
    Float,
    Date,
    Time,
    Boolean,
    Memo,
};

inline bool isTextual(FieldType t) { return t == FieldType::Text || t == FieldType::Memo; }
inline bool isWholeNumber(FieldType t)
{
    return t == FieldType::Integer || t == FieldType::SmallInt || t == FieldType::AutoIncrement;
}
inline bool isNumeric(FieldType t) { return isWholeNumber(t) || t == FieldType::Money || t == FieldType::Float; }
