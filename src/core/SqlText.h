#pragma once

#include <QString>
#include <QStringList>

namespace SqlText {

// Fills the "%s" places of an SQL text in order ("%S" is the same place, "%%" a percent
// sign); any other percent sign stays as it is. Missing arguments leave the place empty.
QString format(const QString &pattern, const QStringList &args);

// Doubles every single quote so typed text stays one quoted literal.
QString doubleQuotes(const QString &text);

// The text as a quoted SQL literal: quotes doubled, enclosed in single quotes.
QString quoted(const QString &text);

// Lower-cases the letters A to Z only; umlauts and everything else stay as typed.
QString lowerAscii(const QString &text);

} // namespace SqlText
