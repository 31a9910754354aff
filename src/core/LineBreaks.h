#pragma once

#include <QString>

namespace LineBreaks {

// Typed text separates its lines with LF (or CR LF); a printout's variables take a single CR
// for each line break, which the report engine turns into a paragraph.
inline QString forPrintout(const QString &text)
{
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    s.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    return s;
}

} // namespace LineBreaks
