#include "data/WriteTransaction.h"

#include "data/DataError.h"
#include "data/Database.h"

#include <QtDebug>


WriteTransaction::WriteTransaction(const Database &db) : m_db(db)
{
    m_outermost = s_depth == 0;
    // Inside someone else's transaction this scope takes part in it.
    m_ownsSql = db.isOpen() && !db.inTransaction();
    if (m_ownsSql)
        db.begin();
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
        m_db.commit();   // a failure leaves m_done false: the destructor rolls back
    m_done = true;
    --s_depth;
    if (m_outermost) {
        s_undo.clear();
        s_afterUndo.clear();
        // Work queued by one may queue more: each runs in a transaction of its own.
        while (!s_afterCommit.isEmpty())
            s_afterCommit.takeFirst()();
    }
}

void WriteTransaction::rollBack() noexcept
{
    m_done = true;
    --s_depth;
    if (m_ownsSql)
        m_db.rollback();
    if (!m_outermost)
        return;   // the exception travels on; the outermost scope undoes everything
    const auto undo = std::move(s_undo);
    const auto after = std::move(s_afterUndo);
    s_undo.clear();
    s_afterUndo.clear();
    s_afterCommit.clear();
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

void WriteTransaction::afterCommit(std::function<void()> work)
{
    if (active())
        s_afterCommit.append(std::move(work));
    else
        work();
}
