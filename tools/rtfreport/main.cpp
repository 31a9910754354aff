#include "RtfReportCommand.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream errors(stderr);
    errors.setEncoding(QStringConverter::Utf8);
    const int code = RtfReportCommand::run(app.arguments().mid(1), errors);
    errors.flush();
    return code;
}
