#pragma once

#include <QDate>
#include <QString>

class DataSet;

// The selections of the appointment list and what a new appointment starts with.
namespace AppointmentRules {

// The items of the filter group, by index.
enum Filter { OpenAndDone = 0, Open = 1, Done = 2 };

// The SQL of one day's appointments with the filter; the day goes in as a quoted short date.
QString daySql(const QDate &day, int filter);
// The SQL of the appointments of all dates with the filter.
QString allDatesSql(int filter);

// A new appointment belongs to the logged-in user and is not done yet.
void newAppointment(DataSet &appointment, const DataSet &aktUser);

} // namespace AppointmentRules
