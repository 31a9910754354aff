#pragma once

#include "report/ReportMemoryDataSet.h"

#include <memory>

// Reads a data set for a report from a CSV file: UTF-8, comma-separated, double quotes;
// the first row names the columns, a name may end in :number, :money, :date, :time or
// :boolean. Every problem ends in a ReportError with a German message.
class CsvDataSetReader
{
public:
    static std::unique_ptr<ReportMemoryDataSet> read(const QString &path, const QString &name);
    static std::unique_ptr<ReportMemoryDataSet> parse(const QByteArray &bytes, const QString &name,
                                                      const QString &fileLabel);
};
