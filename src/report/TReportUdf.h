#pragma once

#include "report/ReportValue.h"

#include <QString>

#include <functional>
#include <vector>

// One extra template function supplied by the program.
class TReportUdf
{
public:
    enum ResultType { udfrNil, udfrTReportVariable, udfrTPicture, udfrTMemoryStream };

    // The result of a call: a value for udfrTReportVariable, picture bytes for the two
    // picture types, nothing for udfrNil.
    struct Result
    {
        ReportValue value;
        QByteArray picture;
    };
    using Calculate = std::function<void(const TReportUdf &sender, const std::vector<ReportValue> &args,
                                         int argCount, Result &result)>;

    QString Name;
    int ArgMinCount = 0;
    int ArgMaxCount = 0;
    ResultType ResultType_ = udfrTReportVariable;
    Calculate OnCalculate;
};
