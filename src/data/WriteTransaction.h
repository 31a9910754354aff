#pragma once

#include <QVector>

#include <functional>

class Database;

// One write transaction around a post or delete and everything its rules write after it
// (a rollup posting the plan, say). Scopes nest: the outermost one owns the SQL transaction
// and commits it; when any part fails, the file is rolled back and the in-memory changes
// that data sets recorded meanwhile are undone in reverse order, so a refused rule never
// leaves half a change on screen or on disk.
class WriteTransaction
{
public:
    explicit WriteTransaction(const Database &db);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction &) = delete;
    WriteTransaction &operator=(const WriteTransaction &) = delete;

    void commit();

    // True while a scope is open; data sets then record how to undo each change.
    static bool active() { return s_depth > 0; }
    static void recordUndo(std::function<void()> undo);
    // Runs once after the undo steps (redraws, details following their master again).
    static void afterUndo(const void *key, std::function<void()> work);
    // Runs once the outermost scope has committed, or at once outside any scope; dropped
    // when the scope rolls back. For a rule that must ask the user: a question waiting
    // inside the transaction would hold the write lock against every other user.
    static void afterCommit(std::function<void()> work);

private:
    void rollBack() noexcept;

    const Database &m_db;
    bool m_ownsSql = false;
    bool m_outermost = false;
    bool m_done = false;

    static inline int s_depth = 0;
    static inline QVector<std::function<void()>> s_undo;
    static inline QVector<std::pair<const void *, std::function<void()>>> s_afterUndo;
    static inline QVector<std::function<void()>> s_afterCommit;
};
