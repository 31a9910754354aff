#include "report/ReportVariableAccessor.h"

#include "report/ReportDateTime.h"
#include "report/ReportError.h"
#include "report/TBaseReport.h"

int ReportVariableAccessor::indexForSet() const
{
    const int index = m_report.variables().indexOf(m_name);
    if (index < 0)
        throw ReportError(QStringLiteral("Set variable: report variable not found: %1").arg(m_name));
    return index;
}

int ReportVariableAccessor::indexForGet() const
{
    const int index = m_report.variables().indexOf(m_name);
    if (index < 0)
        throw ReportError(QStringLiteral("Get variable: report variable not found: %1").arg(m_name));
    return index;
}

void ReportVariableAccessor::setText(const QString &text)
{
    m_report.variables().setValue(indexForSet(), ReportValue::fromText(text));
}

void ReportVariableAccessor::setNumber(double number)
{
    m_report.variables().setValue(indexForSet(), ReportValue::fromNumber(number));
}

void ReportVariableAccessor::setBoolean(bool value)
{
    m_report.variables().setValue(indexForSet(), ReportValue::fromBoolean(value));
}

void ReportVariableAccessor::setDate(const QDate &date)
{
    m_report.variables().setValue(indexForSet(), ReportValue::fromDateTime(ReportDateTime::fromDate(date)));
}

void ReportVariableAccessor::setDateTime(const QDateTime &dateTime)
{
    m_report.variables().setValue(indexForSet(), ReportValue::fromDateTime(ReportDateTime::fromDateTime(dateTime)));
}

QString ReportVariableAccessor::text() const
{
    return m_report.variables().value(indexForGet()).displayText(m_report.TrueValue(), m_report.FalseValue());
}

QString ReportVariableAccessor::storedText() const
{
    return m_report.variables().storedText(indexForGet());
}

int ReportVariableAccessor::type() const
{
    return m_report.variables().type(indexForGet());
}

ReportValue ReportVariableAccessor::value() const
{
    return m_report.variables().value(indexForGet());
}
