#pragma once

#include <QByteArray>
#include <QString>

// A stretch of the template: RTF copied as it is, or a field between two backslashes.
struct TemplatePiece
{
    enum class Kind { Text, Field };

    Kind kind = Kind::Text;
    QByteArray rtf;            // Text: the RTF; Field: its whole source, delimiters included
    QString content;           // Field: the cleaned content
    QByteArray trailingCodes;  // Field: the RTF codes set apart from the content
};
