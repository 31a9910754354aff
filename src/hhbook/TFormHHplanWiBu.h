#pragma once

#include "hhbook/rules/RecurringBookings.h"

#include <QDialog>

#include <functional>

class DataModules;
class QButtonGroup;
class QComboBox;
class QLineEdit;

// "Wiederkehrende Buchungen": a series of bookings at a fixed rhythm, appended to the current
// book in one step.
class TFormHHplanWiBu : public QDialog
{
    Q_OBJECT
public:
    // `showBookingCount` refreshes the page's count once the series is booked.
    TFormHHplanWiBu(DataModules &dm, std::function<void()> showBookingCount, QWidget *parent = nullptr);

private:
    void take();
    bool checkEntries();
    bool readEntries(RecurringBookings::Series *series);

    DataModules &m_dm;
    std::function<void()> m_showBookingCount;
    QLineEdit *m_von = nullptr;
    QLineEdit *m_anz = nullptr;
    QComboBox *m_rubrik = nullptr;
    QComboBox *m_bar = nullptr;
    QLineEdit *m_betrag = nullptr;
    QLineEdit *m_text = nullptr;
    QButtonGroup *m_rhythm = nullptr;
};
