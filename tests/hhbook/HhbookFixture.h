#pragma once

#include "support/TempDatabase.h"

#include "data/DataModules.h"
#include "hhbook/rules/HhbookHandlers.h"

#include <QDate>
#include <QSqlQuery>

// A real database with its data modules and the household-book rules, the user "sb"
// (Ben_id 1) logged in. Books and bookings are put in by SQL, as another window left them.
struct HhbookFixture
{
    TempDatabase tmp;
    DataModules dm;
    HhbookHandlers *handlers = nullptr;

    HhbookFixture()
    {
        tmp.openIn(dm.db);
        handlers = new HhbookHandlers(*dm.dmHh, *dm.dmMP);
        dm.dmMP->lookupUser(QStringLiteral("sb"));
    }

    DataSet &books() { return *dm.dmHh->qrHhplan; }
    DataSet &bookings() { return *dm.dmHh->qrHhbuch; }

    // Entering the page: the books, then the bookings of the first one.
    void enter()
    {
        books().reopen();
        bookings().reopen();
    }

    int addBook(const QString &name, int user = 1)
    {
        dm.db.exec(QStringLiteral("insert into hhplan (Erfdat, Bezeichnung, User_id) values ('2024-01-02', :n, :u)"),
                   {{QStringLiteral("n"), name}, {QStringLiteral("u"), user}});
        return scalar(QStringLiteral("select max(Hhplan_id) from hhplan")).toInt();
    }

    void addBooking(int book, const QDate &date, const QString &rubrik, const QString &rubdet, double betrag,
                    const QString &text = QStringLiteral("Buchung"))
    {
        dm.db.exec(QStringLiteral("insert into hhbuch (Hhplan_id, Buchdat, Rubrik, Rubdet, Betrag, RubText) "
                                  "values (:b, :d, :r, :k, :e, :t)"),
                   {{QStringLiteral("b"), book}, {QStringLiteral("d"), date.toString(Qt::ISODate)},
                    {QStringLiteral("r"), rubrik}, {QStringLiteral("k"), rubdet}, {QStringLiteral("e"), betrag},
                    {QStringLiteral("t"), text}});
    }

    // The worked example of the evaluation, all paid from the account in January 2024.
    void addExampleBookings(int book)
    {
        addBooking(book, QDate(2024, 1, 1), QStringLiteral("Einkommen"), QStringLiteral("Konto"), 2000.00, QStringLiteral("Lohn"));
        addBooking(book, QDate(2024, 1, 3), QStringLiteral("Wohnkosten"), QStringLiteral("Konto"), 600.00, QStringLiteral("Miete"));
        addBooking(book, QDate(2024, 1, 5), QStringLiteral("Verkehrskosten"), QStringLiteral("Bar"), 100.00, QStringLiteral("Tanken"));
        addBooking(book, QDate(2024, 1, 9), QStringLiteral("Lebenshaltung"), QStringLiteral("Bar"), 500.00, QStringLiteral("Einkauf"));
        addBooking(book, QDate(2024, 1, 15), QStringLiteral("Konsumkredite"), QStringLiteral("Konto"), 200.00, QStringLiteral("Rate"));
    }

    QVariant scalar(const QString &sql, const QVariantMap &params = {}) { return dm.db.scalar(sql, params); }
    int storedCount(const QString &table) { return scalar(QStringLiteral("select count(*) from ") + table).toInt(); }
};
