#pragma once

#include <QDialog>

class DocumentOpener;
class QLabel;
class QPdfDocument;
class QPdfView;
class QPrinter;
class QToolButton;

// The pages of a printout before it is printed or opened: zoom, paging, "Drucken" through
// the system's print dialog and "In Textverarbeitung öffnen" for the RTF it came from.
class PdfPreview : public QDialog
{
    Q_OBJECT
public:
    // `opener` opens the RTF for "In Textverarbeitung öffnen" (not owned).
    PdfPreview(const QString &pdfPath, const QString &rtfPath, DocumentOpener *opener, QWidget *parent = nullptr);

    int pageCount() const;
    // 0-based.
    int currentPage() const;
    void showPage(int page);
    qreal zoomFactor() const;

    // Prints the pages the printer's range names (all by default); false when the printer
    // could not be started.
    bool printTo(QPrinter &printer);

private:
    void print();
    void openInWordProcessor();
    void zoomBy(qreal factor);
    void updatePageControls();

    QString m_rtfPath;
    DocumentOpener *m_opener;
    QPdfDocument *m_document;
    QPdfView *m_view;
    QLabel *m_pageLabel;
    QToolButton *m_prior;
    QToolButton *m_next;
};
