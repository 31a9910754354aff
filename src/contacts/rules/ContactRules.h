#pragma once

#include <QString>

#include <functional>

class DataSet;

// What holds for a contact whatever window edits it, and the search of the selection list.
namespace ContactRules {

// A new contact is captured today.
void newContact(DataSet &qrKontakte);

// "12345 Musterstadt nicht vorhanden!\rAufnehmen?"
QString learnQuestion(const QString &plz, const QString &ort);

// After a contact is stored with `plz` and `ort`: when the postcode list lacks the postcode,
// `ask` is put the question, and on yes the pair is added and the list read again. Called
// outside any write transaction.
void learnPostcode(const QString &plz, const QString &ort, DataSet &qrPlzOrt,
                   const std::function<bool(const QString &)> &ask);

// The filters of the selection list, in the order of their radio buttons.
enum Filter { BySearchName = 0, ByName1, ByName2, ByPostcode, ByTown };

// The selection query for a filter; the typed text goes in as the parameter `muster`.
// Without text every row whose column has a value matches; `anyValue` asks for that
// query, which spares the pattern match on every row of a large address book.
QString searchSql(int filter, bool anyValue = false);
// The typed text as a prefix pattern: letters A to Z lower-cased, "%" appended.
QString searchPattern(const QString &typed);
// Replaces the list's query by the search and returns the number of hits.
int search(DataSet &qrKontWahl, int filter, const QString &typed);

// "  3 Kontakt(e)"
QString hitCountText(int hits);

} // namespace ContactRules
