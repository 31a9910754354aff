#include "data/NoReplaceFile.h"

#include <QFile>

#include <atomic>
#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace NoReplaceFile {

namespace {

// SQLite creates its files with these rights; a new database gets the same.
constexpr mode_t FileMode = 0644;

std::atomic<int> g_counter{0};

bool writeAll(int fd, const QByteArray &content)
{
    qsizetype done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.constData() + done, static_cast<size_t>(content.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += n;
    }
    return ::fsync(fd) == 0;
}

class Fd
{
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }

private:
    int m_fd;
};

Result placed(int dirFd)
{
    ::fsync(dirFd);   // the new name survives a power cut
    return {Outcome::Placed, 0};
}

// A file without a name, given one at the end: a crash leaves nothing behind.
bool tryAnonymous(int dirFd, const QByteArray &name, const QByteArray &content, Result *result)
{
    const Fd fd(::openat(dirFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, FileMode));
    if (!fd.valid())
        return false;   // the file system knows no unnamed files; take the named way
    if (!writeAll(fd.get(), content)) {
        *result = {Outcome::Failed, errno};
        return true;
    }
    char procPath[64];
    std::snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", fd.get());
    if (::linkat(AT_FDCWD, procPath, dirFd, name.constData(), AT_SYMLINK_FOLLOW) == 0) {
        *result = placed(dirFd);
        return true;
    }
    if (errno == EEXIST) {
        *result = {Outcome::AlreadyThere, 0};
        return true;
    }
    return false;
}

// A named companion, linked to the name (or renamed without replacing where the file
// system has no links), then removed; only this process ever made or removes it.
Result viaNamedCompanion(int dirFd, const QByteArray &name, const QByteArray &content)
{
    const QByteArray tmp = name + '.' + QByteArray::number(::getpid()) + '-'
                           + QByteArray::number(g_counter.fetch_add(1)) + ".neu";
    {
        const Fd fd(::openat(dirFd, tmp.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, FileMode));
        if (!fd.valid())
            return {Outcome::Failed, errno};
        if (!writeAll(fd.get(), content)) {
            const int error = errno;
            ::unlinkat(dirFd, tmp.constData(), 0);
            return {Outcome::Failed, error};
        }
    }
    if (::linkat(dirFd, tmp.constData(), dirFd, name.constData(), 0) == 0) {
        ::unlinkat(dirFd, tmp.constData(), 0);
        return placed(dirFd);
    }
    if (errno == EEXIST) {
        ::unlinkat(dirFd, tmp.constData(), 0);
        return {Outcome::AlreadyThere, 0};
    }
    if (::renameat2(dirFd, tmp.constData(), dirFd, name.constData(), RENAME_NOREPLACE) == 0)
        return placed(dirFd);
    const int error = errno;
    ::unlinkat(dirFd, tmp.constData(), 0);
    if (error == EEXIST)
        return {Outcome::AlreadyThere, 0};
    return {Outcome::Failed, error};
}

} // namespace

Result place(const QString &directory, const QString &name, const QByteArray &content)
{
    const Fd dirFd(::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dirFd.valid())
        return {Outcome::Failed, errno};
    const QByteArray fileName = QFile::encodeName(name);
    Result result;
    if (tryAnonymous(dirFd.get(), fileName, content, &result))
        return result;
    return viaNamedCompanion(dirFd.get(), fileName, content);
}

} // namespace NoReplaceFile
