#pragma once

#include <QByteArray>
#include <QList>

#include <optional>

// One entry of a package file as it lies on disk.
struct StoredEntry {
    QByteArray name;
    quint32 offset = 0;
    quint32 size = 0;
    quint32 readOnly = 0;
    quint32 modified = 0;
    QByteArray data;
};

// Decodes a package file with zlib alone, independently of the program's own
// reader: checks the compressed form's magic and big-endian plain length,
// inflates the stream, then walks the plain header, the 1040-byte records
// and the data they point at. Nothing when any of it does not hold.
std::optional<QList<StoredEntry>> decodeCompressedPackage(const QByteArray &file);
std::optional<QList<StoredEntry>> decodePlainPackage(const QByteArray &plain);

// The names of the entries, in package order.
QList<QByteArray> entryNames(const QList<StoredEntry> &entries);
