#include "core/PostalAddress.h"

#include <QHash>

namespace PostalAddress {

namespace {

QString normalised(const QString &country)
{
    return country.trimmed().toUpper();
}

const QHash<QString, QString> &countryNames()
{
    // Vehicle codes, as old address books store them, and ISO codes.
    static const QHash<QString, QString> names = {
        {QStringLiteral("A"), QStringLiteral("ÖSTERREICH")},    {QStringLiteral("AT"), QStringLiteral("ÖSTERREICH")},
        {QStringLiteral("CH"), QStringLiteral("SCHWEIZ")},      {QStringLiteral("NL"), QStringLiteral("NIEDERLANDE")},
        {QStringLiteral("B"), QStringLiteral("BELGIEN")},       {QStringLiteral("BE"), QStringLiteral("BELGIEN")},
        {QStringLiteral("L"), QStringLiteral("LUXEMBURG")},     {QStringLiteral("LU"), QStringLiteral("LUXEMBURG")},
        {QStringLiteral("F"), QStringLiteral("FRANKREICH")},    {QStringLiteral("FR"), QStringLiteral("FRANKREICH")},
        {QStringLiteral("DK"), QStringLiteral("DÄNEMARK")},     {QStringLiteral("PL"), QStringLiteral("POLEN")},
        {QStringLiteral("CZ"), QStringLiteral("TSCHECHIEN")},   {QStringLiteral("I"), QStringLiteral("ITALIEN")},
        {QStringLiteral("IT"), QStringLiteral("ITALIEN")},      {QStringLiteral("E"), QStringLiteral("SPANIEN")},
        {QStringLiteral("ES"), QStringLiteral("SPANIEN")},      {QStringLiteral("TR"), QStringLiteral("TÜRKEI")},
        {QStringLiteral("GB"), QStringLiteral("VEREINIGTES KÖNIGREICH")},
        {QStringLiteral("UK"), QStringLiteral("VEREINIGTES KÖNIGREICH")}};
    return names;
}

QString joinFilled(const QStringList &parts)
{
    QStringList filled;
    for (const QString &p : parts)
        if (!p.trimmed().isEmpty())
            filled << p.trimmed();
    return filled.join(QLatin1Char(' '));
}

} // namespace

bool isDomestic(const QString &country)
{
    const QString c = normalised(country);
    return c.isEmpty() || c == u"D" || c == u"DE" || c == u"DEU" || c == u"DEUTSCHLAND" || c == u"BRD";
}

QString countryLine(const QString &country)
{
    if (isDomestic(country))
        return QString();
    const QString c = normalised(country);
    return countryNames().value(c, c);
}

QStringList lines(const QString &streetLine, const QString &postcode, const QString &town, const QString &country)
{
    QStringList result;
    for (const QString &line : {streetLine.trimmed(), joinFilled({postcode, town}), countryLine(country)})
        if (!line.isEmpty())
            result << line;
    return result;
}

} // namespace PostalAddress
