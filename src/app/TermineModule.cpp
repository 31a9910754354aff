#include "app/TermineModule.h"

#include "core/GermanFormat.h"
#include "core/SqlText.h"
#include "data/DataModules.h"

#include <QCalendarWidget>
#include <QDate>
#include <QLabel>
#include <QVBoxLayout>

TermineModule::TermineModule(DataModules &dm, std::function<void(const QString &)> setHeading)
    : m_dm(dm), m_setHeading(std::move(setHeading))
{
    m_info = {QStringLiteral("tbsAufgaben"), QStringLiteral("Termine"), QStringLiteral("Termine"),
              QStringLiteral("Aufgaben-/Terminverwaltung"), QStringLiteral("Termine"), 5, true};
}

QWidget *TermineModule::createPage(QWidget *parent)
{
    auto *page = new QWidget(parent);
    m_auflbDatum = new QLabel(page);
    m_auflbDatum->setObjectName(QStringLiteral("auflbDatum"));
    QFont f = m_auflbDatum->font();
    f.setBold(true);
    m_auflbDatum->setFont(f);
    m_mc01 = new QCalendarWidget(page);
    m_mc01->setObjectName(QStringLiteral("mc01"));
    m_mc01->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    m_mc01->setLocale(QLocale(QLocale::German, QLocale::Germany));
    m_mc01->setMaximumSize(320, 240);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_auflbDatum);
    layout->addWidget(m_mc01, 0, Qt::AlignLeft);
    layout->addStretch();
    return page;
}

void TermineModule::activate()
{
    const QDate today = QDate::currentDate();
    const QString heading = GermanFormat::longDate(today);
    m_setHeading(heading);
    if (m_auflbDatum)
        m_auflbDatum->setText(heading);
    m_dm.dmExtras->qrTermine->replaceSql(
        SqlText::format(QStringLiteral("select * from termine where wvdatum = '%s' order by wvdatum,uhrzeit"),
                        {GermanFormat::shortDate(today)}));
    if (m_mc01)
        m_mc01->setSelectedDate(today);
}
