#pragma once

#include "ui/DataSetModel.h"

#include <QTableView>

// The list of a data set: whole rows selected, the highlighted row is the cursor (both
// ways), cells never edited in place. Ctrl+Delete asks "Datensatz löschen?" and deletes,
// unless the list is read-only.
class DbGrid : public QTableView
{
    Q_OBJECT
public:
    DbGrid(DataSet *dataSet, QList<DataSetModel::Column> columns, QWidget *parent = nullptr);

    DataSet *dataSet() const { return m_model->dataSet(); }
    DataSetModel *dataSetModel() const { return m_model; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool isReadOnly() const { return m_readOnly; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void followCursor();
    void applyWidths();

    DataSetModel *m_model;
    bool m_readOnly = false;
    bool m_syncing = false;
    int m_modelChanging = 0;
};
