#pragma once

#include "hhbook/rules/HhbookRules.h"

#include <QWidget>

#include <functional>

class DataModules;
class DataSet;
class DbEdit;
class DbLabel;
class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QToolButton;

// The household-book page: the current book, its bookings with their details, the filter
// by period, category and way of payment, and the summary of the listed bookings.
class HhbookPage : public QWidget
{
    Q_OBJECT
public:
    // `showBookName` writes the current book's name into the main window's status bar.
    HhbookPage(DataModules &dm, std::function<void(const QString &)> showBookName, QWidget *parent = nullptr);

    // Writes the number of listed bookings into the list's status bar.
    void ShowBookingCount();
    // "Rechnen" without the change of tab: evaluates the listed bookings into the current
    // book and sets the surplus label and colour.
    HhbookRules::Summary ComputeHouseholdBook();

    // The question for the name of a first book, created with the first booking.
    static QString askFirstBookName();

private:
    QWidget *buildToolBar();
    QWidget *buildHeader();
    QWidget *buildBookingsTab();
    QWidget *buildDetails();
    QWidget *buildFilter();
    QWidget *buildList();
    QWidget *buildSummaryTab();
    void showBookingsTab();

    void newBook();
    void editBook();
    void deleteBooking();
    void bookingDateToday();
    void recurringBookings();
    void calculate();
    void print();
    void applyFilter();
    void removeFilter();

    DataModules &m_dm;
    DataSet *m_books;
    DataSet *m_bookings;
    std::function<void(const QString &)> m_showBookName;
    QTabWidget *m_tabs = nullptr;
    DbEdit *m_buchdat = nullptr;
    QLineEdit *m_von = nullptr;
    QLineEdit *m_bis = nullptr;
    QComboBox *m_rubrik = nullptr;
    QComboBox *m_konto = nullptr;
    QLabel *m_count = nullptr;
    QToolButton *m_save = nullptr;
    HhbookRules::ActiveFilter m_filter;   // the filter "Filtern" applied, until "Ohne Filter"
    QLabel *m_lbDefizit = nullptr;
    DbLabel *m_defizit = nullptr;
};
