#pragma once

#include <QByteArray>

#include <memory>
#include <span>

#include "package/DeflateSegments.h"
#include "package/PackageStreams.h"
#include "platform/FileHandle.h"

struct PackageEntry;

// The data area of a compressed package, read once from start to end as the
// package inflates again. Entries whose data lie in table order, one after
// another without overlap, are copied straight from it into another package
// with no expanded copy on disk; a gap between them is inflated and dropped.
// Where a run of entries copied into a compressed package covers a whole
// segment of the old deflate data, the segment's deflated bytes go across
// as they are, with no second compression.
class InflatingPackageData {
public:
    // name is the package as messages call it; plainLength is the length
    // of the plain package, as a first inflation found it. readAhead
    // inflates on a thread of its own while the caller writes the data out.
    InflatingPackageData(std::shared_ptr<const FileHandle> file, const QByteArray &name, quint64 plainLength,
                         bool readAhead);

    // Inflates up to the data area, which starts after the table of
    // contents of count entries; false when the package cannot be read.
    bool begin(qint32 count);
    // Copies entry's data, which must not start before the end of the data
    // copied last; messages as PackageArchive::copyEntryData gives them.
    bool copy(const PackageEntry &entry, PackageSink &sink, const QByteArray &destination, QByteArray &error);
    // Copies the data of consecutive entries whose data follow one another
    // without a gap, each wholly held by the package.
    bool copy(std::span<const PackageEntry> run, PackageSink &sink, const QByteArray &destination,
              QByteArray &error);

    // Whether the plain package holds the whole of entry's data.
    bool holds(const PackageEntry &entry) const;

    // Whether the entries' data lie in table order without overlap, after a
    // table of contents of as many records: the order copy() can serve.
    template <typename Entries> static bool servesInOrder(const Entries &entries);

private:
    // Moves on to offset in the plain package, handing the bytes passed to
    // sink (none when sink is null); writeFailed tells a failing sink apart.
    bool advance(quint64 offset, PackageSink *sink, bool &writeFailed);

    std::shared_ptr<const FileHandle> m_file;
    QByteArray m_name;
    quint64 m_plainLength;
    DeflateSegmentReadAhead m_reader;
    DeflateSpan m_span;     // the span read last
    quint64 m_position = 0; // in the plain package
};

quint64 dataAreaStart(qint64 count);

template <typename Entries> bool InflatingPackageData::servesInOrder(const Entries &entries)
{
    quint64 end = dataAreaStart(entries.size());
    for (const auto &entry : entries) {
        if (entry.size == 0)
            continue;
        if (entry.offset < end)
            return false;
        end = quint64(entry.offset) + entry.size;
    }
    return true;
}
