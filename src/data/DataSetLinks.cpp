// Master-detail links, and undoing the in-memory side of a write transaction that failed.
#include "data/DataSet.h"

#include "data/DataError.h"
#include "data/Database.h"
#include "data/FieldValue.h"
#include "data/WriteTransaction.h"

namespace {

bool sameParams(const QVariantList &a, const QVariantList &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (!FieldValue::sameValue(Database::toStorage(a.at(i)), Database::toStorage(b.at(i))))
            return false;
    return true;
}

} // namespace

void DataSet::setMaster(DataSet *master)
{
    if (m_master)
        m_master->m_details.removeAll(this);
    m_master = master;
    if (master)
        master->m_details.append(this);
}

void DataSet::notifyDetails()
{
    // A copy: a detail may close and reopen, which never changes this list, but stay safe.
    const QVector<DataSet *> details = m_details;
    for (DataSet *d : details)
        d->refreshFromMaster();
}

void DataSet::refreshFromMaster()
{
    if (!isOpen())
        return;
    // Only run again when the values taken from the master really changed: posting the
    // master's own totals must not throw the detail's cursor back to the first row.
    const QVariantList now = parameterValues(m_translated);
    if (sameParams(now, m_lastParams))
        return;
    if (isPending()) {
        // The master was posted under a new key while this row was being typed (the
        // master's moves post details first, so nothing else gets here): the row joins it.
        adoptLinkValues(now);
        return;
    }
    reopen();
}

void DataSet::adoptLinkValues(const QVariantList &now)
{
    const QVariantList before = m_lastParams;
    m_lastParams = now;
    if (m_row < 0 || before.size() != now.size())
        return;
    for (qsizetype i = 0; i < m_translated.parameterNames.size(); ++i) {
        const QString &name = m_translated.parameterNames.at(i);
        const int index = fieldIndex(name);
        if (index < 0 || index >= m_storedCount || !m_master || !m_master->hasField(name))
            continue;
        const QVariant current = m_rows.at(m_row).at(index);
        if (!current.isNull() && !FieldValue::sameValue(Database::toStorage(current), Database::toStorage(before.at(i))))
            continue;   // set to something else on purpose
        const QVariant value = FieldValue::coerce(now.at(i), m_fields.at(index).type, m_fields.at(index).size);
        if (FieldValue::sameValue(current, value))
            continue;
        journalRowChange(m_row);
        m_rows[m_row][index] = value;
        m_modified = m_modified || m_state == State::Edit;
        emit fieldChanged(m_fields.at(index).name);
        emit rowChanged(m_row);
    }
}

void DataSet::requireMasterKey() const
{
    // A detail row without its master's key could never be shown, edited or deleted.
    if (!m_master || !m_master->isOpen() || m_master->isEmpty())
        return;
    for (const QString &name : m_translated.parameterNames) {
        const int index = fieldIndex(name);
        if (index >= 0 && index < m_storedCount && m_master->hasField(name) && m_rows.at(m_row).at(index).isNull())
            throw DataError(requiredMessage(m_fields.at(index).name));
    }
}

void DataSet::checkDetails()
{
    for (DataSet *d : std::as_const(m_details))
        if (d->isPending())
            d->checkBrowseMode();
}

void DataSet::cancelDetails()
{
    for (DataSet *d : std::as_const(m_details))
        if (d->isPending())
            d->cancel();
}

// ----------------------------------------------------------------------------------------
// Undo journal

struct DataSet::Snapshot
{
    State state;
    Row original;
    bool modified;
    int row;
    int rowBeforeInsert;
    bool bof;
    bool eof;
    QVariantList lastParams;
};

void DataSet::journalState()
{
    if (!WriteTransaction::active())
        return;
    const Snapshot s{m_state, m_original, m_modified, m_row, m_rowBeforeInsert, m_bof, m_eof, m_lastParams};
    QPointer<DataSet> self(this);
    WriteTransaction::recordUndo([self, s, gen = m_generation] {
        if (!self || self->m_generation != gen)
            return;
        self->m_state = s.state;
        self->m_original = s.original;
        self->m_modified = s.modified;
        self->m_row = s.row;
        self->m_rowBeforeInsert = s.rowBeforeInsert;
        self->m_bof = s.bof;
        self->m_eof = s.eof;
        self->m_lastParams = s.lastParams;
    });
    WriteTransaction::afterUndo(this, [self] {
        if (self)
            self->redrawAfterUndo();
    });
}

void DataSet::journalRowChange(int row)
{
    if (!WriteTransaction::active() || row < 0 || row >= m_rows.size())
        return;
    QPointer<DataSet> self(this);
    WriteTransaction::recordUndo([self, row, values = m_rows.at(row), gen = m_generation] {
        if (self && self->m_generation == gen && row < self->m_rows.size()) {
            self->m_rows[row] = values;
            self->m_calcValid[row] = false;
        }
    });
    WriteTransaction::afterUndo(this, [self] {
        if (self)
            self->redrawAfterUndo();
    });
}

void DataSet::journalRowInsert(int row)
{
    if (!WriteTransaction::active())
        return;
    QPointer<DataSet> self(this);
    WriteTransaction::recordUndo([self, row, gen = m_generation] {
        if (self && self->m_generation == gen && row < self->m_rows.size()) {
            self->m_rows.removeAt(row);
            self->m_calcValid.removeAt(row);
        }
    });
}

void DataSet::journalRowRemove(int row)
{
    if (!WriteTransaction::active() || row < 0 || row >= m_rows.size())
        return;
    QPointer<DataSet> self(this);
    WriteTransaction::recordUndo([self, row, values = m_rows.at(row), gen = m_generation] {
        if (self && self->m_generation == gen && row <= self->m_rows.size()) {
            self->m_rows.insert(row, values);
            self->m_calcValid.insert(row, false);
        }
    });
}

void DataSet::redrawAfterUndo()
{
    if (!isOpen())
        return;
    m_calcValid.fill(false);
    emit rowsReset();
    emit stateChanged();
    emit currentRowChanged();
    notifyDetails();
}
