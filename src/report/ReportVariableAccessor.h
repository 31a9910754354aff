#pragma once

#include "report/ReportValue.h"

#include <QDate>
#include <QDateTime>
#include <QString>

class TBaseReport;

// What FindVariable returns: sets or reads one report variable in every form. A name that
// is not in the list fails on first use ("Set variable: …" / "Get variable: …").
class ReportVariableAccessor
{
public:
    ReportVariableAccessor(TBaseReport &report, const QString &name) : m_report(report), m_name(name) {}

    void setText(const QString &text);
    void setNumber(double number);
    void setBoolean(bool value);
    void setDate(const QDate &date);
    void setDateTime(const QDateTime &dateTime);
    ReportVariableAccessor &operator=(const QString &text)
    {
        setText(text);
        return *this;
    }

    // Read back as text: numbers with decimal comma, dates as dd.MM.yyyy (with the time
    // when one is stored).
    QString text() const;
    // The stored form: "1234.5", "True", "{2024-03-01}" …
    QString storedText() const;
    int type() const;
    ReportValue value() const;

private:
    int indexForSet() const;
    int indexForGet() const;

    TBaseReport &m_report;
    QString m_name;
};
