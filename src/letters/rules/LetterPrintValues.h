#pragma once

#include <QList>
#include <QPair>
#include <QString>

class DataSet;

// The values a letter hands to its two templates. Line breaks are single carriage returns,
// which the report engine turns into paragraphs.
namespace LetterPrintValues {

using Values = QList<QPair<QString, QString>>;

enum class Form { Standard = 0, Internal = 1 };

// The 24 variables of the letter printout, in the order of its list.
const QStringList &variableNames();

struct Recipient
{
    QString name1, name2, name3, land, plz, ort, strasse, hausnr, pofach, poplz;
    bool postBox = false;
};

// Up to three name lines and the contact person; empty when the recipient has no name.
QString nameBlock(const Recipient &r, const QString &contactPerson);
// Street (or post box), an empty line, then country, postcode and town.
QString addressBlock(const Recipient &r);
// "Name1 * Strasse * Plz Ort" of the office, the line above the address field.
QString senderLine(const DataSet &firma);

// Every variable with its value for the current letter, its recipient (an empty or closed
// set for a letter without one) and the office; bank data in the shape of `form`.
Values values(const DataSet &letter, const DataSet &recipient, const DataSet &firma, Form form);

} // namespace LetterPrintValues
