#pragma once

#include "support/TempDatabase.h"

#include "data/DataModules.h"

#include <QSqlQuery>

// A real database with its data modules and a few contacts and postcodes:
// 34117 belongs to two towns, so the one that sorts first must win.
struct ContactsFixture
{
    TempDatabase tmp;
    QTemporaryDir out;
    DataModules dm;

    ContactsFixture()
    {
        {
            auto db = tmp.connect();
            db->exec("insert into plzort (Plz, Ort) values ('34117', 'Kassel-Mitte'), ('34117', 'Kassel'), "
                     "('10115', 'Berlin')");
            db->exec("insert into adressen (Name1, Name2, Suna, Plz, Ort, Strasse) values "
                     "('Erika', 'Mustermann', 'Mustermann, Erika', '12345', 'Berlin', 'Hauptstr.'), "
                     "('Jobcenter', 'Kassel', 'Jobcenter Kassel', '34117', 'Kassel-Wilhelmshöhe', 'Grüner Weg'), "
                     "('Sean', 'O''Brien', 'O''Brien, Sean', '12099', 'Bernau', null), "
                     "('Ärztehaus', null, 'Praxis am Park', '12001', 'Zossen', null)");
            db->exec("update firma set FReportIn = :in, FReportOut = :out",
                     {{"in", qEnvironmentVariable("FINORRA_SOURCE_DIR") + "/resources/Reportvorlagen/"},
                      {"out", out.path() + '/'}});
        }
        tmp.openIn(dm.db);
        dm.dmMP->lookupUser("sb");
    }

    TdmAdressen &adr() { return *dm.dmAdressen; }
    DataSet *contacts() { return dm.dmAdressen->qrKontakte; }

    QVariant value(const QString &sql)
    {
        QSqlQuery q = dm.db.exec(sql);
        return q.next() ? q.value(0) : QVariant();
    }
    int count(const QString &sql) { return value(sql).toInt(); }
};
