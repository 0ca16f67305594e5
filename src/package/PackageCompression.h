#pragma once

#include <QByteArray>

#include <memory>

struct inflate_state;

#include "package/PackageStreams.h"
#include "package/ParallelDeflate.h"

// A package stored compressed as a whole: the 8-byte magic 7A F4 31 B2 01 00
// 00 00, the plain package's length as a big-endian 32-bit number, then the
// plain package as one zlib stream at zlib's default level. Both directions
// stream, so neither holds the package in memory.

// Where the deflate data of a compressed package starts: after the magic,
// the plain length and the two-byte zlib header.
constexpr qint64 CompressedDeflateStart = 14;

// Whether the file starts with the compressed package magic. Only a file
// that can be read at an offset qualifies; opening never waits (a FIFO).
bool isCompressedPackage(const QByteArray &name);
bool isCompressedPackage(int fd);

// Compresses a plain package into an open descriptor as it is written, on
// several threads (workers 0: one per core); the bytes written do not depend
// on the number of workers.
class CompressedPackageWriter : public PackageSink {
public:
    explicit CompressedPackageWriter(int fd, int workers = 0);
    ~CompressedPackageWriter() override;
    CompressedPackageWriter(const CompressedPackageWriter &) = delete;
    CompressedPackageWriter &operator=(const CompressedPackageWriter &) = delete;

    // Writes the magic and the plain length; the plain bytes follow through write().
    bool begin(quint32 plainLength);
    bool write(const char *buffer, qint64 n) override;
    bool takesDeflated() const override { return true; }
    bool writeDeflated(const unsigned char *data, size_t n, quint64 plainLength, quint32 adler) override;
    // Ends the zlib stream and writes what is left. Every failure leaves errno set.
    bool finish();

private:
    int m_fd;
    ParallelDeflate m_deflate;
};

// Expands a compressed package from an open descriptor as it is read, with
// ISA-L's inflate (several times zlib's speed), checking the Adler-32. The
// declared plain length is only a hint, as it is to Qt's qUncompress: the
// zlib stream alone decides the plain package. The stream must be complete
// with a correct checksum and expand to less than 4 GiB, the most a plain
// length can state; anything else makes read() fail.
class CompressedPackageReader : public PackageStream {
public:
    explicit CompressedPackageReader(int fd);
    ~CompressedPackageReader() override;
    CompressedPackageReader(const CompressedPackageReader &) = delete;
    CompressedPackageReader &operator=(const CompressedPackageReader &) = delete;

    // Reads the magic and the plain length; false when they are not there.
    bool begin();
    // The plain length the package declares (a hint for progress only).
    quint32 declaredLength() const { return m_declaredLength; }
    qint64 read(char *buffer, qint64 n) override;
    // Whether the compressed data turned out corrupt, truncated or of the wrong length.
    bool failed() const { return m_failed; }

private:
    bool fillInput();
    bool readZlibHeader();

    int m_fd;
    std::unique_ptr<inflate_state> m_state; // ISA-L's inflater
    bool m_started = false;
    bool m_headerRead = false;
    bool m_ended = false;
    bool m_failed = false;
    qint64 m_position = 0; // of the next compressed byte in the file
    quint64 m_produced = 0;
    quint32 m_declaredLength = 0;
    QByteArray m_in;
};

// Expands the whole compressed package into sink, checking it completely.
bool expandPackage(CompressedPackageReader &reader, PackageSink &sink);
