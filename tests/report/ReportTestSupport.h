#pragma once

#include "report/ReportMemoryDataSet.h"
#include "report/TRtfReport.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

namespace ReportTestSupport {

// A template body wrapped into a minimal RTF document.
QByteArray document(const QByteArray &body);

// Renders `rtf` with the program's component settings; variables as "name=value" (text).
QByteArray render(const QByteArray &rtf, const QStringList &variables = {},
                  const std::vector<ReportDataSet *> &dataSets = {}, TRtfReport *report = nullptr);

// Renders and returns the message of the failure ("" when the run succeeded).
QString errorOf(const QByteArray &rtf, const QStringList &variables = {},
                const std::vector<ReportDataSet *> &dataSets = {});

// Three rows: name (text), betrag (number), datum (date), aktiv (boolean).
std::unique_ptr<ReportMemoryDataSet> sampleRows(const QString &name = QStringLiteral("qrPosten"));
std::unique_ptr<ReportMemoryDataSet> emptyRows(const QString &name = QStringLiteral("qrLeer"));

} // namespace ReportTestSupport
