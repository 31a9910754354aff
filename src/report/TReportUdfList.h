#pragma once

#include "report/TReportUdf.h"

#include <memory>
#include <vector>

// The extra functions of a report component, looked up before the built-in ones.
class TReportUdfList
{
public:
    static constexpr int InterfaceVersion = 306;

    // Throws "Illegal function name …" or "User defined function with name … already exists".
    TReportUdf &add(const TReportUdf &udf);
    const TReportUdf *find(const QString &name) const;   // case ignored
    int count() const { return static_cast<int>(m_functions.size()); }

    int version() const { return m_version; }
    void setVersion(int version) { m_version = version; }

private:
    std::vector<std::unique_ptr<TReportUdf>> m_functions;
    int m_version = InterfaceVersion;
};
