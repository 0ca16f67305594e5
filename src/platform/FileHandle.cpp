#include "platform/FileHandle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

FileHandle &FileHandle::operator=(FileHandle &&other) noexcept
{
    if (this != &other) {
        close();
        m_fd = other.release();
    }
    return *this;
}

bool FileHandle::close()
{
    if (m_fd < 0)
        return true;
    const int result = ::close(m_fd);
    m_fd = -1;
    return result == 0;
}

int FileHandle::release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

FileHandle FileOpener::open(const QByteArray &path, int flags)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash <= 0 || slash == path.size() - 1)
        return FileHandle(::open(path.constData(), flags));
    const QByteArrayView directory(path.constData(), slash);
    if (!m_directory.isOpen() || directory != m_directoryPath) {
        m_directoryPath = directory.toByteArray();
        m_directory = FileHandle(::open(m_directoryPath.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    }
    // Where the directory cannot be opened, the whole path fails as it would.
    if (!m_directory.isOpen())
        return FileHandle(::open(path.constData(), flags));
    return FileHandle(::openat(m_directory.fd(), path.constData() + slash + 1, flags));
}

qint64 preadFully(int fd, char *buffer, qint64 n, qint64 offset)
{
    qint64 done = 0;
    while (done < n) {
        const ssize_t got = ::pread(fd, buffer + done, size_t(n - done), off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

bool writeFully(int fd, const char *buffer, qint64 n)
{
    qint64 done = 0;
    while (done < n) {
        const ssize_t put = ::write(fd, buffer + done, size_t(n - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            if (put == 0)
                errno = ENOSPC;
            return false;
        }
        done += put;
    }
    return true;
}

QByteArray errorText(int error)
{
    return QByteArray(std::strerror(error));
}

unsigned currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return unsigned(mask);
}

FileHandle createAnonymousFile()
{
    const char *tmpdir = std::getenv("TMPDIR");
    const QByteArray directory = tmpdir && *tmpdir ? QByteArray(tmpdir) : QByteArray("/tmp");
    int fd = ::open(directory.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0) {
        QByteArray pattern = directory + "/.mkpkg.XXXXXX";
        fd = ::mkstemp(pattern.data());
        if (fd >= 0)
            ::unlink(pattern.constData());
    }
    return FileHandle(fd);
}
