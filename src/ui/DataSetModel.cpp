#include "ui/DataSetModel.h"

#include "data/DataSet.h"

DataSetModel::DataSetModel(DataSet *dataSet, QList<Column> columns, QObject *parent)
    : QAbstractTableModel(parent), m_ds(dataSet), m_columns(std::move(columns))
{
    // The data set reports changes after the fact, so rows that come or go reset the model;
    // views keep their scroll position and follow the cursor again.
    auto reset = [this] {
        if (m_ds->controlsDisabled())
            return;
        beginResetModel();
        endResetModel();
    };
    connect(m_ds, &DataSet::controlsEnabled, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(m_ds, &DataSet::rowsReset, this, reset);
    connect(m_ds, &DataSet::rowInserted, this, reset);
    connect(m_ds, &DataSet::rowRemoved, this, reset);
    connect(m_ds, &DataSet::rowChanged, this, [this](int row) {
        if (m_ds->controlsDisabled())
            return;
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
}

int DataSetModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_ds || !m_ds->isOpen())
        return 0;
    return m_ds->recordCount();
}

int DataSetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

int DataSetModel::fieldIndex(int column) const
{
    if (!m_ds || column < 0 || column >= m_columns.size())
        return -1;
    return m_ds->fieldIndex(m_columns.at(column).field);
}

QVariant DataSetModel::data(const QModelIndex &index, int role) const
{
    const int field = fieldIndex(index.column());
    if (!index.isValid() || field < 0)
        return {};
    if (role == Qt::DisplayRole)
        return m_ds->displayTextAt(index.row(), field);
    if (role == Qt::TextAlignmentRole) {
        const FieldType type = m_ds->fields().at(field).type;
        if (isNumeric(type))
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_columns.size())
        return m_columns.at(section).title;
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
