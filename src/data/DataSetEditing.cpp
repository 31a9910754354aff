#include "data/DataSet.h"

#include "data/DataError.h"
#include "data/Database.h"
#include "data/FieldValue.h"
#include "data/Schema.h"
#include "data/WriteTransaction.h"

#include <QPointer>
#include <QSqlQuery>

#include <algorithm>

// Editing, posting and deleting, with live write-through to the table by its key.

void DataSet::edit()
{
    requireOpen();
    requireWritable();
    if (isPending())
        return;
    if (m_rows.isEmpty()) {
        append();
        return;
    }
    if (beforeEdit)
        beforeEdit(*this);
    journalState();
    m_original = m_rows.at(m_row);
    m_modified = false;
    setState(State::Edit);
    if (afterEdit)
        afterEdit(*this);
}

void DataSet::append()
{
    requireOpen();
    requireWritable();
    checkBrowseMode();
    fetchAll();   // the new row goes after the real last one
    beginNewRow(static_cast<int>(m_rows.size()));
}

void DataSet::insert()
{
    requireOpen();
    requireWritable();
    checkBrowseMode();
    beginNewRow(m_row < 0 ? 0 : m_row);
}

void DataSet::beginNewRow(int position)
{
    checkDetails();
    if (beforeInsert)
        beforeInsert(*this);
    journalState();
    m_rowBeforeInsert = m_row;
    ++m_rowsChanging;
    emit rowAboutToBeInserted(position);
    --m_rowsChanging;
    m_rows.insert(position, Row(m_fields.size()));
    m_calcValid.insert(position, false);
    journalRowInsert(position);
    m_row = position;
    m_bof = m_eof = false;
    m_modified = false;
    m_state = State::Insert;
    emit rowInserted(position);
    emit stateChanged();
    emit currentRowChanged();
    notifyDetails();
    try {
        if (afterInsert)
            afterInsert(*this);
    } catch (...) {
        // A refused insert leaves nothing behind.
        cancel();
        throw;
    }
    // Defaults set by the insert handlers do not count as the user's input: a new row
    // nobody typed into is still dropped when the cursor moves on.
    m_modified = false;
    recalcPending();
}

void DataSet::registerEditor(QObject *owner, std::function<void()> flush)
{
    m_editors.append({QPointer<QObject>(owner), std::move(flush)});
    connect(owner, &QObject::destroyed, this, [this, owner] {
        m_editors.erase(std::remove_if(m_editors.begin(), m_editors.end(),
                                       [owner](const auto &e) { return e.first.isNull() || e.first == owner; }),
                        m_editors.end());
    });
}

void DataSet::flushEditors()
{
    if (!isPending())
        return;
    const auto editors = m_editors;
    for (const auto &e : editors)
        if (!e.first.isNull())
            e.second();
}

void DataSet::post()
{
    requireOpen();
    flushEditors();
    if (!isPending())
        return;
    // The row, the rules run after it and whatever they post succeed or fail together.
    WriteTransaction tx(*m_db);
    // A detail of a master still being typed needs the master's key first.
    if (m_master && m_master->isPending())
        m_master->post();
    if (beforePost)
        beforePost(*this);
    for (int i = 0; i < m_storedCount; ++i) {
        const Field &f = m_fields.at(i);
        if (f.required && m_rows.at(m_row).at(i).isNull())
            throw RequiredFieldError(requiredMessage(f.name), this, f.name);
    }
    requireMasterKey();
    journalState();
    journalRowChange(m_row);
    if (m_state == State::Insert)
        writeInsert();
    else
        writeUpdate();
    m_original.clear();
    m_modified = false;
    m_calcValid[m_row] = false;
    setState(State::Browse);
    emit rowChanged(m_row);
    if (afterPost)
        afterPost(*this);
    notifyDetails();
    tx.commit();
}

void DataSet::cancel()
{
    requireOpen();
    if (m_state == State::Insert) {
        // The details of a row that never existed go with it.
        cancelDetails();
        journalState();
        const int removed = m_row;
        journalRowRemove(removed);
        ++m_rowsChanging;
        emit rowAboutToBeRemoved(removed);
        --m_rowsChanging;
        m_rows.removeAt(removed);
        m_calcValid.removeAt(removed);
        int back = m_rowBeforeInsert;
        if (back > removed)
            --back;
        if (back >= m_rows.size())
            back = static_cast<int>(m_rows.size()) - 1;
        if (back < 0 && !m_rows.isEmpty())
            back = 0;
        m_row = back;
        m_bof = m_rows.isEmpty();
        m_eof = m_rows.isEmpty();
        m_modified = false;
        m_state = State::Browse;
        emit rowRemoved(removed);
        emit stateChanged();
        emit currentRowChanged();
        notifyDetails();
    } else if (m_state == State::Edit) {
        journalState();
        journalRowChange(m_row);
        m_rows[m_row] = m_original;
        m_original.clear();
        m_calcValid[m_row] = false;
        m_modified = false;
        m_state = State::Browse;
        emit rowChanged(m_row);
        emit stateChanged();
    }
}

void DataSet::checkBrowseMode()
{
    if (!isOpen())
        return;
    flushEditors();
    if (m_state == State::Insert && !m_modified)
        cancel();
    else if (isPending())
        post();
}

void DataSet::remove()
{
    requireOpen();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_rows.isEmpty())
        throw DataError(EmptyMessage);
    requireWritable();
    if (m_state == State::Edit)
        cancel();
    checkDetails();
    WriteTransaction tx(*m_db);
    if (beforeDelete)
        beforeDelete(*this);
    const int removed = m_row;
    writeDelete(removed);
    journalState();
    journalRowRemove(removed);
    ++m_rowsChanging;
    emit rowAboutToBeRemoved(removed);
    --m_rowsChanging;
    m_rows.removeAt(removed);
    m_calcValid.removeAt(removed);
    fetchUpTo(removed + 1);   // the row that follows takes its place, read or not
    m_row = std::min(removed, static_cast<int>(m_rows.size()) - 1);
    m_bof = m_rows.isEmpty() || m_row == 0;
    m_eof = m_rows.isEmpty();
    emit rowRemoved(removed);
    emit currentRowChanged();
    notifyDetails();
    if (afterDelete)
        afterDelete(*this);
    tx.commit();
}

void DataSet::emptyTable()
{
    requireOpen();
    if (!m_table)
        throw DataError(ReadOnlyMessage);
    const QString table = m_table->name;
    m_db->transaction([this, &table] {
        m_db->exec(QStringLiteral("DELETE FROM %1").arg(table));
        // The rows that follow are numbered from 1 again.
        m_db->restartKeys(table, m_table->key().name);
    });
    reopen();
}

// ----------------------------------------------------------------------------------------
// Write-through

void DataSet::writeInsert()
{
    QStringList columns, marks;
    QVariantList values;
    const Row &row = m_rows.at(m_row);
    for (int i = 0; i < m_storedCount; ++i) {
        if (i == m_keyIndex)
            continue;
        columns << m_fields.at(i).name;
        marks << QStringLiteral("?");
        values << row.at(i);
    }
    const QString keyName = m_table->key().name;
    TranslatedSql sql;
    sql.sql = columns.isEmpty()
                  ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES RETURNING %2").arg(m_table->name, keyName)
                  : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING %4")
                        .arg(m_table->name, columns.join(u','), marks.join(u','), keyName);
    // Prepared once per result: a series of new rows (a generated table) does not parse the
    // same statement again for every row.
    if (!m_insertQuery || m_insertSql != sql.sql || m_insertGeneration != m_db->generation()) {
        m_insertQuery = std::make_unique<QSqlQuery>(m_db->prepare(sql));
        m_insertSql = sql.sql;
        m_insertGeneration = m_db->generation();
    }
    QSqlQuery &q = *m_insertQuery;
    m_db->execPrepared(q, values);
    QVariant key = q.next() ? q.value(0) : q.lastInsertId();
    q.finish();
    if (m_keyIndex >= 0)
        m_rows[m_row][m_keyIndex] = FieldValue::fromStorage(key, m_fields.at(m_keyIndex).type);
}

void DataSet::writeUpdate()
{
    QVector<int> changed;
    for (int i = 0; i < m_storedCount; ++i)
        if (i != m_keyIndex && !FieldValue::sameValue(m_original.at(i), m_rows.at(m_row).at(i)))
            changed << i;
    if (changed.isEmpty())
        return;
    const QVariant key = m_original.at(m_keyIndex);
    const QString keyName = m_table->key().name;

    // The fields this save changes must still hold what was read: a colleague's save of the
    // same field meanwhile is not overwritten unseen. Other fields of the row may have been
    // changed by someone else; both changes are kept. The write transaction this runs in
    // keeps the row as read here until the update.
    QStringList columns;
    for (int i : std::as_const(changed))
        columns << m_fields.at(i).name;
    TranslatedSql read;
    read.sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?%4")
                   .arg(columns.join(u','), m_table->name, keyName, SqlDialect::lockRowsClause(m_db->dialect()));
    QSqlQuery stored = m_db->execBound(read, {key}, true);
    if (!stored.next())
        throw DataError(QStringLiteral("Der Datensatz wurde inzwischen von einem anderen Benutzer gelöscht.\r"
                                       "Ihre Änderungen können nicht gespeichert werden."));
    for (qsizetype c = 0; c < changed.size(); ++c) {
        const int i = changed.at(c);
        const QVariant now = FieldValue::fromStorage(stored.value(static_cast<int>(c)), m_fields.at(i).type);
        if (FieldValue::sameValue(now, m_original.at(i)) || FieldValue::sameValue(now, m_rows.at(m_row).at(i)))
            continue;
        QPointer<DataSet> self(this);
        throw RecordChanged(QStringLiteral("Der Datensatz wurde inzwischen von einem anderen Benutzer geändert.\r"
                                           "Ihre Änderung wurde nicht gespeichert."),
                            [self, keyName, key] {
                                if (!self)
                                    return;
                                self->cancel();
                                self->reopen();
                                self->locate(keyName, key);
                            });
    }
    stored.finish();

    QStringList sets;
    QVariantList values;
    for (int i : std::as_const(changed)) {
        sets << m_fields.at(i).name + QStringLiteral(" = ?");
        values << m_rows.at(m_row).at(i);
    }
    values << key;
    TranslatedSql sql;
    sql.sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?").arg(m_table->name, sets.join(QStringLiteral(", ")), keyName);
    QSqlQuery q = m_db->execBound(sql, values, true);
    if (q.numRowsAffected() == 0)
        throw DataError(QStringLiteral("Der Datensatz wurde inzwischen von einem anderen Benutzer gelöscht.\r"
                                       "Ihre Änderungen können nicht gespeichert werden."));
}

void DataSet::writeDelete(int row)
{
    TranslatedSql sql;
    sql.sql = QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(m_table->name, m_table->key().name);
    m_db->execBound(sql, {m_rows.at(row).at(m_keyIndex)}, true);
}
