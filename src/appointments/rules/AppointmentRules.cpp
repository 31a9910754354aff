#include "appointments/rules/AppointmentRules.h"

#include "core/GermanFormat.h"
#include "core/SqlText.h"
#include "data/DataSet.h"

#include <array>

namespace AppointmentRules {

namespace {

int checked(int filter)
{
    return filter >= OpenAndDone && filter <= Done ? filter : OpenAndDone;
}

} // namespace

QString daySql(const QDate &day, int filter)
{
    static const std::array<QString, 3> texts = {
        QStringLiteral("select * from termine where wvdatum = '%s' order by wvdatum,uhrzeit"),
        QStringLiteral("select * from termine where (wvdatum = '%s') and (wverledigt <> true) order by wvdatum,uhrzeit"),
        QStringLiteral("select * from termine where (wvdatum = '%s') and (wverledigt =  true) order by wvdatum,uhrzeit")};
    return SqlText::format(texts[static_cast<size_t>(checked(filter))], {GermanFormat::shortDate(day)});
}

QString allDatesSql(int filter)
{
    static const std::array<QString, 3> texts = {
        QStringLiteral("select * from termine  order by wvdatum,uhrzeit"),
        QStringLiteral("select * from termine where  (wverledigt <> true) order by wvdatum,uhrzeit"),
        QStringLiteral("select * from termine where  (wverledigt =  true) order by wvdatum,uhrzeit")};
    return texts[static_cast<size_t>(checked(filter))];
}

void newAppointment(DataSet &appointment, const DataSet &aktUser)
{
    const bool known = aktUser.isOpen() && !aktUser.isEmpty();
    appointment.setValue(QStringLiteral("User_id"), known ? aktUser.value(QStringLiteral("Ben_id")) : QVariant());
    appointment.setValue(QStringLiteral("WvErledigt"), false);
}

} // namespace AppointmentRules
