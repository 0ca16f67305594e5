#include "package/PackageCompression.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/FileHandle.h"

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

CompressedPackageWriter::CompressedPackageWriter(int fd) : m_fd(fd), m_out(BufferSize, Qt::Uninitialized)
{
}

CompressedPackageWriter::~CompressedPackageWriter()
{
    if (m_started)
        deflateEnd(&m_zlib);
}

bool CompressedPackageWriter::begin(quint32 plainLength)
{
    if (deflateInit(&m_zlib, Z_DEFAULT_COMPRESSION) != Z_OK) {
        errno = ENOMEM;
        return false;
    }
    m_started = true;
    char head[12];
    std::memcpy(head, CompressedMagic, 8);
    for (int i = 0; i < 4; ++i)
        head[8 + i] = char((plainLength >> (24 - 8 * i)) & 0xff);
    return writeFully(m_fd, head, sizeof head);
}

bool CompressedPackageWriter::write(const char *buffer, qint64 n)
{
    return deflateAndWrite(buffer, n, Z_NO_FLUSH);
}

bool CompressedPackageWriter::finish()
{
    return deflateAndWrite(nullptr, 0, Z_FINISH);
}

bool CompressedPackageWriter::deflateAndWrite(const char *buffer, qint64 n, int flush)
{
    // zlib takes at most 4 GiB per call; feed it in slices.
    qint64 done = 0;
    do {
        const qint64 slice = qMin<qint64>(n - done, 1 << 30);
        m_zlib.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(buffer + done));
        m_zlib.avail_in = uInt(slice);
        done += slice;
        const int sliceFlush = done == n ? flush : Z_NO_FLUSH;
        int status;
        do {
            m_zlib.next_out = reinterpret_cast<Bytef *>(m_out.data());
            m_zlib.avail_out = uInt(m_out.size());
            status = deflate(&m_zlib, sliceFlush);
            if (status == Z_STREAM_ERROR) {
                errno = EIO;
                return false;
            }
            const qint64 produced = m_out.size() - m_zlib.avail_out;
            if (produced > 0 && !writeFully(m_fd, m_out.constData(), produced))
                return false;
        } while (m_zlib.avail_out == 0 || (sliceFlush == Z_FINISH && status != Z_STREAM_END));
    } while (done < n);
    return true;
}

CompressedPackageReader::CompressedPackageReader(int fd) : m_fd(fd), m_in(BufferSize, Qt::Uninitialized)
{
}

CompressedPackageReader::~CompressedPackageReader()
{
    if (m_started)
        inflateEnd(&m_zlib);
}

bool CompressedPackageReader::begin()
{
    char head[HeadSize];
    if (preadFully(m_fd, head, HeadSize, 0) != HeadSize || std::memcmp(head, CompressedMagic, 8) != 0)
        return false;
    m_position = HeadSize;
    if (inflateInit(&m_zlib) != Z_OK)
        return false;
    m_started = true;
    return true;
}

qint64 CompressedPackageReader::read(char *buffer, qint64 n)
{
    if (m_failed || !m_started)
        return -1;
    qint64 got = 0;
    while (got < n && !m_ended) {
        if (m_zlib.avail_in == 0) {
            const qint64 in = preadFully(m_fd, m_in.data(), m_in.size(), m_position);
            if (in <= 0) {
                m_failed = true; // the file ends (or fails) inside the zlib stream
                return -1;
            }
            m_position += in;
            m_zlib.next_in = reinterpret_cast<Bytef *>(m_in.data());
            m_zlib.avail_in = uInt(in);
        }
        const qint64 room = qMin<qint64>(n - got, 1 << 30);
        m_zlib.next_out = reinterpret_cast<Bytef *>(buffer + got);
        m_zlib.avail_out = uInt(room);
        const int status = inflate(&m_zlib, Z_NO_FLUSH);
        const qint64 produced = room - m_zlib.avail_out;
        got += produced;
        m_produced += quint64(produced);
        if ((status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) || m_produced > MostPlain) {
            m_failed = true;
            return -1;
        }
        m_ended = status == Z_STREAM_END;
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
