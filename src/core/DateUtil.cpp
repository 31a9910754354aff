#include "core/DateUtil.h"
#include <algorithm>

namespace DateUtil {

QDate addMonthsClamped(const QDate &date, int months)
{
    if (!date.isValid())
        return {};
    const int total = date.year() * 12 + (date.month() - 1) + months;
    const int year = total / 12;
    const int month = total % 12 + 1;
    const int day = std::min(date.day(), QDate(year, month, 1).daysInMonth());
    return QDate(year, month, day);
}

QDate today()
{
    return QDate::currentDate();
}

} // namespace DateUtil
