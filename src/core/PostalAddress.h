#pragma once

#include <QString>
#include <QStringList>

// The lines of a postal address below the recipient's name, as the address field of a
// letter (DIN 5008) wants them: street or post box, then postcode and town, and the country
// in capitals on a line of its own only for a letter abroad. A German postcode gets no
// country code before it.
namespace PostalAddress {

// An empty country, "D", "DE", "DEU" or "Deutschland" (case ignored) is a German address.
bool isDomestic(const QString &country);

// The country line of an address abroad: the German name in capitals for the usual codes
// ("A", "AT", "CH", "NL", …), else the stored text in capitals; empty for a German address.
QString countryLine(const QString &country);

// Street line, town line and, abroad, country line; parts left empty drop out, and so does
// a line with nothing on it.
QStringList lines(const QString &streetLine, const QString &postcode, const QString &town, const QString &country);

} // namespace PostalAddress
