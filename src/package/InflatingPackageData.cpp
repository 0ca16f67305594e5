#include "package/InflatingPackageData.h"

#include <cerrno>

#include "package/PackageArchive.h"
#include "package/PackageEntry.h"

namespace {

constexpr qint64 CopyChunk = 1 << 20;

} // namespace

quint64 dataAreaStart(qint64 count)
{
    return PackageArchive::HeaderSize + quint64(PackageEntry::RecordSize) * quint64(count);
}

InflatingPackageData::InflatingPackageData(std::shared_ptr<const FileHandle> file, const QByteArray &name,
                                           quint64 plainLength)
    : m_file(std::move(file)), m_name(name), m_plainLength(plainLength), m_reader(m_file->fd()),
      m_buffer(size_t(CopyChunk))
{
}

bool InflatingPackageData::holds(const PackageEntry &entry) const
{
    return quint64(entry.offset) + entry.size <= m_plainLength;
}

bool InflatingPackageData::begin(qint32 count)
{
    return m_reader.begin() && skipTo(dataAreaStart(count));
}

bool InflatingPackageData::skipTo(quint64 offset)
{
    while (m_position < offset) {
        const qint64 piece = qint64(qMin<quint64>(quint64(m_buffer.size()), offset - m_position));
        const qint64 got = m_reader.read(m_buffer.data(), piece);
        if (got <= 0)
            return false;
        m_position += quint64(got);
    }
    return m_position == offset;
}

bool InflatingPackageData::copy(const PackageEntry &entry, PackageSink &sink, const QByteArray &destination,
                                QByteArray &error)
{
    const auto endsEarly = [&] {
        error = "read error on " + m_name + ": "
            + (m_reader.failed() ? QByteArray("corrupt compressed data")
                                 : QByteArray("the data of " + entry.name + " ends early"));
        return false;
    };
    if (entry.size == 0)
        return true;
    if (entry.offset < m_position || !skipTo(entry.offset))
        return endsEarly();
    qint64 done = 0;
    while (done < qint64(entry.size)) {
        const qint64 piece = qMin<qint64>(qint64(m_buffer.size()), qint64(entry.size) - done);
        const qint64 got = m_reader.read(m_buffer.data(), piece);
        if (got != piece)
            return endsEarly();
        m_position += quint64(got);
        if (!sink.write(m_buffer.data(), piece)) {
            error = "write error on " + destination + ": " + errorText(errno);
            return false;
        }
        done += piece;
    }
    return true;
}
