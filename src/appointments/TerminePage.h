#pragma once

#include <QDate>
#include <QWidget>

#include <functional>

class DataModules;
class DbGrid;
class QButtonGroup;
class QCalendarWidget;
class QLabel;

// The Termine page: the month calendar picks the day, the filter group open and done
// appointments, the list shows the selection, which the edit window and the printout use.
class TerminePage : public QWidget
{
    Q_OBJECT
public:
    TerminePage(DataModules &dm, std::function<void(const QString &)> setHeading, QWidget *parent = nullptr);

    // Entering the page: today's appointments, open and done alike, whatever the filter shows.
    void enter();
    // The long date the list printout carries as its heading.
    const QString &longDate() const { return m_longDate; }

private:
    void setDay(const QDate &day);
    void select(const QString &sql);
    int filter() const;
    void currentAppointments();
    void allAppointments();
    void editAppointments();
    void print();

    DataModules &m_dm;
    std::function<void(const QString &)> m_setHeading;
    QString m_longDate;
    QLabel *m_caption = nullptr;
    QCalendarWidget *m_calendar = nullptr;
    QButtonGroup *m_filter = nullptr;
    DbGrid *m_list = nullptr;
};
