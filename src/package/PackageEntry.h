#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <memory>

#include "platform/FileHandle.h"

class InflatingPackageData;

// The file that holds the data of entries: a file from disk, opened by its
// path when its data is needed, or the open package file that entries read
// from a package share, or the data area of a compressed package as it
// inflates in table order, or a block of memory holding the data of small
// files read whole when they were added, one after another.
struct EntrySource {
    QByteArray path;                         // for messages, and to open it
    std::shared_ptr<const FileHandle> file;  // the open package, or null
    std::shared_ptr<InflatingPackageData> inflating = nullptr; // or null
    QByteArray held = {};                    // the block of memory, or null

    static std::shared_ptr<const EntrySource> diskFile(const QByteArray &path)
    {
        return std::make_shared<const EntrySource>(EntrySource{path, nullptr});
    }
};

// One file of a package: its table-of-contents record and where its data
// lies. A table of contents costs its names and this small record per entry,
// never the 1024-byte name field: a few hundred kilobytes of compressed
// package can hold hundreds of thousands of records.
struct PackageEntry {
    static constexpr int NameFieldSize = 1024;
    static constexpr int RecordSize = 1040;
    // Whether a name fits the name field with its terminating NUL, and why
    // one that does not is refused.
    static bool nameFits(const QByteArray &name) { return name.size() < NameFieldSize; }
    static constexpr char NameTooLong[] = "names of 1024 bytes or more do not fit in a package";

    QByteArray name;              // stored name, at most 1023 bytes; empty once removed
    quint32 offset = 0;           // where the data starts in the source file
    quint32 size = 0;             // length of the data
    quint32 readOnly = 0;         // lowest byte non-zero: read-only for its owner
    quint32 modificationTime = 0; // seconds since 1970-01-01 00:00:00 UTC
    std::shared_ptr<const EntrySource> source; // shared by all entries read from one package

    bool isReadOnly() const { return (readOnly & 0xff) != 0; }
    bool isRemoved() const { return name.isEmpty(); }
    void markRemoved() { name.clear(); }
};
// Its members hold no pointer into themselves, so a growing list may move
// entries with realloc instead of copying them into a second block.
Q_DECLARE_TYPEINFO(PackageEntry, Q_RELOCATABLE_TYPE);
