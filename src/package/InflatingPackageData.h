#pragma once

#include <QByteArray>

#include <memory>
#include <vector>

#include "package/PackageCompression.h"
#include "platform/FileHandle.h"

struct PackageEntry;

// The data area of a compressed package, read once from start to end as the
// package inflates again. Entries whose data lie in table order, one after
// another without overlap, are copied straight from it into another package
// with no expanded copy on disk; a gap between them is inflated and dropped.
class InflatingPackageData {
public:
    // name is the package as messages call it; plainLength is the length
    // of the plain package, as a first inflation found it.
    InflatingPackageData(std::shared_ptr<const FileHandle> file, const QByteArray &name, quint64 plainLength);

    // Inflates up to the data area, which starts after the table of
    // contents of count entries; false when the package cannot be read.
    bool begin(qint32 count);
    // Copies entry's data, which must not start before the end of the data
    // copied last; messages as PackageArchive::copyEntryData gives them.
    bool copy(const PackageEntry &entry, PackageSink &sink, const QByteArray &destination, QByteArray &error);

    // Whether the plain package holds the whole of entry's data.
    bool holds(const PackageEntry &entry) const;

    // Whether the entries' data lie in table order without overlap, after a
    // table of contents of as many records: the order copy() can serve.
    template <typename Entries> static bool servesInOrder(const Entries &entries);

private:
    bool skipTo(quint64 offset);

    std::shared_ptr<const FileHandle> m_file;
    QByteArray m_name;
    quint64 m_plainLength;
    CompressedPackageReader m_reader;
    quint64 m_position = 0; // in the plain package
    std::vector<char> m_buffer;
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
