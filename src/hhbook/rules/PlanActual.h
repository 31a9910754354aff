#pragma once

#include "core/DateUtil.h"
#include "core/Money.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

class Database;

// Plan against actual: the monthly sums of a budget plan per category next to what the
// household book says was really received and spent in each month of one year.
namespace PlanActual {

// The eight categories of a budget plan, income first.
struct PlanCategory
{
    QString prefix;   // "Ek": the plan's month totals are Eksum01 … Eksum12
    QString name;     // "Einkommen"
};
const QVector<PlanCategory> &planCategories();

// Which plan category the bookings of a book category count towards (-1: none). The eight
// words of the book count towards the plan category of the same place unless the adviser
// maps them elsewhere; other words count nowhere until mapped.
class Mapping
{
public:
    int planCategory(const QString &rubrik) const;
    void set(const QString &rubrik, int planCategory);
    // The book's eight words, then every other mapped word, sorted.
    QStringList rubriks() const;

    static Mapping load(const Database &db);
    // Stores the whole mapping in one transaction.
    void save(const Database &db) const;

private:
    QHash<QString, int> m_explicit;
};

// More than 10 % over plan; a cost planned at 0 is exceeded by any spending.
bool exceeds(Money planned, Money actual);

struct Line
{
    int category = 0;   // index into planCategories()
    std::array<Money, 12> planned{};
    std::array<Money, 12> actual{};
    Money plannedYear() const;
    Money actualYear() const;
    static Money difference(Money planned, Money actual) { return actual - planned; }
    // Income is never "over plan": only spending is marked.
    bool exceeded(int month) const;   // 0 … 11
    bool exceededYear() const;
};

struct Comparison
{
    int year = 0;
    QVector<Line> lines;   // all eight, in plan order
    QDate bookedUpTo;      // "actual" counts the bookings up to this day
    int laterBookings = 0; // bookings of the year dated after it, left out

    // "Ist: Buchungen bis 11.12.2026; 2 spätere Buchungen sind nicht gezählt."
    QString actualText() const;
};

// Bookings of book `hhplanId` dated in `year` up to `bookedUpTo`, against plan `budId`. A
// booking dated later (a recurring one made in advance) is no spending yet. A plan without
// month totals plans 0.
Comparison compare(const Database &db, int hhplanId, int budId, int year, const Mapping &mapping,
                   const QDate &bookedUpTo = DateUtil::today());

} // namespace PlanActual
