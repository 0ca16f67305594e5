#include <gtest/gtest.h>

#include <fcntl.h>
#include <zlib.h>

#include <vector>

#include "PackageBytes.h"
#include "TempDir.h"
#include "package/PackageArchive.h"
#include "package/PackageCompression.h"
#include "package/PackageWriter.h"

namespace {

const QByteArray CompressedMagic("\x7A\xF4\x31\xB2\x01\x00\x00\x00", 8);

QByteArray bigEndian(quint32 value)
{
    QByteArray bytes;
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.append(char((value >> shift) & 0xff));
    return bytes;
}

// A compressed package made with zlib directly, at the given level.
QByteArray zlibPackage(const QByteArray &plain, int level = 9, qint64 declaredLength = -1)
{
    uLongf size = compressBound(uLong(plain.size()));
    QByteArray data(qsizetype(size), '\0');
    compress2(reinterpret_cast<Bytef *>(data.data()), &size, reinterpret_cast<const Bytef *>(plain.constData()),
              uLong(plain.size()), level);
    data.truncate(qsizetype(size));
    return CompressedMagic + bigEndian(quint32(declaredLength < 0 ? plain.size() : declaredLength)) + data;
}

QByteArray zlibExpand(const QByteArray &compressed)
{
    const quint32 length = quint32(quint8(compressed[8])) << 24 | quint32(quint8(compressed[9])) << 16
        | quint32(quint8(compressed[10])) << 8 | quint8(compressed[11]);
    QByteArray plain(qsizetype(length), '\0');
    uLongf size = length;
    if (uncompress(reinterpret_cast<Bytef *>(plain.data()), &size,
                   reinterpret_cast<const Bytef *>(compressed.constData() + 12), uLong(compressed.size() - 12))
        != Z_OK)
        return "zlib refused the data";
    plain.truncate(qsizetype(size));
    return plain;
}

// Expands a compressed package file through the reader, or "failed".
QByteArray expandFile(const QByteArray &path)
{
    FileHandle file(::open(path.constData(), O_RDONLY));
    CompressedPackageReader reader(file.fd());
    MemorySink sink;
    if (!reader.begin() || !expandPackage(reader, sink))
        return "failed";
    return sink.bytes;
}

} // namespace

TEST(PackageCompression, everyWrittenPackageExpandsWithZlibAloneToItsPlainForm)
{
    TempDir dir;
    dir.write("ten", "0123456789");
    dir.write("empty", "");
    QByteArray large;
    for (int i = 0; i < 300000; ++i)
        large.append(QByteArray::number(qint64(i) * 7919 % 100003));
    dir.write("large", large);
    struct Case {
        QList<const char *> files;
        qsizetype plainSize;
    } cases[] = {{{}, 8}, {{"ten", "empty", "ten"}, 8 + 3 * 1040 + 20}, {{"large", "ten"}, 8 + 2080 + large.size() + 10}};
    for (const Case &c : cases) {
        PackageArchive package;
        QByteArray error;
        for (const char *name : c.files)
            ASSERT_TRUE(package.addDiskFile(name, dir.file(name), error));
        ASSERT_TRUE(writeCompressedPackage(package, dir.file("p.pkg"), error)) << error.constData();
        const QByteArray written = dir.read("p.pkg");
        EXPECT_EQ(written.left(8), CompressedMagic);
        EXPECT_EQ(written.mid(8, 4), bigEndian(quint32(c.plainSize)));
        MemorySink plain;
        ASSERT_TRUE(package.writePackage(plain, "memory", error));
        EXPECT_EQ(zlibExpand(written), plain.bytes);
        EXPECT_EQ(expandFile(dir.file("p.pkg")), plain.bytes);
        EXPECT_TRUE(isCompressedPackage(dir.file("p.pkg")));
    }
}

TEST(PackageCompression, readsPackagesCompressedByAnIndependentZlibWriter)
{
    TempDir dir;
    const QByteArray plain = plainPackage({{"./a.txt", "alpha\n", 0, 1294740900}, {"src/b.c", "int b;\n", 1, 7}});
    for (int level : {0, 1, 9}) {
        dir.write("z.pkg", zlibPackage(plain, level));
        EXPECT_EQ(expandFile(dir.file("z.pkg")), plain) << "level " << level;
        FileHandle file(::open(dir.file("z.pkg").constData(), O_RDONLY));
        CompressedPackageReader reader(file.fd());
        ASSERT_TRUE(reader.begin());
        PackageArchive package;
        ASSERT_EQ(package.readPackage(reader, "z.pkg.decompressed", nullptr), PackageArchive::Read);
        ASSERT_EQ(package.entries().size(), 2);
        EXPECT_EQ(package.entries()[1].name, "src/b.c");
        EXPECT_EQ(package.entries()[1].size, 7u);
        EXPECT_FALSE(reader.failed());
    }
    dir.write("empty.pkg", zlibPackage(plainPackage({})));
    EXPECT_EQ(expandFile(dir.file("empty.pkg")), plainPackage({}));
}

TEST(PackageCompression, takesTheDeclaredLengthAsAHintAndRefusesCorruptOrTruncatedData)
{
    const QByteArray plain = plainPackage({{"one", QByteArray(5000, 'x')}, {"two", "tail"}});
    const QByteArray good = zlibPackage(plain);
    QByteArray flipped = good;
    flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x55);
    QByteArray badChecksum = good;
    badChecksum[badChecksum.size() - 1] = char(badChecksum[badChecksum.size() - 1] ^ 1);
    struct Case {
        const char *what;
        QByteArray bytes;
        bool expands;
    } cases[] = {
        {"length too large", zlibPackage(plain, 6, plain.size() + 1), true},
        {"length too small", zlibPackage(plain, 6, plain.size() - 1), true},
        {"length 0", zlibPackage(plain, 6, 0), true},
        {"length 0xFFFFFFFF", zlibPackage(plain, 6, 0xFFFFFFFFu), true},
        {"bytes after the stream", good + "trailing", true},
        {"truncated stream", good.left(good.size() - 10), false},
        {"only magic and length", good.left(12), false},
        {"magic alone", CompressedMagic, false},
        {"flipped byte", flipped, false},
        {"bad checksum", badChecksum, false},
        {"no zlib stream", CompressedMagic + bigEndian(8) + plain.left(8), false},
    };
    TempDir dir;
    for (const Case &c : cases) {
        dir.write("bad.pkg", c.bytes);
        EXPECT_EQ(expandFile(dir.file("bad.pkg")), c.expands ? plain : QByteArray("failed")) << c.what;
    }
}

TEST(PackageCompression, aStreamExpandingToFourGiBOrMoreIsRefused)
{
    // A complete, valid stream of 4 GiB and 32 MiB of zeros declared as 100
    // bytes: it repeats one block compressed after a full flush, which refers
    // to nothing before it.
    constexpr int Chunk = 1 << 20;
    constexpr int Chunks = 4096 + 32;
    const QByteArray zeros(Chunk, '\0');
    z_stream zlib{};
    ASSERT_EQ(deflateInit(&zlib, 9), Z_OK);
    const auto deflateChunk = [&](const QByteArray &in, int flush) {
        QByteArray out(qsizetype(deflateBound(&zlib, uLong(in.size()))) + 64, '\0');
        zlib.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(in.constData()));
        zlib.avail_in = uInt(in.size());
        zlib.next_out = reinterpret_cast<Bytef *>(out.data());
        zlib.avail_out = uInt(out.size());
        deflate(&zlib, flush);
        return out.left(out.size() - qsizetype(zlib.avail_out));
    };
    QByteArray stream = deflateChunk(zeros, Z_FULL_FLUSH);
    const QByteArray repeated = deflateChunk(zeros, Z_FULL_FLUSH);
    for (int i = 1; i < Chunks; ++i)
        stream += repeated;
    stream += deflateChunk({}, Z_FINISH).left(2); // the empty final block
    deflateEnd(&zlib);
    uLong sum = adler32(0, nullptr, 0);
    const uLong chunkSum = adler32(sum, reinterpret_cast<const Bytef *>(zeros.constData()), Chunk);
    for (int i = 0; i < Chunks; ++i)
        sum = adler32_combine(sum, chunkSum, Chunk);
    stream += bigEndian(quint32(sum));

    TempDir dir;
    dir.write("bomb.pkg", CompressedMagic + bigEndian(100) + stream);
    FileHandle file(::open(dir.file("bomb.pkg").constData(), O_RDONLY));
    CompressedPackageReader reader(file.fd());
    ASSERT_TRUE(reader.begin());
    std::vector<char> buffer(Chunk);
    quint64 total = 0;
    qint64 got;
    while ((got = reader.read(buffer.data(), qint64(buffer.size()))) > 0)
        total += quint64(got);
    EXPECT_EQ(got, -1);
    EXPECT_TRUE(reader.failed());
    EXPECT_GE(total, quint64(0xFFFFFFFFu) - buffer.size()) << "expanded up to the limit";
    EXPECT_LE(total, quint64(0xFFFFFFFFu) + buffer.size()) << "and no further";
}

TEST(PackageCompression, recognisesOnlyTheCompressedMagic)
{
    TempDir dir;
    struct Case {
        const char *what;
        QByteArray bytes;
        bool compressed;
    } cases[] = {
        {"plain package", plainPackage({}), false},
        {"shorter than the magic", CompressedMagic.left(7), false},
        {"empty file", "", false},
        {"magic alone", CompressedMagic, true},
        {"compressed package", zlibPackage(plainPackage({})), true},
    };
    for (const Case &c : cases) {
        dir.write("f", c.bytes);
        EXPECT_EQ(isCompressedPackage(dir.file("f")), c.compressed) << c.what;
    }
    EXPECT_FALSE(isCompressedPackage(dir.file("missing")));
}
