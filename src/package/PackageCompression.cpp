#include "package/PackageCompression.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "package/FileHandle.h"

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

bool CompressedPackageWriter::finish()
{
    return m_deflate.finish();
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
