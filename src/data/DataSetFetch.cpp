// Reading a result as the cursor needs it. open() reads the first rows; the rest follows on
// demand (next, last, recordCount, locate, valueAt) and, between user actions, in the
// background, so a page over 200,000 rows opens as fast as one over 200.
//
// A result left half-read holds a snapshot of the file on its connection. It is read on a
// connection of its own (a reader of the Database), so the program's other statements see
// the file as it is and can write. Inside a write transaction a result is read whole on the
// main connection, since only that one sees the transaction's own writes.
#include "data/DataSet.h"

#include "data/DataError.h"
#include "data/Database.h"
#include "data/FieldValue.h"
#include "data/Schema.h"
#include "data/WriteTransaction.h"

#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTimer>

#include <climits>


namespace {

constexpr int BackgroundBatch = 4000;

} // namespace

void DataSet::fetch()
{
    dropCursor();
    m_translated = SqlDialect::translate(m_sql, m_db->dialect());
    m_table = Schema::table(SqlDialect::sourceTable(m_sql));
    m_lastParams = parameterValues(m_translated);
    const bool inTransaction = WriteTransaction::active() || m_db->inTransaction();
    if (!inTransaction)
        m_reader = m_db->takeReader();
    std::unique_ptr<QSqlQuery> q;
    try {
        q = std::make_unique<QSqlQuery>(m_reader.isEmpty() ? m_db->execBound(m_translated, m_lastParams, true)
                                                           : m_db->execBoundOn(m_reader, m_translated, m_lastParams));
    } catch (...) {
        dropCursor();
        throw;
    }

    const QSqlRecord rec = q->record();
    QVector<QString> columns;
    QVector<int> types;
    for (int i = 0; i < rec.count(); ++i) {
        columns << rec.fieldName(i);
        types << rec.field(i).metaType().id();
    }
    resolveFields(columns, types);
    m_storedTypes.clear();
    for (int i = 0; i < m_storedCount; ++i)
        m_storedTypes << m_fields.at(i).type;

    m_rows.clear();
    m_calcValid.clear();
    m_cursor = std::move(q);
    m_allFetched = false;
    // A result on the main connection is read at once (on the file it would hold the
    // file's snapshot, on the server the connection); a reader's result as needed.
    readRows(m_reader.isEmpty() ? INT_MAX : FirstBatch, false);
}

int DataSet::readRows(int max, bool announce)
{
    if (m_allFetched || !m_cursor)
        return 0;
    const int total = static_cast<int>(m_fields.size());
    QVector<Row> read;
    read.reserve(std::min(max, BackgroundBatch));
    bool ended = false;
    while (static_cast<int>(read.size()) < max) {
        if (!m_cursor->next()) {
            ended = true;
            break;
        }
        Row row(total);
        for (int i = 0; i < m_storedCount; ++i)
            row[i] = FieldValue::fromStorage(m_cursor->value(i), m_storedTypes.at(i));
        read.append(std::move(row));
    }
    if (ended) {
        // The end of the rows and a damaged page both stop next(); only the error tells them apart.
        const QSqlError error = m_cursor->lastError();
        dropCursor();
        if (error.isValid()) {
            dropRows();
            throw DataError(QStringLiteral("Die Daten von \"%1\" konnten nicht gelesen werden.\r%2")
                                .arg(objectName(), error.text()));
        }
    } else {
        readInBackground();
    }
    const int n = static_cast<int>(read.size());
    if (n > 0) {
        const int first = static_cast<int>(m_rows.size());
        if (announce)
            emit rowsAboutToBeFetched(first, first + n - 1);
        m_rows.append(std::move(read));
        m_calcValid.resize(m_rows.size(), false);
        if (announce)
            emit rowsFetched();
    }
    return n;
}

int DataSet::fetchUpTo(int count) const
{
    auto *self = const_cast<DataSet *>(this);
    while (!m_allFetched && m_rows.size() < count)
        if (self->readRows(std::max(count - static_cast<int>(m_rows.size()), BackgroundBatch), true) == 0)
            break;
    return static_cast<int>(m_rows.size());
}

int DataSet::fetchAll() const
{
    return fetchUpTo(INT_MAX);
}

void DataSet::dropCursor()
{
    m_allFetched = true;
    if (m_cursor) {
        m_cursor->finish();
        m_cursor.reset();
    }
    if (!m_reader.isEmpty()) {
        if (m_db)
            m_db->releaseReader(m_reader);
        m_reader.clear();
    }
}

void DataSet::readInBackground()
{
    if (m_backgroundQueued)
        return;
    m_backgroundQueued = true;
    QTimer::singleShot(0, this, [this, gen = m_generation] {
        m_backgroundQueued = false;
        if (m_allFetched)
            return;
        // Queued for a result that was replaced since: the new one asked in vain while this
        // was queued, so it is read on now.
        if (gen != m_generation) {
            readInBackground();
            return;
        }
        // Nothing may escape into the event loop: a damaged file closes the set instead.
        try {
            readRows(BackgroundBatch, true);
        } catch (const DataError &e) {
            qWarning("%s", qPrintable(e.message()));
        }
    });
}
