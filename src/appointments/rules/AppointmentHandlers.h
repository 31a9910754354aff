#pragma once

#include <QObject>

class DataSet;
class TdmExtras;
class TdmMP;

// The rules of the appointment query, installed once with the appointments module.
class AppointmentHandlers : public QObject
{
    Q_OBJECT
public:
    AppointmentHandlers(TdmExtras &extras, TdmMP &mp);

    void qrTermineAfterInsert(DataSet &ds);

private:
    TdmMP &m_mp;
};
