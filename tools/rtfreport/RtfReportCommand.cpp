#include "RtfReportCommand.h"

#include "CsvDataSetReader.h"
#include "report/ReportError.h"
#include "report/TRtfReport.h"

#include <memory>
#include <vector>

namespace RtfReportCommand {

namespace {

const char *kUsage = "Aufruf: rtfreport VORLAGE AUSGABE [--var NAME=WERT]... [--data NAME=DATEI.csv]...";

bool splitAssignment(const QString &text, QString *name, QString *value)
{
    const qsizetype eq = text.indexOf(u'=');
    if (eq <= 0)
        return false;
    *name = text.left(eq);
    *value = text.mid(eq + 1);
    return true;
}

} // namespace

int run(const QStringList &arguments, QTextStream &errors)
{
    QStringList positional;
    std::vector<std::pair<QString, QString>> vars, data;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == u"--var" || a == u"--data") {
            QString name, value;
            if (i + 1 >= arguments.size() || !splitAssignment(arguments[i + 1], &name, &value)) {
                errors << QString::fromLatin1(kUsage) << '\n'
                       << QStringLiteral("Nach %1 wird NAME=WERT erwartet.").arg(a) << '\n';
                return 1;
            }
            (a == u"--var" ? vars : data).emplace_back(name, value);
            ++i;
        } else if (a.startsWith(u"--")) {
            errors << QString::fromLatin1(kUsage) << '\n' << QStringLiteral("Unbekannte Option: %1").arg(a) << '\n';
            return 1;
        } else {
            positional << a;
        }
    }
    if (positional.size() != 2) {
        errors << QString::fromLatin1(kUsage) << '\n'
               << QStringLiteral("Es werden genau eine Vorlage und eine Ausgabedatei erwartet.") << '\n';
        return 1;
    }

    try {
        TRtfReport report;
        report.setInFile(positional[0]);
        report.setOutFile(positional[1]);
        for (const auto &[name, value] : vars) {
            if (!report.variables().contains(name))
                report.AddVariable(name);
            report.FindVariable(name).setText(value);
        }
        std::vector<std::unique_ptr<ReportMemoryDataSet>> owned;
        std::vector<ReportDataSet *> sets;
        for (const auto &[name, file] : data) {
            owned.push_back(CsvDataSetReader::read(file, name));
            sets.push_back(owned.back().get());
        }
        report.RunReport(sets);
        // A misspelt name is copied into the letter unchanged; the author should see it.
        for (const UnknownField &field : report.unknownFields())
            errors << QStringLiteral("Warnung: Zeile %1: unbekanntes Feld „%2“ bleibt unverändert.").arg(field.line).arg(field.name)
                   << '\n';
    } catch (const AppError &e) {
        errors << e.message() << '\n';
        return 1;
    }
    return 0;
}

} // namespace RtfReportCommand
