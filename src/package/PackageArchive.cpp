#include "package/PackageArchive.h"

#include "package/InflatingPackageData.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace {

constexpr qint64 CopyChunk = 1 << 20;
constexpr quint64 Limit32 = quint64(1) << 32;

quint32 readWord(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return quint32(u[0]) | quint32(u[1]) << 8 | quint32(u[2]) << 16 | quint32(u[3]) << 24;
}

void putWord(char *p, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        p[i] = char((value >> (8 * i)) & 0xff);
}

PackageEntry entryFromRecord(const char *record)
{
    PackageEntry entry;
    entry.name = QByteArray(record, int(qstrnlen(record, PackageEntry::NameFieldSize)));
    entry.offset = readWord(record + 1024);
    entry.size = readWord(record + 1028);
    entry.readOnly = readWord(record + 1032);
    entry.modificationTime = readWord(record + 1036);
    return entry;
}

void recordFromEntry(const PackageEntry &entry, quint32 offset, char *record)
{
    std::memset(record, 0, PackageEntry::RecordSize);
    std::memcpy(record, entry.name.constData(), size_t(entry.name.size()));
    putWord(record + 1024, offset);
    putWord(record + 1028, entry.size);
    putWord(record + 1032, entry.readOnly);
    putWord(record + 1036, entry.modificationTime);
}

// The end of the run of entries from first on whose data follow one another
// without a gap in one inflating package, each held whole: such a run is
// copied in one go, so that whole segments of the package's deflate data
// can go across as they are.
qsizetype runEnd(const QList<PackageEntry> &entries, qsizetype first)
{
    const InflatingPackageData *data = entries[first].source ? entries[first].source->inflating.get() : nullptr;
    if (!data)
        return first + 1;
    qsizetype end = first;
    quint64 next = 0;
    bool started = false;
    for (; end < entries.size(); ++end) {
        const PackageEntry &entry = entries[end];
        if (!entry.source || entry.source->inflating.get() != data)
            break;
        if (entry.size == 0)
            continue;
        if (!data->holds(entry) || (started && entry.offset != next))
            break;
        started = true;
        next = quint64(entry.offset) + entry.size;
    }
    return std::max(end, first + 1);
}

} // namespace

PackageArchive::ReadResult PackageArchive::readPackage(PackageStream &stream, const QByteArray &fileName,
                                                       std::shared_ptr<const FileHandle> dataFile)
{
    m_fileName = fileName;
    m_entries.clear();
    char header[HeaderSize];
    if (stream.read(header, HeaderSize) != HeaderSize || readWord(header) != Magic)
        return BadHeader;
    const qint32 count = qint32(readWord(header + 4));
    if (count < 0)
        return BadHeader;
    const auto source = std::make_shared<const EntrySource>(EntrySource{fileName, std::move(dataFile)});
    char record[PackageEntry::RecordSize];
    for (qint32 i = 0; i < count; ++i) {
        if (stream.read(record, PackageEntry::RecordSize) != PackageEntry::RecordSize)
            return BadTableOfContents;
        PackageEntry entry = entryFromRecord(record);
        entry.source = source;
        m_entries.append(std::move(entry));
    }
    return Read;
}

bool PackageArchive::addDiskFile(const QByteArray &name, const QByteArray &diskPath, QByteArray &error, mode_t *mode)
{
    HeldFileData nothingHeld;
    return addDiskFile(name, openDiskFile(diskPath, m_opener, nothingHeld), error, mode);
}

bool PackageArchive::addDiskFile(const QByteArray &name, DiskFile file, QByteArray &error, mode_t *mode)
{
    if (!file.error.isEmpty()) {
        error = file.error;
        return false;
    }
    file.entry.name = name;
    m_entries.append(std::move(file.entry));
    if (mode)
        *mode = file.mode;
    return true;
}

PackageEntry *PackageArchive::findEntry(const QByteArray &name)
{
    for (PackageEntry &entry : m_entries) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

void PackageArchive::clear()
{
    m_entries.clear();
    m_fileName.clear();
}

bool PackageArchive::plainLength(quint64 &length, QByteArray &error) const
{
    length = HeaderSize + quint64(PackageEntry::RecordSize) * quint64(m_entries.size());
    for (const PackageEntry &entry : m_entries) {
        if (!PackageEntry::nameFits(entry.name)) {
            error = "can't store " + entry.name + ": " + PackageEntry::NameTooLong;
            return false;
        }
        length += entry.size;
        if (length >= Limit32) {
            error = "can't store " + entry.name + ": the package would reach 4 GiB";
            return false;
        }
    }
    return true;
}

bool PackageArchive::writePackage(PackageSink &sink, const QByteArray &destination, QByteArray &error) const
{
    quint64 length = 0;
    if (!plainLength(length, error))
        return false;
    const auto writeFailed = [&] {
        error = "write error on " + destination + ": " + errorText(errno);
        return false;
    };
    char header[HeaderSize];
    putWord(header, Magic);
    putWord(header + 4, quint32(m_entries.size()));
    if (!sink.write(header, HeaderSize))
        return writeFailed();
    quint64 offset = HeaderSize + quint64(PackageEntry::RecordSize) * quint64(m_entries.size());
    char record[PackageEntry::RecordSize];
    for (const PackageEntry &entry : m_entries) {
        recordFromEntry(entry, quint32(offset), record);
        if (!sink.write(record, PackageEntry::RecordSize))
            return writeFailed();
        offset += entry.size;
    }
    for (qsizetype first = 0; first < m_entries.size();) {
        const qsizetype end = runEnd(m_entries, first);
        const PackageEntry &entry = m_entries[first];
        const bool copied = entry.source && entry.source->inflating
                              ? entry.source->inflating->copy(
                                    std::span(m_entries.constData() + first, size_t(end - first)), sink,
                                    destination, error)
                              : copyEntryData(entry, sink, destination, error);
        if (!copied)
            return false;
        first = end;
    }
    return true;
}

bool PackageArchive::copyEntryData(const PackageEntry &entry, PackageSink &sink, const QByteArray &destination,
                                   QByteArray &error)
{
    if (entry.source && entry.source->inflating)
        return entry.source->inflating->copy(entry, sink, destination, error);
    if (entry.source && !entry.source->held.isNull()) {
        if (sink.write(entry.source->held.constData() + entry.offset, entry.size))
            return true;
        error = "write error on " + destination + ": " + errorText(errno);
        return false;
    }
    const QByteArray sourcePath = entry.source ? entry.source->path : QByteArray();
    FileHandle opened;
    int fd = entry.source && entry.source->file ? entry.source->file->fd() : -1;
    if (fd < 0) {
        opened = FileHandle(::open(sourcePath.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
        if (!opened.isOpen()) {
            error = "read error on " + sourcePath + ": " + errorText(errno);
            return false;
        }
        fd = opened.fd();
    }
    std::vector<char> buffer(size_t(qMin<qint64>(CopyChunk, qMax<qint64>(entry.size, 1))));
    qint64 done = 0;
    while (done < qint64(entry.size)) {
        const qint64 piece = qMin<qint64>(qint64(buffer.size()), qint64(entry.size) - done);
        const qint64 got = preadFully(fd, buffer.data(), piece, qint64(entry.offset) + done);
        if (got != piece) {
            error = "read error on " + sourcePath + ": "
                + (got < 0 ? errorText(errno) : QByteArray("the data of " + entry.name + " ends early"));
            return false;
        }
        if (!sink.write(buffer.data(), piece)) {
            error = "write error on " + destination + ": " + errorText(errno);
            return false;
        }
        done += piece;
    }
    return true;
}
