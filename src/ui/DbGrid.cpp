#include "ui/DbGrid.h"

#include "data/DataSet.h"
#include "ui/Guard.h"

#include <QHeaderView>
#include <QKeyEvent>

DbGrid::DbGrid(DataSet *dataSet, QList<DataSetModel::Column> columns, QWidget *parent)
    : QTableView(parent), m_model(new DataSetModel(dataSet, std::move(columns), this))
{
    // While a row comes or goes the view moves its own current index; that is no choice of
    // the user and must not move the cursor in the middle of the data set's change. Connected
    // before the view's own handlers, so the mark is set before the view reacts.
    for (auto about : {&QAbstractItemModel::rowsAboutToBeInserted, &QAbstractItemModel::rowsAboutToBeRemoved})
        connect(m_model, about, this, [this] { ++m_modelChanging; });
    for (auto done : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(m_model, done, this, [this] {
            if (--m_modelChanging == 0)
                followCursor();
        });
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);   // Tab leaves the list for the next control
    setAlternatingRowColors(true);
    setWordWrap(false);
    verticalHeader()->setVisible(false);
    // Rows of one height: the header need not measure each of many thousand rows again when
    // one comes or goes.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // The current row stays highlighted when the list has no focus.
    QPalette p = palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(p);

    applyWidths();
    connect(dataSet, &DataSet::currentRowChanged, this, &DbGrid::followCursor);
    connect(m_model, &QAbstractItemModel::modelReset, this, &DbGrid::followCursor);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (m_syncing || m_modelChanging > 0 || !current.isValid() || !this->dataSet()->isOpen())
                    return;
                if (current.row() == this->dataSet()->currentRow())
                    return;
                const int target = current.row();
                if (!guarded([&] { this->dataSet()->moveTo(target); }))
                    followCursor();   // the move was refused: show where the cursor is
            });
    followCursor();
}

void DbGrid::applyWidths()
{
    const auto &cols = m_model->columns();
    for (int i = 0; i < cols.size(); ++i)
        if (cols.at(i).width > 0)
            setColumnWidth(i, cols.at(i).width);
}

void DbGrid::followCursor()
{
    if (dataSet()->controlsDisabled())
        return;
    m_syncing = true;
    const int row = dataSet()->isOpen() ? dataSet()->currentRow() : -1;
    if (row >= 0 && row < m_model->rowCount()) {
        const QModelIndex idx = m_model->index(row, 0);
        selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(idx);
    } else {
        selectionModel()->clearSelection();
    }
    m_syncing = false;
}

void DbGrid::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete && (event->modifiers() & Qt::ControlModifier)) {
        event->accept();
        if (m_readOnly || dataSet()->isReadOnly())
            return;
        if (Dialogs::instance().confirmOkCancel(QStringLiteral("Datensatz löschen?")))
            guarded([this] { dataSet()->remove(); });
        return;
    }
    QTableView::keyPressEvent(event);
}
