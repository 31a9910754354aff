#pragma once

#include "support/TempDatabase.h"

#include "data/DataModules.h"
#include "ui/ScriptedDialogs.h"

#include <memory>

// A real database file with the data modules connected to it and the scripted dialogs
// installed: what every administration window needs.
struct AdminFixture
{
    AdminFixture()
    {
        tmp.openIn(dm.db);
    }

    int count(const QString &sql) const { return dm.db.scalar(sql).toInt(); }
    QString text(const QString &sql, const QVariantMap &params = {}) const
    {
        return dm.db.scalar(sql, params).toString();
    }
    void addUser(const QString &kurz, const QString &storedPassword, const QString &lang = {})
    {
        dm.db.exec(QStringLiteral("insert into benutzer (SbKurz, SbLang, SbTelefon, Passwort) "
                                  "values (:k, :l, '0761 1234', :p)"),
                   {{QStringLiteral("k"), kurz}, {QStringLiteral("l"), lang}, {QStringLiteral("p"), storedPassword}});
    }
    QString storedPassword(const QString &kurz) const
    {
        return text(QStringLiteral("select Passwort from benutzer where SbKurz = :k"), {{QStringLiteral("k"), kurz}});
    }

    TempDatabase tmp;
    DataModules dm;
    ScriptedDialogs dialogs;
};
