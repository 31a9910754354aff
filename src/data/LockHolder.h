#pragma once

#include <QString>

// Who holds the database file, for the message of a program that waits for it in vain. Each
// program leaves a short note beside the file while it has it open (workstation, adviser,
// what it is doing); a program refused by a lock asks the system which process holds the
// lock and reads that process's note. Only the file knows such locks: the server names
// its own waiting sessions.
namespace LockHolder {

// The adviser logged in to this program, named in the notes from now on.
void setUser(const QString &name);

// Writes this program's note for `databaseFile`; released notes are removed at the last release.
void attach(const QString &databaseFile);
void detach(const QString &databaseFile);

// While it lives, this program's note says what it is doing ("spielt eine Datensicherung zurück").
class Activity
{
public:
    Activity(const QString &databaseFile, const QString &what);
    ~Activity();
    Activity(const Activity &) = delete;
    Activity &operator=(const Activity &) = delete;

private:
    QString m_file;
    QString m_before;
};

// "Benutzer sb am Arbeitsplatz pc-3, Programm 4711" for the program that holds the write
// lock or an exclusive lock on `databaseFile` now; empty when nobody does or it is unknown.
QString describe(const QString &databaseFile);

// The German message for a write that waited for another program's lock in vain.
QString lockedMessage(const QString &databaseFile);

} // namespace LockHolder
