// Reading a result as the cursor needs it. open() reads the first rows; the rest follows on
// demand (next, last, recordCount, locate, valueAt) and, between user actions, in the
// background, so a page over 200,000 rows opens as fast as one over 200.
//
// A result still being read holds a snapshot of the file open on the connection, and every
// other statement on that connection would share it (and see neither other programs' nor its
// own writes in the right way). So before any other statement runs, the connection's gate
// reads every open result to its end.
#include "data/DataSet.h"

#include "data/DataError.h"
#include "data/Database.h"
#include "data/FieldValue.h"
#include "data/Schema.h"
#include "data/WriteTransaction.h"

#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTimer>

#include <climits>

namespace {

// The data sets with a result still being read, per connection.
QHash<const Database *, QSet<DataSet *>> &reading()
{
    static QHash<const Database *, QSet<DataSet *>> sets;
    return sets;
}

constexpr int BackgroundBatch = 4000;

} // namespace

void DataSet::fetch()
{
    dropCursor();
    m_translated = SqlDialect::translate(m_sql);
    m_table = Schema::table(SqlDialect::sourceTable(m_sql));
    m_lastParams = parameterValues(m_translated);
    auto q = std::make_unique<QSqlQuery>(m_db->execBound(m_translated, m_lastParams, true));

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
    // Inside a write transaction a result left open would meet the transaction's own writes.
    readRows(WriteTransaction::active() ? INT_MAX : FirstBatch, false);
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
        reading()[m_db].insert(this);
        readInBackground();
    }
    const int n = static_cast<int>(read.size());
    if (n > 0) {
        const int first = static_cast<int>(m_rows.size());
        if (announce)
            emit rowsAboutToBeFetched(first, first + n - 1);
        m_rows.append(read);
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
        if (self->readRows(std::max(count - static_cast<int>(m_rows.size()), FirstBatch), true) == 0)
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
    auto it = reading().find(m_db);
    if (it != reading().end()) {
        it->remove(this);
        if (it->isEmpty())
            reading().erase(it);
    }
}

void DataSet::readInBackground()
{
    if (m_backgroundQueued)
        return;
    m_backgroundQueued = true;
    QTimer::singleShot(0, this, [this, gen = m_generation] {
        m_backgroundQueued = false;
        if (gen != m_generation || m_allFetched)
            return;
        // Nothing may escape into the event loop: a damaged file closes the set instead.
        try {
            readRows(BackgroundBatch, true);
        } catch (const DataError &e) {
            qWarning("%s", qPrintable(e.message()));
        }
    });
}

void DataSet::finishReading(const Database *db)
{
    const auto it = reading().constFind(db);
    if (it == reading().cend())
        return;
    const QSet<DataSet *> sets = *it;
    for (DataSet *ds : sets)
        ds->fetchAll();
}
