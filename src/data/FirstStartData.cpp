#include "data/FirstStartData.h"

#include "core/PasswordHash.h"
#include "data/Database.h"

#include <QStringList>

namespace FirstStartData {

void write(const Database &db)
{
    const QString dir = db.directory();
    db.exec(QStringLiteral("insert into firma (Name1, Name2, Suna, Strasse, Plz, Ort, FReportIn, FReportOut, "
                           "PoVerwenden, Bank1Verwenden, Bank2Verwenden, BetreffzeileTitel, BetreffzeileInhalt) "
                           "values (:name1, :name2, :suna, :strasse, :plz, :ort, :rin, :rout, "
                           "false, false, false, true, true)"),
            {{QStringLiteral("name1"), QStringLiteral("Schuldner- und Budgetberatung")},
             {QStringLiteral("name2"), QStringLiteral("(bitte eigene Anschrift eintragen)")},
             {QStringLiteral("suna"), QStringLiteral("Eigene Beratungsstelle")},
             {QStringLiteral("strasse"), QStringLiteral("Musterstraße 1")},
             {QStringLiteral("plz"), QStringLiteral("12345")},
             {QStringLiteral("ort"), QStringLiteral("Musterstadt")},
             {QStringLiteral("rin"), dir + QStringLiteral("Reportvorlagen/")},
             {QStringLiteral("rout"), dir + QStringLiteral("Reportausgabe/")}});

    const QString user = QString::fromLatin1(InitialUser);
    db.exec(QStringLiteral("insert into benutzer (SbKurz, SbLang, SbTelefon, Passwort) values (:k, :l, '', :p)"),
            {{QStringLiteral("k"), user},
             {QStringLiteral("l"), QStringLiteral("Sachbearbeiter")},
             {QStringLiteral("p"), PasswordHash::hash(user)}});

    const QStringList states = {
        QStringLiteral("Baden-Württemberg"), QStringLiteral("Bayern"), QStringLiteral("Berlin"),
        QStringLiteral("Brandenburg"), QStringLiteral("Bremen"), QStringLiteral("Hamburg"),
        QStringLiteral("Hessen"), QStringLiteral("Mecklenburg-Vorpommern"), QStringLiteral("Niedersachsen"),
        QStringLiteral("Nordrhein-Westfalen"), QStringLiteral("Rheinland-Pfalz"), QStringLiteral("Saarland"),
        QStringLiteral("Sachsen"), QStringLiteral("Sachsen-Anhalt"), QStringLiteral("Schleswig-Holstein"),
        QStringLiteral("Thüringen")};
    for (const QString &state : states)
        db.exec(QStringLiteral("insert into buland (Buland) values (:b)"), {{QStringLiteral("b"), state}});
}

} // namespace FirstStartData
