#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <memory>

#include "package/FileHandle.h"

class InflatingPackageData;

// One file of a package: its table-of-contents record and where its data lies.
struct PackageEntry {
    static constexpr int NameFieldSize = 1024;
    static constexpr int RecordSize = 1040;

    QByteArray name;              // stored name, at most 1023 bytes; empty once removed
    quint32 offset = 0;           // where the data starts in the source file
    quint32 size = 0;             // length of the data
    quint32 readOnly = 0;         // lowest byte non-zero: read-only for its owner
    quint32 modificationTime = 0; // seconds since 1970-01-01 00:00:00 UTC
    QByteArray sourcePath;        // the file that holds the data
    // The open package file the data lies in, when the entry was read from a
    // package; otherwise sourcePath is opened when the data is needed.
    std::shared_ptr<const FileHandle> sourceFile;
    // Or the data area of a compressed package, inflating in table order.
    std::shared_ptr<InflatingPackageData> sourceData;

    bool isReadOnly() const { return (readOnly & 0xff) != 0; }
    bool isRemoved() const { return name.isEmpty(); }
    void markRemoved() { name.clear(); }
};
