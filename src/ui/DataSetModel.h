#pragma once

#include <QAbstractTableModel>
#include <QPointer>

#include "data/DataSet.h"



// A read-only table model over a DataSet: one row per record, the chosen fields as columns,
// values in their German display form, numbers right-aligned.
class DataSetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct Column
    {
        QString field;
        QString title;
        int width = 0;   // pixels; 0 leaves the view's default
    };

    DataSetModel(DataSet *dataSet, QList<Column> columns, QObject *parent = nullptr);

    DataSet *dataSet() const { return m_ds; }
    const QList<Column> &columns() const { return m_columns; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    int fieldIndex(int column) const;

    QPointer<DataSet> m_ds;
    QList<Column> m_columns;
    int m_rows = 0;   // what the views were told; changes only through begin/end calls
};
