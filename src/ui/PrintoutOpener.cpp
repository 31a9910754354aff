#include "ui/PrintoutOpener.h"

#include "core/AppError.h"
#include "ui/PdfConverter.h"
#include "ui/PdfPreview.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Shown while LibreOffice works. A plain window rather than a dialog: it has no event loop
// of its own, the conversion drives it.
class PdfProgress : public QWidget
{
public:
    explicit PdfProgress(const QString &fileName)
        : QWidget(QApplication::activeWindow(), Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    {
        setObjectName(QStringLiteral("frmPdfFortschritt"));
        setWindowTitle(QStringLiteral("PDF wird erstellt"));
        setWindowModality(Qt::ApplicationModal);
        setAttribute(Qt::WA_DeleteOnClose, false);
        auto *label = new QLabel(QStringLiteral("LibreOffice wandelt %1 in PDF um …").arg(fileName), this);
        auto *bar = new QProgressBar(this);
        bar->setRange(0, 0);
        auto *cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
        cancel->setObjectName(QStringLiteral("pdfBtnAbbrechen"));
        QObject::connect(cancel, &QPushButton::clicked, this, [this] { m_cancelled = true; });
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(label);
        layout->addWidget(bar);
        layout->addWidget(cancel, 0, Qt::AlignRight);
        setMinimumWidth(380);
    }

    bool cancelled() const { return m_cancelled; }

private:
    bool m_cancelled = false;
};

} // namespace

PrintoutOpener::PrintoutOpener(std::function<DocumentOpener *()> target, std::function<Output()> output)
    : m_target(std::move(target)), m_output(std::move(output))
{
}

DocumentOpener::Result PrintoutOpener::open(const QString &path, int showMode)
{
    DocumentOpener *target = m_target();
    const Output output = m_output();
    if (output == Output::Document || !path.endsWith(QStringLiteral(".rtf"), Qt::CaseInsensitive))
        return target->open(path, showMode);

    PdfConverter::Result pdf;
    {
        PdfProgress progress(QFileInfo(path).fileName());
        progress.show();
        pdf = PdfConverter::convert(path, [&progress] {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            return !progress.cancelled();
        });
    }
    if (!pdf.ok)
        throw AppError(pdf.error);
    if (output == Output::Pdf)
        return target->open(pdf.pdfPath, showMode);

    PdfPreview preview(pdf.pdfPath, path, target, QApplication::activeWindow());
    preview.exec();
    return {true, 0};
}
