#include "appointments/TerminePage.h"

#include "appointments/TFormTermineEdit.h"
#include "appointments/TerminePrintout.h"
#include "appointments/rules/AppointmentRules.h"
#include "core/DateUtil.h"
#include "core/GermanFormat.h"
#include "data/DataModules.h"
#include "ui/DbGrid.h"
#include "ui/Guard.h"
#include "ui/Help.h"
#include "ui/Icons.h"
#include "ui/RecordToolBar.h"
#include "ui/Printout.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

TerminePage::TerminePage(DataModules &dm, std::function<void(const QString &)> setHeading, QWidget *parent)
    : QWidget(parent), m_dm(dm), m_setHeading(std::move(setHeading))
{
    setObjectName(QStringLiteral("terminePage"));
    DataSet *appointments = dm.dmExtras->qrTermine;

    auto *bar = new RecordToolBar(appointments, this);
    bar->setObjectName(QStringLiteral("aufToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->setIconSize(QSize(16, 16));
    bar->addButton(QStringLiteral("aufTbutAlle"), QStringLiteral("Alle Termine"),
                   Icons::standard(QStyle::SP_FileDialogListView), [this] { allAppointments(); });
    bar->addButton(QStringLiteral("aufTbutAktuell"), QStringLiteral("Aktuelle Termine"),
                   Icons::standard(QStyle::SP_FileDialogDetailedView), [this] { currentAppointments(); });
    bar->addButton(QStringLiteral("aufTbutBearbeiten"), QStringLiteral("Termine bearbeiten"),
                   Icons::standard(QStyle::SP_FileDialogInfoView), [this] { editAppointments(); });
    Printout::offerPdf(bar->addButton(QStringLiteral("aufTbutTerminliste"), QStringLiteral("Terminliste"),
                                      Icons::standard(QStyle::SP_FileDialogContentsView), [this] { print(); }));
    bar->addButton(QStringLiteral("aufTbutHilfe"), QStringLiteral("Hilfe"), Icons::standard(QStyle::SP_DialogHelpButton),
                   [this] { Help::open(QStringLiteral("Termin"), this); });

    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("auflbDatum"));
    QFont bold = m_caption->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    m_caption->setFont(bold);

    m_calendar = new QCalendarWidget(this);
    m_calendar->setObjectName(QStringLiteral("mc01"));
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    m_calendar->setLocale(QLocale(QLocale::German, QLocale::Germany));
    m_calendar->setFirstDayOfWeek(Qt::Monday);
    m_calendar->setFixedSize(320, 220);
    connect(m_calendar, &QCalendarWidget::clicked, this, [this] { currentAppointments(); });

    auto *filterBox = new QGroupBox(QStringLiteral("Filter"), this);
    filterBox->setObjectName(QStringLiteral("aufrgfilter"));
    m_filter = new QButtonGroup(filterBox);
    auto *filterLayout = new QVBoxLayout(filterBox);
    const QStringList items = {QStringLiteral("Offene/Erledigte Termine"), QStringLiteral("Offene Termine"),
                               QStringLiteral("Erledigte Termine")};
    for (int i = 0; i < items.size(); ++i) {
        auto *item = new QRadioButton(items.at(i), filterBox);
        item->setObjectName(QStringLiteral("aufrbFilter%1").arg(i));
        m_filter->addButton(item, i);
        filterLayout->addWidget(item);
    }
    m_filter->button(AppointmentRules::OpenAndDone)->setChecked(true);
    filterLayout->addStretch(1);
    // A click on the item already chosen applies it again, as the other items do.
    connect(m_filter, &QButtonGroup::idClicked, this, [this] { currentAppointments(); });

    m_list = new DbGrid(appointments, {{QStringLiteral("WvDatum"), QStringLiteral("Datum"), 90},
                                       {QStringLiteral("Uhrzeit"), QStringLiteral("Uhrzeit"), 70},
                                       {QStringLiteral("WvKurz"), QStringLiteral("Bemerkung"), 0}},
                       this);
    m_list->setObjectName(QStringLiteral("aufdbgTermine"));
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->verticalHeader()->hide();

    auto *left = new QVBoxLayout;
    left->addWidget(m_calendar);
    left->addWidget(filterBox);
    left->addStretch(1);
    auto *right = new QVBoxLayout;
    right->addWidget(m_caption);
    right->addWidget(m_list, 1);
    auto *body = new QHBoxLayout;
    body->addLayout(left);
    body->addLayout(right, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar);
    layout->addLayout(body, 1);
}

void TerminePage::enter()
{
    const QDate today = DateUtil::today();
    setDay(today);
    guarded([&] { select(AppointmentRules::daySql(today, AppointmentRules::OpenAndDone)); });
    m_calendar->setSelectedDate(today);
}

void TerminePage::setDay(const QDate &day)
{
    m_longDate = GermanFormat::longDate(day);
    m_caption->setText(m_longDate);
    if (m_setHeading)
        m_setHeading(m_longDate);
}

void TerminePage::select(const QString &sql)
{
    m_dm.dmExtras->qrTermine->replaceSql(sql);
    m_list->setFocus();
}

int TerminePage::filter() const
{
    return m_filter->checkedId();
}

void TerminePage::currentAppointments()
{
    const QDate day = m_calendar->selectedDate();
    setDay(day);
    guarded([&] { select(AppointmentRules::daySql(day, filter())); });
}

void TerminePage::allAppointments()
{
    setDay(m_calendar->selectedDate());
    guarded([&] { select(AppointmentRules::allDatesSql(filter())); });
}

void TerminePage::editAppointments()
{
    DataSet *appointments = m_dm.dmExtras->qrTermine;
    const bool ok = guarded([&] {
        const int id = appointments->isOpen() && !appointments->isEmpty() ? appointments->asInteger(QStringLiteral("Term_id"))
                                                                            : 0;
        select(AppointmentRules::allDatesSql(AppointmentRules::OpenAndDone));
        appointments->locate(QStringLiteral("Term_id"), id);
    });
    if (!ok)
        return;
    TFormTermineEdit window(m_dm, this);
    window.exec();
}

void TerminePage::print()
{
    guarded([this] { TerminePrintout::print(m_dm, m_longDate); });
}
