#pragma once

#include <QByteArray>
#include <QList>

#include <zlib.h>

#include <cstring>
#include <optional>

// Package bytes built and read by hand in the tests, independently of the
// program's reader and writer. A plain package is a header (magic, entry
// count), one 1040-byte record per entry (the NUL-padded name, then offset,
// size, read-only flag and time), then the data; all integers are 32-bit
// little-endian. A compressed package is a magic, the plain length as a
// big-endian 32-bit number, then the plain package as one zlib stream.

struct PlainEntry {
    QByteArray name;
    QByteArray data;
    quint32 readOnly = 0;
    quint32 time = 1294740900; // Tue Jan 11 10:15:00 2011 UTC
};

inline const QByteArray CompressedMagic("\x7A\xF4\x31\xB2\x01\x00\x00\x00", 8);

inline void appendWord(QByteArray &bytes, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes.append(char((value >> (8 * i)) & 0xff));
}

inline quint32 wordAt(const QByteArray &bytes, qsizetype at)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | quint8(bytes[at + i]);
    return value;
}

// The plain package of the entries. The data area holds their data in
// dataOrder (indexes into entries; table order when empty) with gap bytes
// before each; the offsets point at the data wherever it lies.
inline QByteArray plainPackage(const QList<PlainEntry> &entries, QList<int> dataOrder = {}, int gap = 0)
{
    if (dataOrder.isEmpty()) {
        for (int i = 0; i < entries.size(); ++i)
            dataOrder.append(i);
    }
    QList<quint32> offsets(entries.size());
    QByteArray data;
    for (int index : dataOrder) {
        data += QByteArray(gap, '#');
        offsets[index] = 8 + 1040 * quint32(entries.size()) + quint32(data.size());
        data += entries[index].data;
    }
    QByteArray bytes;
    appendWord(bytes, 0x4152C3C8);
    appendWord(bytes, quint32(entries.size()));
    for (int i = 0; i < entries.size(); ++i) {
        bytes.append(entries[i].name + QByteArray(1024 - entries[i].name.size(), '\0'));
        for (quint32 word : {offsets[i], quint32(entries[i].data.size()), entries[i].readOnly, entries[i].time})
            appendWord(bytes, word);
    }
    return bytes + data;
}

// The magic and the plain length that start a compressed package.
inline QByteArray compressedHead(quint32 plainLength)
{
    QByteArray head = CompressedMagic;
    for (int shift = 24; shift >= 0; shift -= 8)
        head.append(char((plainLength >> shift) & 0xff));
    return head;
}

// A compressed package made with zlib, declaring the plain length unless
// another is given.
inline QByteArray compressedPackage(const QByteArray &plain, int level = 6, qint64 declaredLength = -1)
{
    uLongf size = compressBound(uLong(plain.size()));
    QByteArray data(qsizetype(size), '\0');
    compress2(reinterpret_cast<Bytef *>(data.data()), &size, reinterpret_cast<const Bytef *>(plain.constData()),
              uLong(plain.size()), level);
    return compressedHead(quint32(declaredLength < 0 ? plain.size() : declaredLength)) + data.left(qsizetype(size));
}

// The plain form of a compressed package, inflated with zlib itself;
// nothing when the file is not a compressed package whose stream is complete
// and of the length it declares.
inline std::optional<QByteArray> expandedPackage(const QByteArray &file)
{
    if (file.size() < 12 || !file.startsWith(CompressedMagic))
        return std::nullopt;
    const quint32 length = quint32(quint8(file[8])) << 24 | quint32(quint8(file[9])) << 16
        | quint32(quint8(file[10])) << 8 | quint8(file[11]);
    QByteArray plain(qsizetype(length) + 1, '\0');
    uLongf size = uLongf(plain.size());
    if (uncompress(reinterpret_cast<Bytef *>(plain.data()), &size, reinterpret_cast<const Bytef *>(file.constData() + 12),
                   uLong(file.size() - 12)) != Z_OK || size != length)
        return std::nullopt;
    return plain.left(qsizetype(length));
}

// The entries of a plain package, their data taken from where the records
// point; empty when the bytes do not hold a whole package.
inline QList<PlainEntry> plainEntries(const QByteArray &plain)
{
    QList<PlainEntry> entries;
    if (plain.size() < 8 || wordAt(plain, 0) != 0x4152C3C8u || plain.size() < 8 + 1040 * qint64(wordAt(plain, 4)))
        return entries;
    for (qsizetype record = 8; record < 8 + 1040 * qint64(wordAt(plain, 4)); record += 1040) {
        const quint32 offset = wordAt(plain, record + 1024);
        const quint32 size = wordAt(plain, record + 1028);
        if (qint64(offset) + size > plain.size())
            return {};
        const QByteArray name(plain.constData() + record, qsizetype(strnlen(plain.constData() + record, 1024)));
        entries.append({name, plain.mid(offset, size), wordAt(plain, record + 1032), wordAt(plain, record + 1036)});
    }
    return entries;
}

inline QList<QByteArray> entryNames(const QList<PlainEntry> &entries)
{
    QList<QByteArray> names;
    for (const PlainEntry &entry : entries)
        names.append(entry.name);
    return names;
}

// Pseudo-random bytes that do not compress.
inline QByteArray noise(qsizetype size, quint32 seed = 1)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes) {
        seed = seed * 1103515245u + 12345u;
        byte = char(seed >> 24);
    }
    return bytes;
}
