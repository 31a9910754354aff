#include "core/Iban.h"

#include "core/AppError.h"

#include <QHash>

namespace Iban {

namespace {

// The register of the countries that use IBANs and their lengths.
const QHash<QString, int> &lengths()
{
    static const QHash<QString, int> l = {
        {"AD", 24}, {"AE", 23}, {"AL", 28}, {"AT", 20}, {"AZ", 28}, {"BA", 20}, {"BE", 16}, {"BG", 22},
        {"BH", 22}, {"BR", 29}, {"BY", 28}, {"CH", 21}, {"CR", 22}, {"CY", 28}, {"CZ", 24}, {"DE", 22},
        {"DK", 18}, {"DO", 28}, {"EE", 20}, {"EG", 29}, {"ES", 24}, {"FI", 18}, {"FO", 18}, {"FR", 27},
        {"GB", 22}, {"GE", 22}, {"GI", 23}, {"GL", 18}, {"GR", 27}, {"GT", 28}, {"HR", 21}, {"HU", 28},
        {"IE", 22}, {"IL", 23}, {"IQ", 23}, {"IS", 26}, {"IT", 27}, {"JO", 30}, {"KW", 30}, {"KZ", 20},
        {"LB", 28}, {"LC", 32}, {"LI", 21}, {"LT", 20}, {"LU", 20}, {"LV", 21}, {"LY", 25}, {"MC", 27},
        {"MD", 24}, {"ME", 22}, {"MK", 19}, {"MR", 27}, {"MT", 31}, {"MU", 30}, {"NL", 18}, {"NO", 15},
        {"PK", 24}, {"PL", 28}, {"PS", 29}, {"PT", 25}, {"QA", 29}, {"RO", 24}, {"RS", 22}, {"SA", 24},
        {"SC", 31}, {"SE", 24}, {"SI", 19}, {"SK", 24}, {"SM", 27}, {"ST", 25}, {"SV", 28}, {"TL", 23},
        {"TN", 24}, {"TR", 26}, {"UA", 29}, {"VA", 22}, {"VG", 24}, {"XK", 20}};
    return l;
}

bool isAsciiLetter(QChar c) { return c >= u'A' && c <= u'Z'; }
bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

} // namespace

QString compact(const QString &typed)
{
    QString s;
    for (QChar c : typed)
        if (!c.isSpace())
            s += c.toUpper();
    return s;
}

QString grouped(const QString &iban)
{
    const QString s = compact(iban);
    QString out;
    for (qsizetype i = 0; i < s.size(); i += 4) {
        if (i > 0)
            out += u' ';
        out += s.mid(i, 4);
    }
    return out;
}

int lengthFor(const QString &country) { return lengths().value(country.toUpper(), 0); }

QString problem(const QString &typed)
{
    const QString s = compact(typed);
    if (s.isEmpty())
        return {};
    for (QChar c : s)
        if (!isAsciiLetter(c) && !isAsciiDigit(c))
            return QStringLiteral("sie darf nur Buchstaben und Ziffern enthalten");
    if (s.size() < 5 || !isAsciiLetter(s.at(0)) || !isAsciiLetter(s.at(1)) || !isAsciiDigit(s.at(2))
        || !isAsciiDigit(s.at(3)))
        return QStringLiteral("sie beginnt mit dem Länderkennzeichen und zwei Prüfziffern, etwa „DE12 …“");
    const QString country = s.left(2);
    const int expected = lengthFor(country);
    if (expected == 0)
        return QStringLiteral("„%1“ ist kein Land mit IBAN").arg(country);
    if (s.size() != expected)
        return QStringLiteral("eine IBAN aus %1 hat %2 Stellen, eingegeben sind %3")
            .arg(country == u"DE" ? QStringLiteral("Deutschland") : QStringLiteral("„%1“").arg(country))
            .arg(expected)
            .arg(s.size());
    // ISO 7064 mod 97-10 over the number with its first four characters moved to the end,
    // letters counted as 10 … 35; digit by digit so no number grows past a few digits.
    const QString moved = s.mid(4) + s.left(4);
    int rest = 0;
    for (QChar c : moved) {
        if (isAsciiDigit(c))
            rest = (rest * 10 + (c.unicode() - u'0')) % 97;
        else
            rest = (rest * 100 + (c.unicode() - u'A' + 10)) % 97;
    }
    if (rest != 1)
        return QStringLiteral("die Prüfziffer stimmt nicht; bitte vergleichen Sie die IBAN mit dem Kontoauszug");
    return {};
}

void check(const QString &typed, const QString &fieldLabel)
{
    const QString why = problem(typed);
    if (!why.isEmpty())
        throw UserWarning(QStringLiteral("Die Eingabe im Feld „%1“ ist keine gültige IBAN: %2.").arg(fieldLabel, why));
}

QString bicProblem(const QString &typed)
{
    const QString s = compact(typed);
    if (s.isEmpty())
        return {};
    if (s.size() != 8 && s.size() != 11)
        return QStringLiteral("ein BIC hat 8 oder 11 Stellen, eingegeben sind %1").arg(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        // Bank and country code are letters; location and branch letters or digits.
        if (i < 6 ? !isAsciiLetter(c) : !isAsciiLetter(c) && !isAsciiDigit(c))
            return QStringLiteral("er beginnt mit sechs Buchstaben (Bank und Land), dann folgen Buchstaben oder Ziffern");
    }
    return {};
}

void checkBic(const QString &typed, const QString &fieldLabel)
{
    const QString why = bicProblem(typed);
    if (!why.isEmpty())
        throw UserWarning(QStringLiteral("Die Eingabe im Feld „%1“ ist kein gültiger BIC: %2.").arg(fieldLabel, why));
}

} // namespace Iban
