#pragma once

#include <QDate>

namespace DateUtil {

// Adds (or with a negative count subtracts) whole months; a day that the target month does
// not have becomes that month's last day (31 January + 1 month = 28/29 February).
QDate addMonthsClamped(const QDate &date, int months);

// Today's date; one place so every "set to today" rule reads the same clock.
QDate today();

} // namespace DateUtil
