#include "ui/DataSetModel.h"

#include "data/DataSet.h"

DataSetModel::DataSetModel(DataSet *dataSet, QList<Column> columns, QObject *parent)
    : QAbstractTableModel(parent), m_ds(dataSet), m_columns(std::move(columns))
{
    // A new result resets the model; a row that comes or goes is announced as one row, so a
    // list over many thousand rows does not lay itself out again. While a report walks the
    // set the model stays still and catches up with one reset afterwards.
    auto reset = [this] {
        beginResetModel();
        m_rows = m_ds->isOpen() ? m_ds->fetchedCount() : 0;
        endResetModel();
    };
    connect(m_ds, &DataSet::controlsEnabled, this, reset);
    connect(m_ds, &DataSet::rowsReset, this, [this, reset] {
        if (!m_ds->controlsDisabled())
            reset();
    });
    connect(m_ds, &DataSet::rowAboutToBeInserted, this, [this](int row) {
        if (!m_ds->controlsDisabled())
            beginInsertRows({}, row, row);
    });
    connect(m_ds, &DataSet::rowInserted, this, [this] {
        if (m_ds->controlsDisabled())
            return;
        ++m_rows;
        endInsertRows();
    });
    connect(m_ds, &DataSet::rowAboutToBeRemoved, this, [this](int row) {
        if (!m_ds->controlsDisabled())
            beginRemoveRows({}, row, row);
    });
    connect(m_ds, &DataSet::rowRemoved, this, [this] {
        if (m_ds->controlsDisabled())
            return;
        --m_rows;
        endRemoveRows();
    });
    connect(m_ds, &DataSet::rowsAboutToBeFetched, this, [this](int first, int last) {
        if (!m_ds->controlsDisabled())
            beginInsertRows({}, first, last);
    });
    connect(m_ds, &DataSet::rowsFetched, this, [this] {
        if (m_ds->controlsDisabled())
            return;
        m_rows = m_ds->fetchedCount();
        endInsertRows();
    });
    connect(m_ds, &DataSet::rowChanged, this, [this](int row) {
        if (m_ds->controlsDisabled() || row >= m_rows)
            return;
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
    m_rows = m_ds->isOpen() ? m_ds->fetchedCount() : 0;
}

int DataSetModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_ds)
        return 0;
    return m_rows;
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
