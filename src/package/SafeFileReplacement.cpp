#include "package/SafeFileReplacement.h"

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
    QByteArray directory, name;
    splitPath(m_target, directory, name);
    QByteArray pattern = (directory == "/" ? QByteArray() : directory) + "/." + name.left(200) + ".XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0 || ::fchmod(fd, 0666 & ~currentUmask()) != 0) {
        const int reason = errno;
        if (fd >= 0) {
            ::close(fd);
            ::unlink(pattern.constData());
        }
        error = "can't open " + m_target + " for writing: " + errorText(reason);
        return false;
    }
    m_file = FileHandle(fd);
    m_temporary = pattern;
    return true;
}

bool SafeFileReplacement::commit(QByteArray &error)
{
    if (::fsync(m_file.fd()) != 0 || !m_file.close()) {
        error = "write error on " + m_target + ": " + errorText(errno);
        abandon();
        return false;
    }
    if (::rename(m_temporary.constData(), m_target.constData()) != 0) {
        error = "can't replace " + m_target + ": " + errorText(errno);
        abandon();
        return false;
    }
    m_temporary.clear();
    return true;
}

void SafeFileReplacement::abandon()
{
    m_file.close();
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
    m_temporary.clear();
}
