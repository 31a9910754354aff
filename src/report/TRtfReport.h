#pragma once

#include "report/TBaseRtfReport.h"

// The report component every printout of the program uses, with the program's settings:
// "True"/"False", character set 0 (Windows-1252), language 0, binary pictures and "alias.column".
class TRtfReport : public TBaseRtfReport
{
public:
    TRtfReport();
};
