#include "appointments/rules/AppointmentHandlers.h"

#include "appointments/rules/AppointmentRules.h"
#include "data/TdmExtras.h"
#include "data/TdmMP.h"

AppointmentHandlers::AppointmentHandlers(TdmExtras &extras, TdmMP &mp) : QObject(&extras), m_mp(mp)
{
    setObjectName(QStringLiteral("appointmentHandlers"));
    extras.qrTermine->afterInsert = [this](DataSet &ds) { qrTermineAfterInsert(ds); };
}

void AppointmentHandlers::qrTermineAfterInsert(DataSet &ds)
{
    AppointmentRules::newAppointment(ds, *m_mp.qrAktUser);
}
