#pragma once

#include <QList>
#include <QPair>
#include <QString>

class DataModules;
class DocumentOpener;
class TBaseReport;

// What every printout of the program shares: the credit line, where templates and filled
// documents lie, and who opens the finished document.
namespace Printout {

inline const QString CreditLine = QStringLiteral("Erstellt mit Finorra 1.0 (Pro)");

// The desktop's opener in the program; tests install a recording one (nullptr goes back).
DocumentOpener *opener();
void installOpener(DocumentOpener *opener);

// The template directory of the office followed by the file name.
QString templateFile(DataModules &dm, const QString &fileName);
// The output directory, the logged-in user's lower-cased short name, then the file name:
// each user overwrites only their own previous printout.
QString outputFile(DataModules &dm, const QString &fileName);

// Declares exactly these variables, in this order, and gives each its text.
void setVariables(TBaseReport &report, const QList<QPair<QString, QString>> &values);

} // namespace Printout
