#include "package/PackageStreams.h"

#include "platform/FileHandle.h"

qint64 PlainPackageStream::read(char *buffer, qint64 n)
{
    const qint64 got = preadFully(m_fd, buffer, n, m_position);
    if (got > 0)
        m_position += got;
    return got;
}

bool FileSink::write(const char *buffer, qint64 n)
{
    return writeFully(m_fd, buffer, n);
}
