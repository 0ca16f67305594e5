#include "package/InflatingPackageData.h"

#include <libdeflate.h>

#include <algorithm>
#include <cerrno>

#include "package/PackageArchive.h"
#include "package/PackageCompression.h"
#include "package/PackageEntry.h"

quint64 dataAreaStart(qint64 count)
{
    return PackageArchive::HeaderSize + quint64(PackageEntry::RecordSize) * quint64(count);
}

InflatingPackageData::InflatingPackageData(std::shared_ptr<const FileHandle> file, const QByteArray &name,
                                           quint64 plainLength, bool readAhead)
    : m_file(std::move(file)), m_name(name), m_plainLength(plainLength),
      m_reader(m_file->fd(), CompressedDeflateStart, readAhead)
{
}

bool InflatingPackageData::holds(const PackageEntry &entry) const
{
    return quint64(entry.offset) + entry.size <= m_plainLength;
}

bool InflatingPackageData::begin(qint32 count)
{
    bool writeFailed = false;
    return advance(dataAreaStart(count), nullptr, writeFailed);
}

bool InflatingPackageData::advance(quint64 offset, PackageSink *sink, bool &writeFailed)
{
    while (m_position < offset) {
        if (m_position == m_span.plainEnd() && !m_reader.next(m_span))
            return false;
        const quint64 end = std::min(offset, m_span.plainEnd());
        if (sink) {
            const bool whole = m_span.deflated && m_position == m_span.plainStart && end == m_span.plainEnd()
                            && sink->takesDeflated();
            const auto adler = [&] { return quint32(libdeflate_adler32(1, m_span.plain, m_span.plainLength)); };
            const bool written =
                whole ? sink->writeDeflated(m_span.deflated, m_span.deflatedLength, m_span.plainLength, adler())
                      : sink->write(m_span.plain + (m_position - m_span.plainStart), qint64(end - m_position));
            if (!written) {
                writeFailed = true;
                return false;
            }
        }
        m_position = end;
    }
    return true;
}

bool InflatingPackageData::copy(const PackageEntry &entry, PackageSink &sink, const QByteArray &destination,
                                QByteArray &error)
{
    return copy(std::span(&entry, 1), sink, destination, error);
}

bool InflatingPackageData::copy(std::span<const PackageEntry> run, PackageSink &sink,
                                const QByteArray &destination, QByteArray &error)
{
    const auto first = std::find_if(run.begin(), run.end(), [](const PackageEntry &entry) { return entry.size > 0; });
    if (first == run.end())
        return true;
    quint64 length = 0;
    for (const PackageEntry &entry : run)
        length += entry.size;
    const quint64 from = first->offset;
    bool writeFailed = false;
    if (from >= m_position && advance(from, nullptr, writeFailed) && advance(from + length, &sink, writeFailed))
        return true;
    if (writeFailed) {
        error = "write error on " + destination + ": " + errorText(errno);
        return false;
    }
    // Name the entry whose data the package lacks.
    const auto short_ = std::find_if(first, run.end(), [&](const PackageEntry &entry) {
        return entry.size > 0 && quint64(entry.offset) + entry.size > m_position;
    });
    const PackageEntry &lacking = short_ == run.end() ? *first : *short_;
    error = "read error on " + m_name + ": "
          + (m_reader.failed() ? QByteArray("corrupt compressed data")
                               : QByteArray("the data of " + lacking.name + " ends early"));
    return false;
}
