#include "package/PackageStreams.h"

#include <unistd.h>

#include "package/FileHandle.h"

PlainPackageStream::PlainPackageStream(int fd) : m_fd(fd)
{
    ::lseek(m_fd, 0, SEEK_SET);
}

qint64 PlainPackageStream::read(char *buffer, qint64 n)
{
    return readFully(m_fd, buffer, n);
}

bool FileSink::write(const char *buffer, qint64 n)
{
    return writeFully(m_fd, buffer, n);
}
