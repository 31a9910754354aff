#include "ui/PdfPreview.h"

#include "report/DocumentOpener.h"
#include "report/OpenFailureReason.h"
#include "ui/Dialogs.h"
#include "ui/Icons.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfPageNavigator>
#include <QPdfView>
#include <QPrintDialog>
#include <QPrinter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Paging and zoom show their icon only, so the bar fits a narrow window; the caption stays
// as tooltip.
QToolButton *button(QToolBar *bar, const char *name, const QString &caption, QStyle::StandardPixmap icon,
                    bool withText = true)
{
    auto *b = new QToolButton(bar);
    b->setObjectName(QLatin1String(name));
    b->setText(caption);
    b->setToolTip(QString(caption).remove(u'&'));
    b->setIcon(Icons::standard(icon));
    b->setToolButtonStyle(withText ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly);
    bar->addWidget(b);
    return b;
}

} // namespace

PdfPreview::PdfPreview(const QString &pdfPath, const QString &rtfPath, DocumentOpener *opener, QWidget *parent)
    : QDialog(parent), m_rtfPath(rtfPath), m_opener(opener)
{
    setObjectName(QStringLiteral("frmPdfVorschau"));
    setWindowTitle(QStringLiteral("Vorschau - ") + QFileInfo(pdfPath).fileName());
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    resize(900, 760);

    m_document = new QPdfDocument(this);
    m_document->load(pdfPath);

    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("pdfToolBar"));
    bar->setIconSize(QSize(16, 16));
    QToolButton *printButton = button(bar, "pdfTbutDrucken", QStringLiteral("&Drucken"), QStyle::SP_FileDialogContentsView);
    QToolButton *wordButton = button(bar, "pdfTbutTextverarbeitung", QStringLiteral("In &Textverarbeitung öffnen"),
                                     QStyle::SP_FileDialogDetailedView);
    bar->addSeparator();
    m_prior = button(bar, "pdfTbutVorige", QStringLiteral("Vorige Seite"), QStyle::SP_ArrowLeft, false);
    m_pageLabel = new QLabel(bar);
    m_pageLabel->setObjectName(QStringLiteral("pdfLblSeite"));
    m_pageLabel->setContentsMargins(8, 0, 8, 0);
    bar->addWidget(m_pageLabel);
    m_next = button(bar, "pdfTbutNaechste", QStringLiteral("Nächste Seite"), QStyle::SP_ArrowRight, false);
    bar->addSeparator();
    QToolButton *smaller = button(bar, "pdfTbutVerkleinern", QStringLiteral("Verkleinern"), QStyle::SP_ArrowDown, false);
    QToolButton *larger = button(bar, "pdfTbutVergroessern", QStringLiteral("Vergrößern"), QStyle::SP_ArrowUp, false);
    QToolButton *width = button(bar, "pdfTbutSeitenbreite", QStringLiteral("Seitenbreite"), QStyle::SP_TitleBarMaxButton, false);
    QToolButton *whole = button(bar, "pdfTbutGanzeSeite", QStringLiteral("Ganze Seite"), QStyle::SP_TitleBarNormalButton, false);
    bar->addSeparator();
    QToolButton *close = button(bar, "pdfTbutSchliessen", QStringLiteral("&Schließen"), QStyle::SP_DialogCloseButton);

    m_view = new QPdfView(this);
    m_view->setObjectName(QStringLiteral("pdfView"));
    m_view->setDocument(m_document);
    m_view->setPageMode(QPdfView::PageMode::SinglePage);
    m_view->setZoomMode(QPdfView::ZoomMode::FitInView);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_view, 1);

    connect(printButton, &QToolButton::clicked, this, &PdfPreview::print);
    connect(wordButton, &QToolButton::clicked, this, &PdfPreview::openInWordProcessor);
    connect(m_prior, &QToolButton::clicked, this, [this] { showPage(currentPage() - 1); });
    connect(m_next, &QToolButton::clicked, this, [this] { showPage(currentPage() + 1); });
    connect(smaller, &QToolButton::clicked, this, [this] { zoomBy(1 / 1.25); });
    connect(larger, &QToolButton::clicked, this, [this] { zoomBy(1.25); });
    connect(width, &QToolButton::clicked, this, [this] { m_view->setZoomMode(QPdfView::ZoomMode::FitToWidth); });
    connect(whole, &QToolButton::clicked, this, [this] { m_view->setZoomMode(QPdfView::ZoomMode::FitInView); });
    connect(close, &QToolButton::clicked, this, &QDialog::accept);
    connect(m_view->pageNavigator(), &QPdfPageNavigator::currentPageChanged, this, &PdfPreview::updatePageControls);
    updatePageControls();
}

int PdfPreview::pageCount() const
{
    return m_document->pageCount();
}

int PdfPreview::currentPage() const
{
    return m_view->pageNavigator()->currentPage();
}

void PdfPreview::showPage(int page)
{
    if (pageCount() == 0)
        return;
    page = std::clamp(page, 0, pageCount() - 1);
    m_view->pageNavigator()->jump(page, {}, m_view->zoomFactor());
    updatePageControls();
}

qreal PdfPreview::zoomFactor() const
{
    return m_view->zoomFactor();
}

void PdfPreview::zoomBy(qreal factor)
{
    // From a fitted view the step starts at the size the page is shown in now.
    qreal current = m_view->zoomFactor();
    if (m_view->zoomMode() != QPdfView::ZoomMode::Custom && pageCount() > 0) {
        const QSizeF page = m_document->pagePointSize(currentPage()) * (m_view->logicalDpiX() / 72.0);
        const QSize room = m_view->viewport()->size();
        if (!page.isEmpty() && !room.isEmpty())
            current = m_view->zoomMode() == QPdfView::ZoomMode::FitToWidth
                          ? room.width() / page.width()
                          : std::min(room.width() / page.width(), room.height() / page.height());
    }
    m_view->setZoomMode(QPdfView::ZoomMode::Custom);
    m_view->setZoomFactor(std::clamp(current * factor, 0.1, 8.0));
}

void PdfPreview::updatePageControls()
{
    const int count = pageCount();
    const int page = currentPage();
    m_pageLabel->setText(count == 0 ? QStringLiteral("Keine Seite")
                                    : QStringLiteral("Seite %1 von %2").arg(page + 1).arg(count));
    m_prior->setEnabled(page > 0);
    m_next->setEnabled(page + 1 < count);
}

bool PdfPreview::printTo(QPrinter &printer)
{
    const int count = pageCount();
    if (count == 0)
        return false;
    int from = 0;
    int to = count - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = std::clamp(printer.fromPage() - 1, 0, count - 1);
        to = std::clamp(printer.toPage() > 0 ? printer.toPage() - 1 : to, from, count - 1);
    }
    // The PDF pages carry their own margins.
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // Rendered at the printer's resolution (at most 300 dpi), so text stays sharp without
    // sending huge pictures to the printer.
    const qreal dpi = std::min(printer.resolution(), 300);
    for (int page = from; page <= to; ++page) {
        if (page > from)
            printer.newPage();
        const QSizeF points = m_document->pagePointSize(page);
        const QImage image = m_document->render(page, (points * dpi / 72.0).toSize());
        const QRect target = painter.viewport();
        QSize fitted = image.size();
        fitted.scale(target.size(), Qt::KeepAspectRatio);
        painter.drawImage(QRect(target.topLeft(), fitted), image);
    }
    return painter.end();
}

void PdfPreview::print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QFileInfo(m_rtfPath).completeBaseName());
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, std::max(1, pageCount()));
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!printTo(printer))
        ShowMsg(QStringLiteral("Der Ausdruck ließ sich nicht drucken. Bitte prüfen Sie den gewählten Drucker."), mkError);
}

void PdfPreview::openInWordProcessor()
{
    const DocumentOpener::Result result =
        m_opener ? m_opener->open(m_rtfPath, 5) : DocumentOpener::Result{false, 31};
    if (!result.ok)
        ShowMsg(QStringLiteral("Der Ausdruck ließ sich nicht in der Textverarbeitung öffnen.\r")
                    + OpenFailureReason::text(result.errorNumber, m_rtfPath),
                mkError);
}
