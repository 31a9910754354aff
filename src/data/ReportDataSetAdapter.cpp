#include "data/ReportDataSetAdapter.h"

#include "data/DataSet.h"

QString ReportDataSetAdapter::name() const
{
    return m_ds->name();
}

int ReportDataSetAdapter::fieldCount() const
{
    return m_ds->isOpen() ? static_cast<int>(m_ds->fields().size()) : 0;
}

QString ReportDataSetAdapter::fieldName(int field) const
{
    return m_ds->fields().at(field).name;
}

ReportDataSet::FieldKind ReportDataSetAdapter::fieldKind(int field) const
{
    switch (m_ds->fields().at(field).type) {
    case FieldType::Text:
    case FieldType::Memo: return FieldKind::Text;
    case FieldType::Integer:
    case FieldType::SmallInt:
    case FieldType::AutoIncrement:
    case FieldType::Money:
    case FieldType::Float: return FieldKind::Number;
    case FieldType::Date: return FieldKind::Date;
    case FieldType::Time: return FieldKind::Time;
    case FieldType::Boolean: return FieldKind::Boolean;
    }
    return FieldKind::Other;
}

QVariant ReportDataSetAdapter::fieldValue(int field) const
{
    const QVariant v = m_ds->value(field);
    // The memo fields hold their lines as typed in the windows, separated by LF; a report
    // breaks lines only at CR, so each line ends in CR LF there.
    if (m_ds->fields().at(field).type == FieldType::Memo && v.typeId() == QMetaType::QString) {
        QString text = v.toString();
        if (text.contains(QLatin1Char('\n'))) {
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
            return text;
        }
    }
    return v;
}

// A report walks a set that is open; a closed one reads as empty.
void ReportDataSetAdapter::first()
{
    if (m_ds->isOpen())
        m_ds->first();
}

void ReportDataSetAdapter::next()
{
    if (m_ds->isOpen())
        m_ds->next();
}

void ReportDataSetAdapter::prior()
{
    if (m_ds->isOpen())
        m_ds->prior();
}

void ReportDataSetAdapter::last()
{
    if (m_ds->isOpen())
        m_ds->last();
}

bool ReportDataSetAdapter::eof() const
{
    return !m_ds->isOpen() || m_ds->eof();
}

bool ReportDataSetAdapter::bof() const
{
    return !m_ds->isOpen() || m_ds->bof();
}

bool ReportDataSetAdapter::controlsDisabled() const
{
    return m_ds->controlsDisabled();
}

void ReportDataSetAdapter::disableControls()
{
    m_ds->disableControls();
}

void ReportDataSetAdapter::enableControls()
{
    m_ds->enableControls();
}

qint64 ReportDataSetAdapter::recordCount() const
{
    return m_ds->isOpen() ? m_ds->recordCount() : 0;
}
