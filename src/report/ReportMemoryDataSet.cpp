#include "report/ReportMemoryDataSet.h"

ReportMemoryDataSet::ReportMemoryDataSet(const QString &name) : m_name(name) {}

void ReportMemoryDataSet::addField(const QString &name, FieldKind kind)
{
    m_fields.push_back({name, kind});
}

void ReportMemoryDataSet::addRow(const QVariantList &values)
{
    m_rows.push_back(values);
    if (m_rows.size() == 1)
        first();
}

QString ReportMemoryDataSet::fieldName(int field) const
{
    return m_fields[static_cast<size_t>(field)].name;
}

ReportDataSet::FieldKind ReportMemoryDataSet::fieldKind(int field) const
{
    return m_fields[static_cast<size_t>(field)].kind;
}

QVariant ReportMemoryDataSet::fieldValue(int field) const
{
    if (m_rows.empty())
        return {};
    const QVariantList &row = m_rows[static_cast<size_t>(m_current)];
    return field < row.size() ? row[field] : QVariant();
}

void ReportMemoryDataSet::first()
{
    m_current = 0;
    m_bof = true;
    m_eof = m_rows.empty();
}

void ReportMemoryDataSet::next()
{
    if (m_current + 1 < rowCount()) {
        ++m_current;
        m_bof = false;
        m_eof = false;
    } else {
        m_eof = true;
    }
}

void ReportMemoryDataSet::prior()
{
    if (m_current > 0) {
        --m_current;
        m_eof = false;
        m_bof = false;
    } else {
        m_bof = true;
    }
}

void ReportMemoryDataSet::last()
{
    m_current = m_rows.empty() ? 0 : rowCount() - 1;
    m_eof = true;
    m_bof = m_rows.empty();
}

void ReportMemoryDataSet::enableControls()
{
    if (m_disableCount > 0)
        --m_disableCount;
}
