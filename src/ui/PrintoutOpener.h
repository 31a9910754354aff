#pragma once

#include "report/DocumentOpener.h"
#include "ui/Printout.h"

#include <functional>

// Stands between a printout and the opener of finished documents: a printout wanted as PDF
// is converted by LibreOffice first (with a progress window the user may cancel) and the
// PDF is opened instead, or shown in the preview window. Everything else passes through.
class PrintoutOpener : public DocumentOpener
{
public:
    using Output = Printout::Output;

    // `target` opens the finished file; `output` says what the printout under way turns into.
    PrintoutOpener(std::function<DocumentOpener *()> target, std::function<Output()> output);

    // Throws AppError with the German reason when the conversion fails or is cancelled, so
    // the printout's page shows it in an error box.
    Result open(const QString &path, int showMode) override;

private:
    std::function<DocumentOpener *()> m_target;
    std::function<Output()> m_output;
};
