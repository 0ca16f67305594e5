#pragma once

#include <QByteArray>
#include <QList>

#include "PlainPackage.h"
#include "package/PackageStreams.h"

// Collects what is written, in memory.
class MemorySink : public PackageSink {
public:
    bool write(const char *buffer, qint64 n) override
    {
        bytes.append(buffer, n);
        return true;
    }
    QByteArray bytes;
};

// Serves bytes held in memory, in pieces of at most step bytes.
class MemoryStream : public PackageStream {
public:
    explicit MemoryStream(const QByteArray &bytes) : m_bytes(bytes) {}
    qint64 read(char *buffer, qint64 n) override
    {
        const qint64 take = qMin<qint64>(n, m_bytes.size() - m_position);
        memcpy(buffer, m_bytes.constData() + m_position, size_t(take));
        m_position += take;
        return take;
    }

private:
    QByteArray m_bytes;
    qint64 m_position = 0;
};
