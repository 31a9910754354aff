#pragma once

#include "report/ReportDataSet.h"

#include <QVariantList>

#include <vector>

// Rows held in memory: the data sets of the command-line renderer, tests and benchmarks.
class ReportMemoryDataSet : public ReportDataSet
{
public:
    explicit ReportMemoryDataSet(const QString &name);

    void addField(const QString &name, FieldKind kind);
    void addRow(const QVariantList &values);
    // Room for `rows` more rows of the current fields, for a caller that knows the count.
    void reserveRows(qsizetype rows);
    int rowCount() const { return static_cast<int>(m_rowStarts.size()); }
    qint64 recordCount() const override { return rowCount(); }
    int currentRow() const { return m_current; }
    int controlsDisableCount() const { return m_disableCount; }

    QString name() const override { return m_name; }
    int fieldCount() const override { return static_cast<int>(m_fields.size()); }
    QString fieldName(int field) const override;
    FieldKind fieldKind(int field) const override;
    QVariant fieldValue(int field) const override;
    void first() override;
    void next() override;
    void prior() override;
    void last() override;
    bool eof() const override { return m_eof; }
    bool bof() const override { return m_bof; }
    bool controlsDisabled() const override { return m_disableCount > 0; }
    void disableControls() override { ++m_disableCount; }
    void enableControls() override;

private:
    struct Field
    {
        QString name;
        FieldKind kind;
    };
    QString m_name;
    std::vector<Field> m_fields;
    // All rows' values one after another, and where each row starts: one allocation for a
    // large set instead of one per row.
    std::vector<QVariant> m_values;
    std::vector<size_t> m_rowStarts;
    int m_current = 0;
    bool m_eof = true;
    bool m_bof = true;
    int m_disableCount = 0;
};
