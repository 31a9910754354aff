#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

// Day counts from 30.12.1899 (time of day as fraction) and their German texts.
namespace ReportDateTime {

double fromDate(const QDate &date);
double fromTime(const QTime &time);
double fromDateTime(const QDateTime &dateTime);
QDate toDate(double dayCount);
QTime toTime(double dayCount);
QDateTime toDateTime(double dayCount);
bool hasTime(double dayCount);

QString dateText(double dayCount);      // dd.MM.yyyy
QString timeText(double dayCount);      // HH:mm:ss
// The date, the time, or both, as much as the value holds.
QString dateTimeText(double dayCount);

// Formats by the date-time codes of templates (d, dd, ddd, dddd, m … mmmm, yy, yyyy,
// h, hh, n, nn, s, ss, z, zzz, "/", ":", quoted text).
QString format(const QString &pattern, double dayCount);

// "{YYYY-MM-DD}" or "{YYYY-MM-DD,HH:NN:SS:ZZZ}" (stored form of date variables).
QString storedText(double dayCount);
bool parseStored(const QString &text, double *dayCount);

// The current moment (one place, so a run reads one clock).
double now();

} // namespace ReportDateTime
