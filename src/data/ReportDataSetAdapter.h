#pragma once

#include "report/ReportDataSet.h"

class DataSet;

// Shows a query to the report engine: its fields (calculated ones included), its cursor,
// and the detaching of its lists while a report walks it.
class ReportDataSetAdapter : public ReportDataSet
{
public:
    explicit ReportDataSetAdapter(DataSet *dataSet) : m_ds(dataSet) {}

    QString name() const override;
    int fieldCount() const override;
    QString fieldName(int field) const override;
    FieldKind fieldKind(int field) const override;
    QVariant fieldValue(int field) const override;

    void first() override;
    void next() override;
    void prior() override;
    void last() override;
    bool eof() const override;
    bool bof() const override;
    qint64 recordCount() const override;

    bool controlsDisabled() const override;
    void disableControls() override;
    void enableControls() override;

private:
    DataSet *m_ds;
};
