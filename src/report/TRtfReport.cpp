#include "report/TRtfReport.h"

TRtfReport::TRtfReport()
{
    setTrueValue(QStringLiteral("True"));
    setFalseValue(QStringLiteral("False"));
    // The values are written as Windows-1252 escapes; character set 0 names exactly that.
    // The default set (1) lets word processors outside a German Windows read them in another
    // code page and garble every umlaut.
    setCharset(0);
    setLang(0);
    // Pictures go out in hexadecimal, as word processors write them: LibreOffice shows
    // every picture that follows a \binN picture as that picture.
    setOptions(eoDotAsColon);
    setDisableControls(true);
}
