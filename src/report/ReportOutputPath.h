#pragma once

#include <QString>

namespace ReportOutputPath {

// The output file of a printout: the output directory, then the user's short name and
// the template's file name joined. Separators, drive colons and ".." in the two names are
// replaced, so a printout never writes outside the output directory.
QString forPrintout(const QString &outputDirectory, const QString &userShortName, const QString &templateFileName);

} // namespace ReportOutputPath
