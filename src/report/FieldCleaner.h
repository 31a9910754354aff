#pragma once

#include <QByteArray>
#include <QString>

// Separates the text of a field from the formatting codes a word processor put inside it.
class FieldCleaner
{
public:
    struct Result
    {
        QString content;
        QByteArray trailingCodes;
    };

    static Result clean(const QByteArray &source);

    // Quote pairs of field content; the closing characters for `opening`, or empty when it
    // opens no literal.
    static QString closingQuotes(QChar opening);
};
