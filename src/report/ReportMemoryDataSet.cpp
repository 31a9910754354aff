#include "report/ReportMemoryDataSet.h"

ReportMemoryDataSet::ReportMemoryDataSet(const QString &name) : m_name(name) {}

void ReportMemoryDataSet::addField(const QString &name, FieldKind kind)
{
    m_fields.push_back({name, kind});
}

void ReportMemoryDataSet::addRow(const QVariantList &values)
{
    m_rowStarts.push_back(m_values.size());
    m_values.insert(m_values.end(), values.begin(), values.end());
    if (m_rowStarts.size() == 1)
        first();
}

void ReportMemoryDataSet::reserveRows(qsizetype rows)
{
    m_rowStarts.reserve(m_rowStarts.size() + static_cast<size_t>(rows));
    m_values.reserve(m_values.size() + static_cast<size_t>(rows) * m_fields.size());
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
    if (m_rowStarts.empty() || field < 0)
        return {};
    const size_t row = static_cast<size_t>(m_current);
    const size_t start = m_rowStarts[row];
    const size_t end = row + 1 < m_rowStarts.size() ? m_rowStarts[row + 1] : m_values.size();
    return start + static_cast<size_t>(field) < end ? m_values[start + static_cast<size_t>(field)] : QVariant();
}

void ReportMemoryDataSet::first()
{
    m_current = 0;
    m_bof = true;
    m_eof = m_rowStarts.empty();
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
    m_current = m_rowStarts.empty() ? 0 : rowCount() - 1;
    m_eof = true;
    m_bof = m_rowStarts.empty();
}

void ReportMemoryDataSet::enableControls()
{
    if (m_disableCount > 0)
        --m_disableCount;
}
