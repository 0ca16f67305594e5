#pragma once

#include <QByteArray>
#include <QList>
#include <QtEndian>

#include <zlib.h>

#include <optional>
#include <random>

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

inline QByteArray littleEndian(quint32 value)
{
    const quint32 stored = qToLittleEndian(value);
    return QByteArray(reinterpret_cast<const char *>(&stored), 4);
}

inline QByteArray bigEndian(quint32 value)
{
    const quint32 stored = qToBigEndian(value);
    return QByteArray(reinterpret_cast<const char *>(&stored), 4);
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
    QByteArray bytes = littleEndian(0x4152C3C8) + littleEndian(quint32(entries.size()));
    for (int i = 0; i < entries.size(); ++i) {
        bytes += entries[i].name + QByteArray(1024 - entries[i].name.size(), '\0') + littleEndian(offsets[i])
            + littleEndian(quint32(entries[i].data.size())) + littleEndian(entries[i].readOnly) + littleEndian(entries[i].time);
    }
    return bytes + data;
}

// The magic and the plain length that start a compressed package.
inline QByteArray compressedHead(quint32 plainLength)
{
    return CompressedMagic + bigEndian(plainLength);
}

// The zlib stream of plain (raw deflate data when windowBits is negative),
// with a flush of the kind given after every flushEvery plain bytes.
inline QByteArray zlibStream(const QByteArray &plain, int level = 6, int flush = Z_NO_FLUSH, qsizetype flushEvery = 0,
                             int windowBits = MAX_WBITS, int strategy = Z_DEFAULT_STRATEGY)
{
    z_stream zlib{};
    deflateInit2(&zlib, level, Z_DEFLATED, windowBits, 8, strategy);
    QByteArray out;
    char buffer[1 << 16];
    int status = Z_OK;
    for (qsizetype done = 0; status != Z_STREAM_END;) {
        const qsizetype take = flushEvery > 0 ? qMin(flushEvery, plain.size() - done) : plain.size() - done;
        zlib.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(plain.constData() + done));
        zlib.avail_in = uInt(take);
        done += take;
        do {
            zlib.next_out = reinterpret_cast<Bytef *>(buffer);
            zlib.avail_out = sizeof buffer;
            status = deflate(&zlib, done == plain.size() ? Z_FINISH : flush);
            out.append(buffer, qsizetype(sizeof buffer - zlib.avail_out));
        } while (zlib.avail_out == 0);
    }
    deflateEnd(&zlib);
    return out;
}

// A compressed package made with zlib, declaring the plain length unless
// another is given.
inline QByteArray compressedPackage(const QByteArray &plain, int level = 6, qint64 declaredLength = -1)
{
    return compressedHead(quint32(declaredLength < 0 ? plain.size() : declaredLength)) + zlibStream(plain, level);
}

// A compressed package whose plain form is head and then count copies of
// unit, made without ever holding the plain form: the unit is deflated once
// after a full flush, which refers to nothing before it, and repeated.
inline QByteArray repeatingPackage(const QByteArray &head, const QByteArray &unit, quint32 count, quint32 declaredLength)
{
    z_stream zlib{};
    deflateInit(&zlib, 9);
    const auto piece = [&zlib](QByteArray in, int flush) {
        QByteArray out(qsizetype(deflateBound(&zlib, uLong(in.size()))) + 64, '\0');
        zlib.next_in = reinterpret_cast<Bytef *>(in.data());
        zlib.avail_in = uInt(in.size());
        zlib.next_out = reinterpret_cast<Bytef *>(out.data());
        zlib.avail_out = uInt(out.size());
        deflate(&zlib, flush);
        return out.left(out.size() - qsizetype(zlib.avail_out));
    };
    QByteArray package = compressedHead(declaredLength) + piece(head, Z_FULL_FLUSH);
    const QByteArray repeated = piece(unit, Z_FULL_FLUSH);
    uLong sum = adler32(adler32(0, nullptr, 0), reinterpret_cast<const Bytef *>(head.constData()), uInt(head.size()));
    const uLong unitSum = adler32(adler32(0, nullptr, 0), reinterpret_cast<const Bytef *>(unit.constData()), uInt(unit.size()));
    for (quint32 i = 0; i < count; ++i) {
        package += repeated;
        sum = adler32_combine(sum, unitSum, z_off_t(unit.size()));
    }
    package += piece({}, Z_FINISH).left(2); // the empty final block, without zlib's checksum of it
    deflateEnd(&zlib);
    return package + bigEndian(quint32(sum));
}

// What zlib alone inflates of a zlib stream (raw deflate data when
// windowBits is negative), up to its end or the first fault; ended tells
// whether the data ended the stream.
inline QByteArray zlibInflated(const QByteArray &data, int windowBits, bool &ended)
{
    z_stream zlib{};
    inflateInit2(&zlib, windowBits);
    zlib.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    zlib.avail_in = uInt(data.size());
    QByteArray out;
    char buffer[1 << 16];
    int status;
    do {
        zlib.next_out = reinterpret_cast<Bytef *>(buffer);
        zlib.avail_out = sizeof buffer;
        status = inflate(&zlib, Z_SYNC_FLUSH);
        out.append(buffer, qsizetype(sizeof buffer - zlib.avail_out));
    } while (status == Z_OK && (zlib.avail_in > 0 || zlib.avail_out == 0));
    inflateEnd(&zlib);
    ended = status == Z_STREAM_END;
    return out;
}

// The plain form of a compressed package, inflated with zlib itself;
// nothing when the file is not a compressed package whose stream is complete
// and of the length it declares.
inline std::optional<QByteArray> expandedPackage(const QByteArray &file)
{
    if (file.size() < 12 || !file.startsWith(CompressedMagic))
        return std::nullopt;
    bool ended = false;
    const QByteArray plain = zlibInflated(file.mid(12), MAX_WBITS, ended);
    if (!ended || plain.size() != qFromBigEndian<quint32>(file.constData() + 8))
        return std::nullopt;
    return plain;
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

// Words, most of them rare, now and then the bytes of an empty stored
// block's lengths (which look like the end of a segment), and one time in
// noiseEvery (never when 0) a stretch of noise: deflated, they make stored,
// fixed and dynamic blocks, long codes and every distance.
inline QByteArray mixedBytes(qsizetype size, quint32 seed, quint32 noiseEvery = 10)
{
    std::mt19937 random(seed);
    QByteArray bytes;
    while (bytes.size() < size) {
        if (noiseEvery && random() % noiseEvery == 0)
            bytes += noise(2000, random());
        else if (random() % 50 == 0)
            bytes += QByteArray("\0\0\xff\xff", 4);
        else
            bytes += "word" + QByteArray::number(random() % (random() % 2 ? 40 : 4000)) + (random() % 9 ? " " : "\n");
    }
    return bytes.left(size);
}
