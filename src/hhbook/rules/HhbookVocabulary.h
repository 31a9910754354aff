#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The words a booking is filed under. They are stored as they stand and compared exactly,
// so every list, filter and evaluation takes them from here.
namespace HhbookVocabulary {

struct Category
{
    QString word;       // "Einkommen"
    QString sumField;   // "Eksum", the book's column for its total
};

// Income first, then the seven kinds of cost, in the order every list offers them.
const QVector<Category> &categories();
const QStringList &categoryWords();
// -1 for a text that is none of the eight words (such a booking counts nowhere).
int categoryIndex(const QString &rubrik);

// Way of payment.
const QStringList &waysOfPayment();   // "Bar", "Konto"

// The first entry of the filter lists.
inline const QString All = QStringLiteral("<Alle>");

} // namespace HhbookVocabulary
