#pragma once

#include <QByteArray>
#include <QList>

#include "package/PackageStreams.h"

// Package bytes built by hand in the tests, independent of the writer.
struct HandEntry {
    QByteArray name;
    QByteArray data;
    quint32 readOnly = 0;
    quint32 time = 0;
};

inline void appendWord(QByteArray &bytes, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes.append(char((value >> (8 * i)) & 0xff));
}

// A plain package with dense offsets and NUL-padded names.
inline QByteArray handPackage(const QList<HandEntry> &entries)
{
    QByteArray bytes;
    appendWord(bytes, 0x4152C3C8);
    appendWord(bytes, quint32(entries.size()));
    quint32 offset = 8 + 1040 * quint32(entries.size());
    for (const HandEntry &entry : entries) {
        QByteArray name = entry.name;
        name.append(QByteArray(1024 - name.size(), '\0'));
        bytes.append(name);
        appendWord(bytes, offset);
        appendWord(bytes, quint32(entry.data.size()));
        appendWord(bytes, entry.readOnly);
        appendWord(bytes, entry.time);
        offset += quint32(entry.data.size());
    }
    for (const HandEntry &entry : entries)
        bytes.append(entry.data);
    return bytes;
}

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
