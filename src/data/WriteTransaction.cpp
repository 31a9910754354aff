#include "data/WriteTransaction.h"

#include "data/Database.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QtDebug>

#include <sqlite3.h>

WriteTransaction::WriteTransaction(const Database &db) : m_db(db)
{
    m_outermost = s_depth == 0;
    sqlite3 *h = db.handle();
    // Inside someone else's transaction this scope takes part in it.
    m_ownsSql = h && sqlite3_get_autocommit(h) != 0;
    if (m_ownsSql)
        db.exec(QStringLiteral("BEGIN IMMEDIATE"));
    ++s_depth;
}

WriteTransaction::~WriteTransaction()
{
    if (!m_done)
        rollBack();
}

void WriteTransaction::commit()
{
    if (m_done)
        return;
    if (m_ownsSql)
        m_db.exec(QStringLiteral("COMMIT"));   // a failure leaves m_done false: the destructor rolls back
    m_done = true;
    --s_depth;
    if (m_outermost) {
        s_undo.clear();
        s_afterUndo.clear();
    }
}

void WriteTransaction::rollBack() noexcept
{
    m_done = true;
    --s_depth;
    if (m_ownsSql) {
        QSqlQuery rollback(m_db.connection());
        if (!rollback.exec(QStringLiteral("ROLLBACK")))
            qWarning("Rollback failed: %s", qPrintable(rollback.lastError().text()));
    }
    if (!m_outermost)
        return;   // the exception travels on; the outermost scope undoes everything
    const auto undo = std::move(s_undo);
    const auto after = std::move(s_afterUndo);
    s_undo.clear();
    s_afterUndo.clear();
    for (auto it = undo.crbegin(); it != undo.crend(); ++it)
        (*it)();
    for (const auto &[key, work] : after) {
        try {
            work();
        } catch (const std::exception &e) {
            qWarning("After undo: %s", e.what());
        }
    }
}

void WriteTransaction::recordUndo(std::function<void()> undo)
{
    if (active())
        s_undo.append(std::move(undo));
}

void WriteTransaction::afterUndo(const void *key, std::function<void()> work)
{
    if (!active())
        return;
    for (const auto &entry : std::as_const(s_afterUndo))
        if (entry.first == key)
            return;
    s_afterUndo.append({key, std::move(work)});
}
