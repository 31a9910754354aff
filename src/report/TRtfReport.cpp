#include "report/TRtfReport.h"

TRtfReport::TRtfReport()
{
    setTrueValue(QStringLiteral("True"));
    setFalseValue(QStringLiteral("False"));
    setCharset(1);
    setLang(0);
    setOptions(eoGraphicsBinary | eoDotAsColon);
    setDisableControls(true);
}
