#pragma once

#include "core/Money.h"

#include <QDate>
#include <QString>
#include <QVector>

class DataSet;

// A series of bookings at a fixed rhythm, entered in one step.
namespace RecurringBookings {

struct Rhythm
{
    QString word;   // "vierteljährlich"
    int months;     // 3
};
// "monatlich", "zweimonatlich", "vierteljährlich", "halbjährlich", "jährlich".
const QVector<Rhythm> &rhythms();

// The due date of booking `index` (from 0): always reckoned from the start, so a series that
// starts on the 31st comes back to the 31st wherever a month has one.
QDate dueDate(const QDate &start, int index, int months);

// A date field that shows nothing but its mask holds no digit.
bool isBlankDate(const QString &text);

// Readers of the dialog's texts; each throws ConversionError quoting the entry.
QDate readStart(const QString &text);   // German short date; the mask's blanks are ignored
int readCount(const QString &text);     // a whole number
Money readAmount(const QString &text);  // German: "1.200", "1.200,00", "1200,5"

struct Series
{
    QDate start;
    int count = 0;
    int months = 1;
    QString rubrik;
    QString rubdet;
    Money amount;
    QString text;
};

// Appends the series to the current book's bookings in one transaction: all are stored or,
// when one fails, none.
void append(DataSet &bookings, const Series &series);

} // namespace RecurringBookings
