#pragma once

#include <QtGlobal>

#include "platform/ProgressLine.h"

// Where the bytes of a package come from while its header and table of
// contents are read: a plain package file or the expansion of a compressed one.
class PackageStream {
public:
    virtual ~PackageStream() = default;
    // Reads up to n bytes; fewer only at the end of the package, -1 when the
    // package cannot be read (an I/O error or corrupt compressed data).
    virtual qint64 read(char *buffer, qint64 n) = 0;
};

// Where the bytes of a written package or of an extracted entry go.
class PackageSink {
public:
    virtual ~PackageSink() = default;
    // Takes all n bytes; false on failure, with errno set.
    virtual bool write(const char *buffer, qint64 n) = 0;
    // Whether the sink compresses what it takes and can take deflated data
    // in place of plain bytes through writeDeflated().
    virtual bool takesDeflated() const { return false; }
    // Takes raw deflate data in place of the plainLength bytes it expands
    // to, whose Adler-32 is adler: whole blocks that start and end on a byte
    // boundary, never set the final-block bit and refer to no byte before
    // them. Called only when takesDeflated(); false on failure, errno set.
    virtual bool writeDeflated(const unsigned char *, size_t, quint64, quint32) { return false; }
};

// Reads a plain package from an open descriptor, from its start. It reads at
// its own offsets, so a file that cannot seek (a pipe, a terminal) fails at
// once instead of waiting for data.
class PlainPackageStream : public PackageStream {
public:
    explicit PlainPackageStream(int fd) : m_fd(fd) {}
    qint64 read(char *buffer, qint64 n) override;

private:
    int m_fd;
    qint64 m_position = 0;
};

// Takes any bytes and keeps none of them, counting how many it was given.
class DiscardingSink : public PackageSink {
public:
    bool write(const char *, qint64 n) override
    {
        count += quint64(n);
        return true;
    }
    quint64 count = 0;
};

// Writes to an open descriptor.
class FileSink : public PackageSink {
public:
    explicit FileSink(int fd) : m_fd(fd) {}
    bool write(const char *buffer, qint64 n) override;

private:
    int m_fd;
};

// Passes every byte on to another sink and counts it on a progress line.
class CountingSink : public PackageSink {
public:
    CountingSink(PackageSink &next, ProgressLine &progress) : m_next(next), m_progress(progress) {}
    bool write(const char *buffer, qint64 n) override
    {
        if (!m_next.write(buffer, n))
            return false;
        m_progress.advance(quint64(n));
        return true;
    }
    bool takesDeflated() const override { return m_next.takesDeflated(); }
    bool writeDeflated(const unsigned char *data, size_t n, quint64 plainLength, quint32 adler) override
    {
        if (!m_next.writeDeflated(data, n, plainLength, adler))
            return false;
        m_progress.advance(plainLength);
        return true;
    }

private:
    PackageSink &m_next;
    ProgressLine &m_progress;
};
