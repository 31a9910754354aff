#pragma once

#include <QString>
#include <QVariant>

class DataSet;

// The document catalogue: which documents a rubric lists, the search, and where a
// document's file lies.
namespace InfothekRules {

enum class SearchIn { ShortDescription, Keywords };

inline const QString NoRubricOnInsert = QStringLiteral("Neue Datensätze können noch nicht angelegt werden!\r"
                                                       "Legen Sie vorher die Info-Rubriken fest.");
inline const QString NoRubricOnFileName = QStringLiteral("Neue Datensätze können nicht eingefügt werden.\r"
                                                         "Legen Sie vorher die <Info-Rubriken> fest!");

// The document list SQL of a search: the text lower-cased in A to Z only, matched anywhere.
QString searchSql(const QString &text, SearchIn in);

// Runs the documents' current SQL text again for the rubric `rubrikId`, after storing a
// document being edited.
void openDocuments(DataSet &documents, const QVariant &rubrikId);

// True when `datei` names a file and nothing else: no directory part, no "." or "..",
// so the document path cannot leave the rubric's directory.
bool isPlainFileName(const QString &datei);
// "Der Dateiname <…> enthält eine Verzeichnisangabe. …": why a file name is refused.
QString notPlainMessage(const QString &datei);
// A chosen name longer than its column would be cut short and then name another file or
// directory: "Der Dateiname\r<name>\rist zu lang: höchstens 80 Zeichen sind möglich."
// (`what` is "Der Dateiname" or "Der Pfad"). Empty when the name fits.
QString tooLongMessage(const QString &what, const QString &name, int size);
// "Reportvorlage \r\r<path>\r\rwurde nicht gefunden."
QString notFoundMessage(const QString &path);
// True when the file begins as an RTF document does, so it can be filled as a template.
bool isRtfFile(const QString &path);
// "Das Dokument\r<path>\rließ sich nicht öffnen.\r\r<reason>"
QString notOpenedMessage(const QString &path, const QString &reason);

} // namespace InfothekRules
