#pragma once

class DataModules;

// "Drucken" on the Infothek page: the current document filled as a template.
namespace InfothekPrintout {

// Fills a copy of the current document and opens it; the document itself is not changed.
// A document that is no RTF file (a PDF, a spreadsheet) has nothing to fill and is opened
// as it is.
// A file that is missing, or a name that points out of the rubric's directory, ends with a
// warning and writes nothing. Throws the report engine's error.
void print(DataModules &dm);

} // namespace InfothekPrintout
