#pragma once

#include <QStringList>
#include <QTextStream>

// rtfreport TEMPLATE OUTPUT [--var NAME=VALUE]... [--data NAME=FILE.csv]...
// Renders a template without opening the result. Returns the exit code; on failure the
// last line written to `errors` is the engine's message.
namespace RtfReportCommand {

int run(const QStringList &arguments, QTextStream &errors);

} // namespace RtfReportCommand
