#pragma once

#include "core/Money.h"
#include "data/Field.h"
#include "data/SqlDialect.h"

#include <QDate>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QVariant>
#include <QVector>

#include <functional>
#include <memory>

class Database;
class QSqlQuery;
struct TableDef;

// A query result held in memory with a cursor, the states closed, browse, edit and insert,
// and live write-through to its table by key. Every window binds to these; the rules that
// must hold whatever window edits a table hang on its event handlers. Rows are read from
// the result as the cursor needs them; the cursor behaves as if all had been read.
//
// Handlers may refuse an operation by throwing; the operation then leaves nothing behind:
// a post or delete and everything its rules write after it form one transaction.
// Every failure is a DataError with a German message.
class DataSet : public QObject
{
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    using Handler = std::function<void(DataSet &)>;

    static const QString EmptyMessage;      // "Operation bei leerer Datenmenge nicht ausführbar"
    static const QString ClosedMessage;     // "Operation bei geschlossener Datenmenge nicht ausführbar"
    static const QString ReadOnlyMessage;   // "Eine Datenmenge, die nur zum Lesen ist, …"
    static const QString NotEditingMessage;
    static QString requiredMessage(const QString &field);   // "Feld '%s' muss einen Wert haben"

    DataSet(Database *db, const QString &name, QObject *parent = nullptr);
    ~DataSet() override;

    QString name() const { return objectName(); }
    Database *database() const { return m_db; }

    // --- set-up ---------------------------------------------------------------------
    void setSql(const QString &sql);
    const QString &sql() const { return m_sql; }
    // Clears the SQL text, puts the new text in and opens.
    void replaceSql(const QString &sql);
    // The data set takes each parameter from the master's field of the same name (case
    // ignored) and runs again whenever the master's current row changes or is posted.
    // The master calls its details directly: before it closes, moves or deletes, their
    // pending rows are posted while it is still open, and one that cannot be posted
    // refuses the master's operation before anything changes.
    void setMaster(DataSet *master);
    DataSet *master() const { return m_master; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool isReadOnly() const { return m_readOnly || m_table == nullptr; }
    void addCalculatedField(const QString &name, FieldType type);
    void setParam(const QString &name, const QVariant &value);
    QVariant param(const QString &name) const;

    // --- open and close -------------------------------------------------------------
    void open();
    // Posts the details' pending rows first (throws when one cannot be posted); the set's
    // own pending row is dropped, as a refresh must not write half-typed input.
    void close();
    void reopen();
    bool isOpen() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    bool isPending() const { return m_state == State::Edit || m_state == State::Insert; }
    bool isModified() const { return m_modified; }

    // --- cursor ---------------------------------------------------------------------
    void first();
    void next();
    void prior();
    void last();
    void moveTo(int row);
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmpty() const { return m_rows.isEmpty(); }
    // Reads the rest of the result first: rows are read as the cursor needs them.
    int recordCount() const { return fetchAll(); }
    // How many rows have been read so far, and whether that is all of them.
    int fetchedCount() const { return static_cast<int>(m_rows.size()); }
    bool allFetched() const { return m_allFetched; }
    // Rows read at open: a screenful and more.
    static constexpr int FirstBatch = 256;
    int currentRow() const { return m_row; }
    // Moves to the first row whose field equals the value; stays put when none does.
    bool locate(const QString &field, const QVariant &value);

    // --- editing --------------------------------------------------------------------
    void edit();     // on an empty set: append
    void append();
    void insert();
    void post();     // no-op unless pending
    void cancel();   // no-op unless pending
    void remove();
    // Posts a pending row; an untouched new row is dropped instead.
    void checkBrowseMode();

    // --- fields ---------------------------------------------------------------------
    const QVector<Field> &fields() const { return m_fields; }
    int fieldIndex(const QString &name) const;   // -1 when absent
    const Field &field(const QString &name) const;
    bool hasField(const QString &name) const { return fieldIndex(name) >= 0; }
    QString keyField() const;

    QVariant value(const QString &field) const;
    QVariant value(int index) const;
    QVariant valueAt(int row, int index) const;
    bool isNull(const QString &field) const { return value(field).isNull(); }
    QString asString(const QString &field) const;
    int asInteger(const QString &field) const;
    double asFloat(const QString &field) const;
    Money asMoney(const QString &field) const;
    QDate asDate(const QString &field) const;
    bool asBoolean(const QString &field) const;
    QString displayText(const QString &field) const;
    QString displayTextAt(int row, int index) const;
    QString editText(const QString &field) const;

    // Assigns a field of the pending row (or, inside the calc handler, a calculated
    // field). Text is read in the German form of the field's type.
    void setValue(const QString &field, const QVariant &value);
    void setValue(int index, const QVariant &value);
    void setMoney(const QString &field, Money value) { setValue(field, value.toDouble()); }

    // Controls that hold typed text not yet in the row register here; their text reaches
    // the row before every post and before a moving cursor decides whether to post.
    // A flush may throw (a conversion message), which stops the post.
    void registerEditor(QObject *owner, std::function<void()> flush);
    void flushEditors();

    // --- events (one handler each, as the data modules declare them) ---------------
    Handler beforeInsert, afterInsert, beforeEdit, afterEdit, beforePost, afterPost,
        beforeDelete, afterDelete, onCalcFields;

    // While a report walks the set, bound controls and lists stop following it; details
    // still do. Calls nest; the last enable lets the controls show the current row again.
    void disableControls() { ++m_controlsDisabled; }
    void enableControls();
    bool controlsDisabled() const { return m_controlsDisabled > 0; }

    // Whole-table access: empties the table inside one exclusive write transaction.
    void emptyTable();

signals:
    void opened();
    void closed();
    void stateChanged();
    void currentRowChanged();
    void fieldChanged(const QString &field);
    void rowChanged(int row);
    // Row signals come in pairs around the change, so a list model can announce it.
    void rowAboutToBeInserted(int row);
    void rowInserted(int row);
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    void rowsReset();
    // Rows read later from the result are added at the end.
    void rowsAboutToBeFetched(int first, int last);
    void rowsFetched();
    // Controls follow the set again after a report; they redraw from scratch.
    void controlsEnabled();

private:
    using Row = QVector<QVariant>;

    void requireOpen() const;
    void requireWritable() const;
    void setState(State s);
    void setCurrent(int row, bool bof, bool eof);
    void moveGuarded(int row, bool bof, bool eof);
    void beginNewRow(int position);
    void resolveFields(const QVector<QString> &columns, const QVector<int> &types);
    // Reading the result (DataSetFetch.cpp).
    void fetch();
    int fetchUpTo(int count) const;
    int fetchAll() const;
    int readRows(int max, bool announce);
    void dropCursor();
    void readInBackground();
    void recalc(int row) const;
    void recalcPending();
    const Row &rowData(int row) const;
    // Master-detail and undo of a failed write transaction (DataSetLinks.cpp).
    void refreshFromMaster();
    void notifyDetails();
    void checkDetails();
    void cancelDetails();
    void adoptLinkValues(const QVariantList &now);
    void requireMasterKey() const;
    void discard();
    void dropRows();
    struct Snapshot;
    void journalState();
    void journalRowChange(int row);
    void journalRowInsert(int row);
    void journalRowRemove(int row);
    void redrawAfterUndo();
    void writeInsert();
    void writeUpdate();
    void writeDelete(int row);
    QVariantList parameterValues(const TranslatedSql &sql) const;

    Database *m_db;
    QString m_sql;
    TranslatedSql m_translated;
    const TableDef *m_table = nullptr;
    QPointer<DataSet> m_master;
    QVector<DataSet *> m_details;
    QHash<QString, QVariant> m_params;   // lower-case name → value
    bool m_readOnly = false;

    struct CalcDef { QString name; FieldType type; };
    QVector<CalcDef> m_calcDefs;

    QVector<Field> m_fields;
    QHash<QString, int> m_fieldIndex;   // lower-case name → index
    int m_storedCount = 0;               // stored fields come first, calculated ones after
    int m_keyIndex = -1;

    QVector<Row> m_rows;                  // stored values followed by calculated ones
    mutable QVector<bool> m_calcValid;
    Row m_original;                       // the row as it was before edit
    int m_row = -1;
    int m_rowBeforeInsert = -1;
    bool m_bof = true;
    bool m_eof = true;
    State m_state = State::Inactive;
    bool m_modified = false;
    mutable int m_calcRow = -1;           // row being calculated, -1 outside the handler
    QVector<QPair<QPointer<QObject>, std::function<void()>>> m_editors;
    int m_controlsDisabled = 0;
    QVariantList m_lastParams;            // the parameter values of the last fetch
    std::unique_ptr<QSqlQuery> m_cursor;  // the result still being read, or none
    QString m_reader;                     // the connection it is read on
    std::unique_ptr<QSqlQuery> m_insertQuery;   // prepared for the rows this set appends
    QString m_insertSql;
    int m_insertGeneration = 0;           // of the connection it was prepared on
    QVector<FieldType> m_storedTypes;
    bool m_allFetched = true;
    bool m_backgroundQueued = false;
    int m_rowsChanging = 0;               // inside a row-about-to signal
    quint64 m_generation = 0;             // counts opens and closes; undo steps of an older one are void
};
