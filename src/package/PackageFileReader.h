#pragma once

#include <QByteArray>

#include "package/PackageArchive.h"

// What reading a package file gave.
struct PackageFileRead {
    bool opened = true;   // false: the file exists but cannot be read, and nothing was read
    PackageArchive::ReadResult result = PackageArchive::Read;
    QByteArray shownName; // the package's name in messages: a compressed one's followed by ".decompressed"
    QByteArray error;     // a line to report, when not empty
};

// Reads the header and the table of contents of the package file name into
// package. A file that does not exist reads as an empty package; one that
// exists but cannot be opened is not read at all (opened is false). A
// compressed package is inflated whole, its checksum checked, before it
// counts as read. data says whether and how the entries' data will be used:
// copied into another package (delete, replace) or written out as files
// (extract). The entries then read their data from a second inflation,
// which runs ahead on a thread of its own for extraction, or from a
// nameless expanded copy when their data does not lie in table order.
enum class EntryData { Unused, Copied, WrittenOut };
PackageFileRead readPackageFile(const QByteArray &name, EntryData data, PackageArchive &package);
