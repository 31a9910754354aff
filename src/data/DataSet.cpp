#include "data/DataSet.h"

#include "data/DataError.h"
#include "data/Database.h"
#include "data/FieldValue.h"
#include "data/Schema.h"

#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

const QString DataSet::EmptyMessage = QStringLiteral("Operation bei leerer Datenmenge nicht ausführbar");
const QString DataSet::ClosedMessage = QStringLiteral("Operation bei geschlossener Datenmenge nicht ausführbar");
const QString DataSet::ReadOnlyMessage =
    QStringLiteral("Eine Datenmenge, die nur zum Lesen ist, kann nicht geändert werden");
const QString DataSet::NotEditingMessage = QStringLiteral("Datenmenge nicht im Bearbeitungs- oder Einfügemodus");

QString DataSet::requiredMessage(const QString &field)
{
    return QStringLiteral("Feld '%1' muss einen Wert haben").arg(field);
}

DataSet::DataSet(Database *db, const QString &name, QObject *parent) : QObject(parent), m_db(db)
{
    setObjectName(name);
    // The connection going away cannot be refused: pending rows are dropped, not posted.
    if (m_db)
        connect(m_db, &Database::aboutToClose, this, &DataSet::discard);
}

DataSet::~DataSet()
{
    dropCursor();
    if (m_master)
        m_master->m_details.removeAll(this);
    for (DataSet *d : std::as_const(m_details))
        d->m_master = nullptr;
}

// ----------------------------------------------------------------------------------------
// Set-up

void DataSet::setSql(const QString &sql)
{
    if (isOpen())
        close();
    m_sql = sql;
}

void DataSet::replaceSql(const QString &sql)
{
    setSql(QString());
    setSql(sql);
    open();
}

void DataSet::addCalculatedField(const QString &name, FieldType type)
{
    m_calcDefs.append({name, type});
}

void DataSet::setParam(const QString &name, const QVariant &value)
{
    m_params.insert(name.toLower(), value);
}

QVariant DataSet::param(const QString &name) const
{
    return m_params.value(name.toLower());
}

// ----------------------------------------------------------------------------------------
// Open and close

QVariantList DataSet::parameterValues(const TranslatedSql &sql) const
{
    QVariantList values;
    values.reserve(sql.parameterNames.size());
    for (const QString &name : sql.parameterNames) {
        if (m_master && m_master->hasField(name))
            values << m_master->value(name);   // null while the master is closed or empty
        else
            values << m_params.value(name.toLower());
    }
    return values;
}

void DataSet::resolveFields(const QVector<QString> &columns, const QVector<int> &types)
{
    m_fields.clear();
    m_fieldIndex.clear();
    m_keyIndex = -1;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        Field f;
        f.index = static_cast<int>(i);
        const ColumnDef *col = m_table ? m_table->column(columns.at(i)) : nullptr;
        if (col) {
            f.name = col->name;
            f.type = col->type;
            f.size = col->size;
            f.required = col->required;
            f.key = col == &m_table->key();
            if (f.key)
                m_keyIndex = f.index;
        } else {
            f.name = columns.at(i);
            switch (types.at(i)) {
            case QMetaType::Int:
            case QMetaType::LongLong:
            case QMetaType::UInt:
            case QMetaType::ULongLong: f.type = FieldType::Integer; break;
            case QMetaType::Double: f.type = FieldType::Float; break;
            default: f.type = FieldType::Text; break;
            }
        }
        m_fields.append(f);
    }
    m_storedCount = static_cast<int>(m_fields.size());
    for (const CalcDef &c : std::as_const(m_calcDefs)) {
        Field f;
        f.name = c.name;
        f.type = c.type;
        f.calculated = true;
        f.index = static_cast<int>(m_fields.size());
        m_fields.append(f);
    }
    for (const Field &f : std::as_const(m_fields))
        m_fieldIndex.insert(f.name.toLower(), f.index);
}

void DataSet::open()
{
    if (isOpen())
        return;
    if (!m_db)
        throw DataError(QStringLiteral("Keine Verbindung zur Datenbank."));
    fetch();
    ++m_generation;
    m_state = State::Browse;
    m_modified = false;
    m_row = m_rows.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.isEmpty();
    emit opened();
    emit rowsReset();
    emit stateChanged();
    emit currentRowChanged();
    notifyDetails();
}

void DataSet::close()
{
    if (!isOpen())
        return;
    checkDetails();
    dropRows();
    notifyDetails();   // they run again with empty parameters: an empty list
}

void DataSet::discard()
{
    // The connection is going: nothing may be written or read any more.
    for (DataSet *d : std::as_const(m_details))
        d->discard();
    if (isOpen())
        dropRows();
}

void DataSet::dropRows()
{
    dropCursor();
    m_insertQuery.reset();   // prepared on a connection that may be closing
    ++m_generation;
    m_state = State::Inactive;
    m_rows.clear();
    m_calcValid.clear();
    m_original.clear();
    m_row = -1;
    m_bof = m_eof = true;
    m_modified = false;
    emit closed();
    emit rowsReset();
    emit stateChanged();
    emit currentRowChanged();
}

void DataSet::reopen()
{
    close();
    open();
}

void DataSet::enableControls()
{
    if (m_controlsDisabled > 0 && --m_controlsDisabled == 0)
        emit controlsEnabled();
}

void DataSet::requireOpen() const
{
    if (!isOpen())
        throw DataError(ClosedMessage);
}

void DataSet::requireWritable() const
{
    if (isReadOnly() || m_keyIndex < 0)
        throw DataError(ReadOnlyMessage);
}

void DataSet::setState(State s)
{
    if (m_state == s)
        return;
    m_state = s;
    emit stateChanged();
}

// ----------------------------------------------------------------------------------------
// Cursor

void DataSet::setCurrent(int row, bool bof, bool eof)
{
    const bool changed = row != m_row;
    m_row = row;
    m_bof = bof;
    m_eof = eof;
    if (changed) {
        emit currentRowChanged();
        notifyDetails();
    }
}

void DataSet::moveGuarded(int row, bool bof, bool eof)
{
    if (row != m_row)
        checkDetails();
    setCurrent(row, bof, eof);
}

void DataSet::first()
{
    requireOpen();
    checkBrowseMode();
    moveGuarded(m_rows.isEmpty() ? -1 : 0, true, m_rows.isEmpty());
}

void DataSet::last()
{
    requireOpen();
    checkBrowseMode();
    fetchAll();
    moveGuarded(static_cast<int>(m_rows.size()) - 1, m_rows.isEmpty(), true);
}

void DataSet::next()
{
    requireOpen();
    checkBrowseMode();
    fetchUpTo(m_row + 2);
    if (m_row + 1 < m_rows.size())
        moveGuarded(m_row + 1, false, false);
    else
        m_eof = true;
}

void DataSet::prior()
{
    requireOpen();
    checkBrowseMode();
    if (m_row > 0)
        moveGuarded(m_row - 1, false, false);
    else
        m_bof = true;
}

void DataSet::moveTo(int row)
{
    // A list told that a row is about to come or go may move its own selection; the cursor
    // does not follow it in the middle of the change.
    if (m_rowsChanging > 0)
        return;
    requireOpen();
    checkBrowseMode();
    fetchUpTo(row + 1);
    if (m_rows.isEmpty())
        return;
    row = std::clamp(row, 0, static_cast<int>(m_rows.size()) - 1);
    moveGuarded(row, false, false);
}

bool DataSet::locate(const QString &fieldName, const QVariant &value)
{
    requireOpen();
    checkBrowseMode();
    const Field &f = field(fieldName);
    const QVariant wanted = FieldValue::coerce(value, f.type, 0);
    for (int r = 0; r < m_rows.size() || (!m_allFetched && fetchUpTo(r + 1) > r); ++r) {
        if (FieldValue::sameValue(valueAt(r, f.index), wanted)) {
            moveGuarded(r, false, false);
            return true;
        }
    }
    return false;
}

// ----------------------------------------------------------------------------------------
// Fields and values

int DataSet::fieldIndex(const QString &name) const
{
    return m_fieldIndex.value(name.toLower(), -1);
}

const Field &DataSet::field(const QString &name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw DataError(QStringLiteral("%1: Feld '%2' nicht gefunden").arg(objectName(), name));
    return m_fields.at(i);
}

QString DataSet::keyField() const
{
    return m_keyIndex >= 0 ? m_fields.at(m_keyIndex).name : QString();
}

void DataSet::recalc(int row) const
{
    if (row < 0 || row >= m_rows.size())
        return;
    auto *self = const_cast<DataSet *>(this);
    Row &r = self->m_rows[row];
    for (int i = m_storedCount; i < r.size(); ++i)
        r[i] = QVariant();
    m_calcValid[row] = true;
    if (!onCalcFields || m_calcDefs.isEmpty())
        return;
    const int saved = m_calcRow;
    m_calcRow = row;
    try {
        onCalcFields(*self);
    } catch (...) {
        m_calcRow = saved;
        throw;
    }
    m_calcRow = saved;
}

void DataSet::recalcPending()
{
    if (m_calcDefs.isEmpty() || m_row < 0)
        return;
    const Row before = m_rows.at(m_row);
    recalc(m_row);
    for (int i = m_storedCount; i < m_fields.size(); ++i)
        if (!FieldValue::sameValue(before.at(i), m_rows.at(m_row).at(i)))
            emit fieldChanged(m_fields.at(i).name);
}

QVariant DataSet::valueAt(int row, int index) const
{
    if (!isOpen() || row < 0 || index < 0 || index >= m_fields.size())
        return {};
    if (row >= m_rows.size() && fetchUpTo(row + 1) <= row)
        return {};
    if (index >= m_storedCount && !m_calcValid.at(row) && m_calcRow < 0) {
        try {
            recalc(row);
        } catch (const std::exception &e) {
            // A list or label reading the row cannot show an error box; leave a trace.
            qWarning("%s: calculated fields of row %d: %s", qPrintable(objectName()), row, e.what());
            return {};
        }
    }
    return m_rows.at(row).at(index);
}

QVariant DataSet::value(int index) const
{
    return valueAt(m_calcRow >= 0 ? m_calcRow : m_row, index);
}

QVariant DataSet::value(const QString &name) const
{
    if (!isOpen())
        return {};   // a closed set reads as empty, as bound controls expect
    return value(field(name).index);
}

QString DataSet::asString(const QString &f) const { return value(f).toString(); }
int DataSet::asInteger(const QString &f) const { return value(f).toInt(); }
double DataSet::asFloat(const QString &f) const { return value(f).toDouble(); }
Money DataSet::asMoney(const QString &f) const { return Money::fromDouble(value(f).toDouble()); }
QDate DataSet::asDate(const QString &f) const { return value(f).toDate(); }
bool DataSet::asBoolean(const QString &f) const { return value(f).toBool(); }

QString DataSet::displayText(const QString &name) const
{
    const Field &f = field(name);
    return FieldValue::displayText(value(f.index), f.type);
}

QString DataSet::displayTextAt(int row, int index) const
{
    if (index < 0 || index >= m_fields.size())
        return {};
    return FieldValue::displayText(valueAt(row, index), m_fields.at(index).type);
}

QString DataSet::editText(const QString &name) const
{
    const Field &f = field(name);
    return FieldValue::editText(value(f.index), f.type);
}

void DataSet::setValue(const QString &name, const QVariant &v)
{
    setValue(field(name).index, v);
}

void DataSet::setValue(int index, const QVariant &v)
{
    requireOpen();
    if (index < 0 || index >= m_fields.size())
        throw DataError(QStringLiteral("%1: Feldnummer %2 gibt es nicht").arg(objectName()).arg(index));
    const Field &f = m_fields.at(index);
    if (m_calcRow >= 0) {
        if (!f.calculated)
            throw DataError(QStringLiteral("Feld '%1' kann beim Berechnen nicht geändert werden").arg(f.name));
        m_rows[m_calcRow][index] = FieldValue::coerce(v, f.type, f.size);
        return;
    }
    if (f.calculated)
        throw DataError(QStringLiteral("Feld '%1' wird berechnet und kann nicht geändert werden").arg(f.name));
    requireWritable();
    if (!isPending())
        throw DataError(NotEditingMessage);
    const QVariant coerced = FieldValue::coerce(v, f.type, f.size);
    if (FieldValue::sameValue(m_rows.at(m_row).at(index), coerced))
        return;
    journalRowChange(m_row);
    m_rows[m_row][index] = coerced;
    m_modified = true;
    emit fieldChanged(f.name);
    emit rowChanged(m_row);
    recalcPending();
}
