#include "data/LockHolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QCoreApplication>
#include <QSysInfo>
#include <QSaveFile>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace LockHolder {

namespace {

struct State
{
    QString user;
    QHash<QString, int> attached;     // database file → connections of this program
    QHash<QString, QString> activity; // database file → what this program is doing there
};

State &state()
{
    static State s;
    return s;
}

QString host()
{
    static const QString h = QSysInfo::machineHostName();
    return h;
}

QString noteFolder(const QString &databaseFile)
{
    const QFileInfo info(databaseFile);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral("-programme");
}

QString notePath(const QString &databaseFile, const QString &forHost, qint64 pid)
{
    return noteFolder(databaseFile) + u'/' + forHost + u'-' + QString::number(pid);
}

QString osUser()
{
    QString u = qEnvironmentVariable("USER");
    return u.isEmpty() ? qEnvironmentVariable("LOGNAME") : u;
}

void writeNote(const QString &databaseFile)
{
    const State &s = state();
    QDir().mkpath(noteFolder(databaseFile));
    QSaveFile f(notePath(databaseFile, host(), QCoreApplication::applicationPid()));
    if (!f.open(QIODevice::WriteOnly))
        return;   // only a help for other programs' messages
    const QString who = s.user.isEmpty() ? osUser() : s.user;
    f.write((who + u'\n' + s.activity.value(databaseFile) + u'\n').toUtf8());
    f.commit();
}

// Notes of this workstation whose program has ended without removing them.
void removeDeadNotes(const QString &databaseFile)
{
    const QString prefix = host() + u'-';
    QDir dir(noteFolder(databaseFile));
    for (const QString &name : dir.entryList({prefix + u'*'}, QDir::Files)) {
        bool ok = false;
        const qint64 pid = name.mid(prefix.size()).toLongLong(&ok);
        if (ok && pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            dir.remove(name);
    }
}

// The process holding a lock that a shared lock on [start, start + length) of `path` would meet.
qint64 lockOwner(const QString &path, off_t start, off_t length)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    struct flock probe = {};
    probe.l_type = F_RDLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = start;
    probe.l_len = length;
    qint64 pid = 0;
    if (::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK)
        pid = probe.l_pid;
    ::close(fd);
    return pid;
}

} // namespace

void setUser(const QString &name)
{
    state().user = name;
    for (auto it = state().attached.cbegin(); it != state().attached.cend(); ++it)
        writeNote(it.key());
}

void attach(const QString &databaseFile)
{
    if (state().attached[databaseFile]++ > 0)
        return;
    removeDeadNotes(databaseFile);
    writeNote(databaseFile);
}

void detach(const QString &databaseFile)
{
    auto it = state().attached.find(databaseFile);
    if (it == state().attached.end() || --it.value() > 0)
        return;
    state().attached.erase(it);
    QFile::remove(notePath(databaseFile, host(), QCoreApplication::applicationPid()));
    QDir().rmdir(noteFolder(databaseFile));   // only when empty
}

Activity::Activity(const QString &databaseFile, const QString &what) : m_file(databaseFile)
{
    m_before = state().activity.value(databaseFile);
    state().activity[databaseFile] = what;
    writeNote(databaseFile);
}

Activity::~Activity()
{
    state().activity[m_file] = m_before;
    if (state().attached.contains(m_file))
        writeNote(m_file);
    else
        QFile::remove(notePath(m_file, host(), QCoreApplication::applicationPid()));
}

QString describe(const QString &databaseFile)
{
    // SQLite's locks: the write lock of WAL mode is byte 120 of the -shm file; a program that
    // holds the whole file (a restore, a reorganisation) has the shared range of the file
    // itself locked for writing.
    qint64 pid = lockOwner(databaseFile + QStringLiteral("-shm"), 120, 1);
    if (pid <= 0)
        pid = lockOwner(databaseFile, 0x40000002, 510);
    if (pid <= 0)
        return {};
    QFile note(notePath(databaseFile, host(), pid));
    if (!note.open(QIODevice::ReadOnly))
        return QStringLiteral("Programm %1 an diesem Arbeitsplatz").arg(pid);
    const QStringList lines = QString::fromUtf8(note.readAll()).split(u'\n');
    const QString who = lines.value(0).trimmed();
    const QString what = lines.value(1).trimmed();
    QString text = who.isEmpty() ? QStringLiteral("Programm %1 an diesem Arbeitsplatz").arg(pid)
                                 : QStringLiteral("Benutzer %1 am Arbeitsplatz %2, Programm %3").arg(who, host()).arg(pid);
    if (!what.isEmpty())
        text += QStringLiteral(", %1").arg(what);
    return text;
}

QString lockedMessage(const QString &databaseFile)
{
    const QString holder = describe(databaseFile);
    return QStringLiteral("Die Datenbank ist von einem anderen Programm gesperrt%1.\rDie Änderung wurde nicht "
                          "gespeichert. Bitte versuchen Sie es in einem Augenblick noch einmal.")
        .arg(holder.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(holder));
}

} // namespace LockHolder
