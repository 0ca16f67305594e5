#pragma once

#include <QByteArray>
#include <QList>

#include <memory>

#include <sys/types.h>

#include "package/DiskFile.h"
#include "package/PackageEntry.h"
#include "package/PackageStreams.h"

// The in-memory package: its table of contents and the files holding the data.
// The bytes on disk are a header (magic, signed entry count), one 1040-byte
// record per entry, then the data of every entry in table order; all integers
// are 32-bit little-endian. Nothing here prints.
class PackageArchive {
public:
    static constexpr quint32 Magic = 0x4152C3C8;
    static constexpr int HeaderSize = 8;
    enum ReadResult { Read = 0, BadHeader = 1, BadTableOfContents = 2 };

    // Reads the header and the table of contents. Entries read refer to
    // dataFile for their data (it may be null when the data is never needed);
    // fileName is the source path they carry. On BadTableOfContents the
    // entries read so far stay.
    ReadResult readPackage(PackageStream &stream, const QByteArray &fileName,
                           std::shared_ptr<const FileHandle> dataFile);

    void addEntry(const PackageEntry &entry) { m_entries.append(entry); }
    // Adds a file from disk under the stored name, taking its size,
    // modification time and read-only state (owner may read but not write).
    // False with "can't open PATH for reading" when it cannot be opened.
    // mode, when given, receives the file's mode bits. The file is opened
    // again for its data when the package is written.
    bool addDiskFile(const QByteArray &name, const QByteArray &diskPath, QByteArray &error,
                     mode_t *mode = nullptr);
    // The same for a file opened already (see openDiskFile), whose data may
    // be held in memory.
    bool addDiskFile(const QByteArray &name, DiskFile file, QByteArray &error, mode_t *mode = nullptr);
    // The first entry whose name equals name byte for byte, or null.
    PackageEntry *findEntry(const QByteArray &name);

    QList<PackageEntry> &entries() { return m_entries; }
    const QList<PackageEntry> &entries() const { return m_entries; }
    const QByteArray &fileName() const { return m_fileName; }
    void clear();

    // The length of the package as written, with dense offsets; false with a
    // message naming the entry when a name, a size or an offset cannot be stored.
    bool plainLength(quint64 &length, QByteArray &error) const;
    // Writes the complete plain package: header, records with dense offsets,
    // then every entry's data copied from its source. Messages name the sink
    // as destination.
    bool writePackage(PackageSink &sink, const QByteArray &destination, QByteArray &error) const;
    // Copies one entry's data; false with "read error on SOURCE: REASON" when
    // the source cannot be opened or is shorter than the entry, and with
    // "write error on DESTINATION: REASON" when the sink fails.
    static bool copyEntryData(const PackageEntry &entry, PackageSink &sink, const QByteArray &destination,
                              QByteArray &error);

private:
    QList<PackageEntry> m_entries;
    QByteArray m_fileName;
    FileOpener m_opener; // for files added from disk
};
