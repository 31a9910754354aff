#pragma once

#include "core/Money.h"

#include <QString>

#include <array>
#include <optional>

class DataSet;

// The rules of household books and their bookings, whatever window edits them.
namespace HhbookRules {

// A new book belongs to the logged-in user.
void newBook(DataSet &book, const DataSet &aktUser);
// A new booking belongs to the current book; nothing else gets a default.
void newBooking(DataSet &booking, const DataSet &book);

// "  12 Buchung(en)": the rows of the current selection, so a filter shows its own count.
QString bookingCountText(int bookings);
// The rows of the current selection. Rows not read yet are counted by the database, so a
// long list is not read whole just to be counted.
int listedBookings(const DataSet &bookings);

// Every booking of the book, whatever the page's filter shows: a book is deleted only empty.
int storedBookings(const DataSet &book);
inline const QString BookHasBookings = QStringLiteral("Löschen nicht möglich!\rEs sind noch Buchungen vorhanden.");

// The selection of the booking list. The filtered texts keep the book parameter and the
// order by date; dates are given as German short dates, both ends included.
inline const QString UnfilteredSql = QStringLiteral("select * from hhbuch where hhplan_id = :hhplan_id order by buchdat");
QString filterSql(const QString &from, const QString &to, const QString &rubrik, const QString &wayOfPayment);

// The filter in force on the booking list, as "Filtern" applied it: the period as German
// short dates, the category and the way of payment ("<Alle>" for any). None without a filter.
struct Filter
{
    QString from, to, rubrik, wayOfPayment;
};
using ActiveFilter = std::optional<Filter>;
QString filterSql(const Filter &filter);

// The period a selection covers: the filter's, or without one the dates of the first and
// last dated booking listed (empty without any).
struct Period
{
    QString from, to;
};
Period periodOf(const ActiveFilter &filter, const DataSet &bookings);
// The filter in words: "Rubrik: alle; Bar / Konto: Konto", or "ohne Filter (alle Buchungen)".
QString filterText(const ActiveFilter &filter);
// Period and filter in words, as the summary names what its sums cover:
// "Zeitraum 01.01.2025 bis 31.12.2025; Rubrik: alle; Bar / Konto: Konto".
QString selectionText(const ActiveFilter &filter, const DataSet &bookings);

// The evaluation of the listed bookings: the eight category sums, the chain of totals and
// each category's share of the income in per cent.
struct Summary
{
    std::array<Money, 8> sums{};      // in the order of the categories, income first
    Money zwisu, maxKredit, maxHaus, defizit;
    std::array<double, 8> shares{};   // all 0 without income
    bool isSurplus() const { return defizit >= Money(); }
};

// Sums the rows of the selection without moving the cursor.
Summary summarize(const DataSet &bookings);

// Stores a pending booking, evaluates the selection, leaves the list on its last booking and
// stores the results in the current book, with `Auswahl` naming the period and filter they
// cover. Without any book there is nothing to store into.
Summary ComputeHouseholdBook(DataSet &bookings, DataSet &book, const ActiveFilter &filter = std::nullopt);

// The label of the surplus field after an evaluation.
inline const QString SurplusLabel = QStringLiteral("Überschuss :");
inline const QString DeficitLabel = QStringLiteral("Defizit :");

} // namespace HhbookRules
