#include "package/PackageCompression.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/FileHandle.h"

#include <isa-l/igzip_lib.h>

namespace {

constexpr unsigned char CompressedMagic[8] = {0x7A, 0xF4, 0x31, 0xB2, 0x01, 0x00, 0x00, 0x00};
constexpr qint64 BufferSize = 256 * 1024;
constexpr qint64 HeadSize = 12;             // magic and plain length
constexpr quint64 MostPlain = 0xFFFFFFFFu;  // the largest plain length there is

} // namespace

bool isCompressedPackage(const QByteArray &name)
{
    FileHandle file(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    return file.isOpen() && isCompressedPackage(file.fd());
}

bool isCompressedPackage(int fd)
{
    char magic[8];
    return preadFully(fd, magic, 8, 0) == 8 && std::memcmp(magic, CompressedMagic, 8) == 0;
}

CompressedPackageWriter::CompressedPackageWriter(int fd, int workers) : m_fd(fd), m_deflate(fd, workers)
{
}

CompressedPackageWriter::~CompressedPackageWriter() = default;

bool CompressedPackageWriter::begin(quint32 plainLength)
{
    char head[12];
    std::memcpy(head, CompressedMagic, 8);
    for (int i = 0; i < 4; ++i)
        head[8 + i] = char((plainLength >> (24 - 8 * i)) & 0xff);
    return writeFully(m_fd, head, sizeof head) && m_deflate.begin();
}

bool CompressedPackageWriter::write(const char *buffer, qint64 n)
{
    return m_deflate.write(buffer, n);
}

bool CompressedPackageWriter::writeDeflated(const unsigned char *data, size_t n, quint64 plainLength,
                                            quint32 adler)
{
    return m_deflate.writeDeflated(data, n, plainLength, adler);
}

bool CompressedPackageWriter::finish()
{
    return m_deflate.finish();
}

CompressedPackageReader::CompressedPackageReader(int fd)
    : m_fd(fd), m_state(std::make_unique<inflate_state>()), m_in(BufferSize, Qt::Uninitialized)
{
}

CompressedPackageReader::~CompressedPackageReader() = default;

bool CompressedPackageReader::begin()
{
    char head[HeadSize];
    if (preadFully(m_fd, head, HeadSize, 0) != HeadSize || std::memcmp(head, CompressedMagic, 8) != 0)
        return false;
    m_position = HeadSize;
    m_declaredLength = quint32(quint8(head[8])) << 24 | quint32(quint8(head[9])) << 16 | quint32(quint8(head[10])) << 8
                     | quint32(quint8(head[11]));
    isal_inflate_init(m_state.get());
    // The zlib header is checked here as zlib checks it; ISA-L takes the
    // deflate data and verifies the Adler-32 that follows it.
    m_state->crc_flag = ISAL_ZLIB_NO_HDR_VER;
    m_started = true;
    m_headerRead = false;
    return true;
}

bool CompressedPackageReader::fillInput()
{
    const qint64 in = preadFully(m_fd, m_in.data(), m_in.size(), m_position);
    if (in <= 0)
        return false; // the file ends (or fails) inside the zlib stream
    m_position += in;
    m_state->next_in = reinterpret_cast<uint8_t *>(m_in.data());
    m_state->avail_in = uint32_t(in);
    return true;
}

bool CompressedPackageReader::readZlibHeader()
{
    unsigned char header[2];
    for (unsigned char &byte : header) {
        if (m_state->avail_in == 0 && !fillInput())
            return false;
        byte = *m_state->next_in++;
        --m_state->avail_in;
    }
    // Deflate with a window of at most 32 KiB, a header check that holds and
    // no preset dictionary, which a package cannot name.
    return (header[0] & 0x0f) == 8 && (header[0] >> 4) <= 7 && (header[0] * 256 + header[1]) % 31 == 0
        && (header[1] & 0x20) == 0;
}

qint64 CompressedPackageReader::read(char *buffer, qint64 n)
{
    if (m_failed || !m_started)
        return -1;
    if (!m_headerRead) {
        if (!readZlibHeader()) {
            m_failed = true;
            return -1;
        }
        m_headerRead = true;
    }
    qint64 got = 0;
    while (got < n && !m_ended) {
        // ISA-L may hold expanded bytes back after taking all its input, so
        // more input is fetched only when a call made no progress.
        const qint64 room = qMin<qint64>(n - got, 1 << 30);
        const uint32_t inBefore = m_state->avail_in;
        m_state->next_out = reinterpret_cast<uint8_t *>(buffer + got);
        m_state->avail_out = uint32_t(room);
        const int status = isal_inflate(m_state.get());
        const qint64 produced = room - qint64(m_state->avail_out);
        got += produced;
        m_produced += quint64(produced);
        m_ended = m_state->block_state == ISAL_BLOCK_FINISH;
        const bool stuck = !m_ended && produced == 0 && m_state->avail_in == inBefore;
        if (status != ISAL_DECOMP_OK || m_produced > MostPlain
            || (stuck && (m_state->avail_in != 0 || !fillInput()))) {
            m_failed = true;
            return -1;
        }
    }
    return got;
}

bool expandPackage(CompressedPackageReader &reader, PackageSink &sink)
{
    std::vector<char> buffer(size_t(1) << 20);
    for (;;) {
        const qint64 got = reader.read(buffer.data(), qint64(buffer.size()));
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (!sink.write(buffer.data(), got))
            return false;
    }
}
