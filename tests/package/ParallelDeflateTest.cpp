#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <zlib.h>

#include <random>

#include "PackageBytes.h"
#include "TempDir.h"
#include "package/PackageArchive.h"
#include "package/PackageCompression.h"
#include "package/PackageWriter.h"
#include "package/ParallelDeflate.h"

namespace {

constexpr qint64 Block = ParallelDeflate::BlockSize;

// Text that compresses well, with stretches of random bytes that do not,
// so blocks end in both fixed/dynamic and stored deflate blocks.
QByteArray mixedBytes(qint64 size, unsigned seed)
{
    std::mt19937 random(seed);
    QByteArray bytes;
    bytes.reserve(size);
    while (bytes.size() < size) {
        if (random() % 8 == 0) {
            for (int i = 0; i < 3000; ++i)
                bytes.append(char(random()));
        } else {
            bytes.append("word" + QByteArray::number(quint32(random() % 500)) + (random() % 9 ? " " : "\n"));
        }
    }
    bytes.truncate(size);
    return bytes;
}

// The whole content of an open file.
QByteArray contentsOf(int fd)
{
    struct stat info;
    fstat(fd, &info);
    QByteArray bytes(qsizetype(info.st_size), '\0');
    preadFully(fd, bytes.data(), bytes.size(), 0);
    return bytes;
}

// The zlib stream ParallelDeflate makes of input, handed over in pieces of
// step bytes.
QByteArray deflateInParallel(const QByteArray &input, int workers, qint64 step)
{
    FileHandle file = createAnonymousFile();
    ParallelDeflate deflate(file.fd(), workers);
    bool written = deflate.begin();
    for (qint64 done = 0; written && done < input.size(); done += step)
        written = deflate.write(input.constData() + done, qMin(step, input.size() - done));
    return written && deflate.finish() ? contentsOf(file.fd()) : QByteArray("failed");
}

QByteArray zlibInflate(const QByteArray &stream, qint64 expected)
{
    QByteArray plain(qsizetype(expected + 1), '\0');
    uLongf size = uLongf(plain.size());
    if (uncompress(reinterpret_cast<Bytef *>(plain.data()), &size, reinterpret_cast<const Bytef *>(stream.constData()),
                   uLong(stream.size()))
        != Z_OK)
        return "zlib refused the stream";
    plain.truncate(qsizetype(size));
    return plain;
}

} // namespace

TEST(ParallelDeflate, streamsAcrossBlockBoundariesReadBackByZlibAloneAndDoNotDependOnTheWorkers)
{
    const qint64 sizes[] = {0, 1, 8, Block - 1, Block, Block + 1, 2 * Block, 3 * Block + 4321};
    for (qint64 size : sizes) {
        const QByteArray input = mixedBytes(size, unsigned(size));
        const QByteArray reference = deflateInParallel(input, 1, 1 << 16);
        EXPECT_EQ(zlibInflate(reference, size), input) << "size " << size;
        EXPECT_EQ(quint8(reference[0]), 0x78) << "zlib header, size " << size;
        // Neither the number of workers nor how the input is handed over
        // changes a byte.
        const struct {
            int workers;
            qint64 step;
        } runs[] = {{2, 1 << 16}, {3, 777}, {8, Block}, {0, 3 * Block}};
        for (const auto &run : runs)
            EXPECT_EQ(deflateInParallel(input, run.workers, run.step), reference)
                << "size " << size << ", " << run.workers << " workers, step " << run.step;
    }
}

TEST(ParallelDeflate, compressesAsWellAsZlibsDefaultLevel)
{
    const QByteArray input = mixedBytes(5 * Block / 2, 7);
    uLongf size = compressBound(uLong(input.size()));
    QByteArray zlib(qsizetype(size), '\0');
    compress2(reinterpret_cast<Bytef *>(zlib.data()), &size, reinterpret_cast<const Bytef *>(input.constData()),
              uLong(input.size()), Z_DEFAULT_COMPRESSION);
    EXPECT_LE(deflateInParallel(input, 2, Block).size(), qsizetype(size));
}

TEST(ParallelDeflate, packagesAroundTheBlockSizeRoundTripThroughZlibAlone)
{
    // Plain lengths: empty; entries smaller than, equal to and larger than a
    // block; a package of exactly one block; one a byte past it.
    const qint64 oneBlockEntry = Block - PackageArchive::HeaderSize - PackageEntry::RecordSize;
    const QList<QList<qint64>> cases = {
        {}, {0, 10, 5}, {Block}, {Block + 1, 3, Block - 1}, {oneBlockEntry}, {oneBlockEntry + 1}, {4 * Block + 99}};
    TempDir dir;
    for (const QList<qint64> &sizes : cases) {
        PackageArchive package;
        QByteArray error;
        for (int i = 0; i < sizes.size(); ++i) {
            const QByteArray name = "f" + QByteArray::number(i);
            dir.write(name, mixedBytes(sizes[i], unsigned(i + sizes[i])));
            ASSERT_TRUE(package.addDiskFile(name, dir.file(name), error));
        }
        MemorySink plain;
        ASSERT_TRUE(package.writePackage(plain, "memory", error));
        ASSERT_TRUE(writeCompressedPackage(package, dir.file("p.pkg"), error)) << error.constData();
        const QByteArray written = dir.read("p.pkg");
        EXPECT_EQ(zlibInflate(written.mid(12), plain.bytes.size()), plain.bytes) << "plain length " << plain.bytes.size();
        FileHandle file(::open(dir.file("p.pkg").constData(), O_RDONLY));
        CompressedPackageReader reader(file.fd());
        MemorySink expanded;
        ASSERT_TRUE(reader.begin());
        EXPECT_TRUE(expandPackage(reader, expanded));
        EXPECT_EQ(expanded.bytes, plain.bytes) << "plain length " << plain.bytes.size();
    }
}

TEST(ParallelDeflate, corruptDataInAnyBlockIsFoundByTheReader)
{
    // Four blocks of text and random bytes: a changed byte in any of them, in
    // the final block or in the checksum, and a stream cut at any point,
    // fail the expansion.
    const QByteArray plain = mixedBytes(4 * Block - 100, 11);
    const QByteArray stream = deflateInParallel(plain, 2, Block);
    const QByteArray head = QByteArray("\x7A\xF4\x31\xB2\x01\x00\x00\x00", 8) + QByteArray(4, '\0');
    QList<QPair<QByteArray, QByteArray>> cases;
    for (int part = 1; part <= 8; ++part) {
        const qsizetype at = stream.size() * part / 9;
        QByteArray changed = stream;
        changed[at] = char(changed[at] ^ 0x10);
        cases.append({"byte " + QByteArray::number(at) + " changed", changed});
        cases.append({"cut at " + QByteArray::number(at), stream.left(at)});
    }
    for (qsizetype at : {qsizetype(1), stream.size() - 7, stream.size() - 1}) {
        QByteArray changed = stream;
        changed[at] = char(changed[at] ^ 0x01);
        cases.append({"byte " + QByteArray::number(at) + " of " + QByteArray::number(stream.size()) + " changed", changed});
    }
    cases.append({"intact", stream});
    TempDir dir;
    for (const auto &[what, bytes] : cases) {
        dir.write("p.pkg", head + bytes);
        FileHandle file(::open(dir.file("p.pkg").constData(), O_RDONLY));
        CompressedPackageReader reader(file.fd());
        MemorySink expanded;
        ASSERT_TRUE(reader.begin());
        const bool intact = what == "intact";
        EXPECT_EQ(expandPackage(reader, expanded), intact) << what.constData();
        EXPECT_EQ(reader.failed(), !intact) << what.constData();
        if (intact) {
            EXPECT_EQ(expanded.bytes, plain);
        }
    }
}
