#pragma once

#include <QString>

#include <functional>

// Turns a finished RTF printout into a PDF beside it, through LibreOffice without a window.
// LibreOffice runs as a process of its own with a profile of this program, so a LibreOffice
// the user has open neither takes over the job nor blocks it.
namespace PdfConverter {

struct Result
{
    bool ok = false;
    QString pdfPath;
    // The German message for the user when the conversion failed.
    QString error;
};

// The LibreOffice program: the one set, else soffice or libreoffice on the search path.
// Empty when none is installed.
QString program();
// Another program (tests: one that is missing or fails); an empty text goes back to the search.
void setProgram(const QString &path);

// How long one conversion may take before it is stopped; 120 seconds unless set.
int timeoutMs();
void setTimeoutMs(int ms);

// Converts `rtfPath` to the PDF of the same name in the same folder. `waiting` is called
// about ten times a second while LibreOffice works; returning false cancels the conversion.
Result convert(const QString &rtfPath, const std::function<bool()> &waiting = {});

} // namespace PdfConverter
