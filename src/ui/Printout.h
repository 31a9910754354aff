#pragma once

#include <QList>
#include <QPair>
#include <QString>

class DataModules;
class DocumentOpener;
class QAbstractButton;
class QToolButton;
class TBaseReport;

// What every printout of the program shares: the credit line, where templates and filled
// documents lie, and who opens the finished document.
namespace Printout {

inline const QString CreditLine = QStringLiteral("Erstellt mit Finorra 1.0 (Pro)");

// Opens a finished printout: as it is, or as PDF or in the preview window (see output()).
// The file itself is opened by the desktop's opener in the program; tests install a
// recording one (nullptr goes back).
DocumentOpener *opener();
void installOpener(DocumentOpener *opener);

// What a printout turns into: the document itself (RTF), a PDF beside it opened instead,
// or the PDF in the preview window.
enum class Output { Document, Pdf, Preview };

// What the printout under way turns into: the entry chosen in its button's menu, else the
// setting "Ausdrucke als PDF" of the user the printout is made for (see outputFile).
Output output();

// While one lives, printouts come out as `output`, whatever the user's setting.
class OutputScope
{
public:
    explicit OutputScope(Output output);
    ~OutputScope();
    OutputScope(const OutputScope &) = delete;
    OutputScope &operator=(const OutputScope &) = delete;

private:
    int m_previous;
};

// Gives a printout's tool button a menu with "Als PDF" and "Vorschau"; each runs the
// button's own printout. A click on the button itself prints as before.
void offerPdf(QToolButton *button);
// A push button keeps its click and offers the two entries in its context menu.
void offerPdf(QAbstractButton *button);

// The template directory of the office followed by the file name.
QString templateFile(DataModules &dm, const QString &fileName);
// The output directory, the logged-in user's lower-cased short name, then the file name:
// each user overwrites only their own previous printout. Every printout asks for its file
// here, so this also notes whose setting "Ausdrucke als PDF" applies to it.
QString outputFile(DataModules &dm, const QString &fileName);

// Declares exactly these variables, in this order, and gives each its text.
void setVariables(TBaseReport &report, const QList<QPair<QString, QString>> &values);

} // namespace Printout
