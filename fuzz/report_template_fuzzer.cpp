// libFuzzer target: any bytes as a report template, compiled and run against two small
// data sets. Every outcome must be a rendered document or a ReportError, never a crash,
// a hang or unbounded memory.

#include "core/AppError.h"
#include "report/ReportMemoryDataSet.h"
#include "report/TRtfReport.h"

#include <QDate>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray rtf(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    if (!rtf.startsWith("{\\rtf"))
        rtf.prepend("{\\rtf1 ");

    ReportMemoryDataSet rows(QStringLiteral("qrPosten"));
    rows.addField(QStringLiteral("name"), ReportDataSet::FieldKind::Text);
    rows.addField(QStringLiteral("betrag"), ReportDataSet::FieldKind::Number);
    rows.addField(QStringLiteral("datum"), ReportDataSet::FieldKind::Date);
    rows.addField(QStringLiteral("ja"), ReportDataSet::FieldKind::Boolean);
    rows.addRow({QStringLiteral("Miete "), 750.5, QDate(2024, 1, 31), true});
    rows.addRow({QStringLiteral("Strom"), -12.25, QVariant(), false});
    rows.addRow({QVariant(), QVariant(), QDate(2024, 2, 29), QVariant()});
    ReportMemoryDataSet empty(QStringLiteral("qrLeer"));
    empty.addField(QStringLiteral("x"), ReportDataSet::FieldKind::Text);

    TRtfReport report;
    report.setMaxScanPasses(2000);
    report.setMaxOutputBytes(1024 * 1024);
    report.setVarList({QStringLiteral("ekName=Müller"), QStringLiteral("n=1"), QStringLiteral("s=")});
    try {
        report.renderTemplate(rtf, {&rows, &empty});
    } catch (const AppError &) {
    }
    return 0;
}
