#include "package/SafeFileReplacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace {

// The directory part of a path and its last component.
void splitPath(const QByteArray &path, QByteArray &directory, QByteArray &name)
{
    const qsizetype slash = path.lastIndexOf('/');
    directory = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
    name = path.mid(slash + 1);
}

// The file that path names once symbolic links are followed: path itself
// when it is no link, and the link's destination, existing or not, when it
// is one, as opening the path for writing would reach it. False (errno
// ELOOP) when the links go round.
bool followLinks(QByteArray &path)
{
    for (int links = 0; links < 40; ++links) {
        struct stat info;
        if (::lstat(path.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
            return true;
        QByteArray destination(qsizetype(info.st_size) + 1, '\0');
        const ssize_t length = ::readlink(path.constData(), destination.data(), size_t(destination.size()));
        if (length < 0 || length >= destination.size())
            return true; // the link changed under us: write where it stands
        destination.truncate(length);
        if (!destination.startsWith('/')) {
            QByteArray directory, name;
            splitPath(path, directory, name);
            destination = directory + '/' + destination;
        }
        path = destination;
    }
    errno = ELOOP;
    return false;
}

} // namespace

SafeFileReplacement::SafeFileReplacement(const QByteArray &target) : m_target(target)
{
}

SafeFileReplacement::~SafeFileReplacement()
{
    abandon();
}

bool SafeFileReplacement::open(QByteArray &error)
{
    m_destination = m_target;
    if (!followLinks(m_destination))
        return openFailed(errno, error);
    // An existing file keeps its permissions, and one that may not be
    // written is not replaced either.
    mode_t mode = 0666 & ~currentUmask();
    struct stat existing;
    if (::stat(m_destination.constData(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode))
            return openFailed(EISDIR, error);
        if (!S_ISREG(existing.st_mode))
            return openSpecialFile(error);
        if (::access(m_destination.constData(), W_OK) != 0)
            return openFailed(errno, error);
        mode = existing.st_mode & 07777;
    }
    QByteArray directory, name;
    splitPath(m_destination, directory, name);
    QByteArray pattern = (directory == "/" ? QByteArray() : directory) + "/." + name.left(200) + ".XXXXXX";
    const SignalsHeld held;
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0 || ::fchmod(fd, mode) != 0) {
        const int reason = errno;
        if (fd >= 0) {
            ::close(fd);
            ::unlink(pattern.constData());
        }
        return openFailed(reason, error);
    }
    m_file = FileHandle(fd);
    m_temporary = pattern;
    m_cleanup.watch(AT_FDCWD, m_temporary);
    return true;
}

bool SafeFileReplacement::openFailed(int reason, QByteArray &error) const
{
    error = "can't open " + m_target + " for writing: " + errorText(reason);
    return false;
}

bool SafeFileReplacement::openSpecialFile(QByteArray &error)
{
    // A FIFO without a reader fails at once (ENXIO) instead of waiting.
    m_file = FileHandle(::open(m_destination.constData(), O_WRONLY | O_CLOEXEC | O_NONBLOCK));
    if (!m_file.isOpen() || ::fcntl(m_file.fd(), F_SETFL, 0) != 0) {
        const int reason = errno;
        m_file.close();
        return openFailed(reason, error);
    }
    return true;
}

bool SafeFileReplacement::commit(QByteArray &error)
{
    // A special file written straight into has nothing to flush or rename.
    const bool special = m_temporary.isEmpty();
    if ((!special && ::fsync(m_file.fd()) != 0) || !m_file.close()) {
        error = "write error on " + m_target + ": " + errorText(errno);
        abandon();
        return false;
    }
    if (special)
        return true;
    const SignalsHeld held;
    if (::rename(m_temporary.constData(), m_destination.constData()) != 0) {
        error = "can't replace " + m_target + ": " + errorText(errno);
        abandon();
        return false;
    }
    m_cleanup.forget();
    m_temporary.clear();
    return true;
}

void SafeFileReplacement::abandon()
{
    m_file.close();
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
    m_cleanup.forget();
    m_temporary.clear();
}
