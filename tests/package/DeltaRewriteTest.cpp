#include <gtest/gtest.h>

#include <zlib.h>

#include <random>

#include "PackageBytes.h"
#include "TempDir.h"
#include "package/PackageArchive.h"
#include "package/PackageFileReader.h"
#include "package/PackageWriter.h"

// Delete and replace copy a compressed package's kept data into the new
// one; where the old deflate data falls into standalone segments, those go
// across as they are. Whatever wrote the old package, the new one must
// expand, by zlib alone, to exactly the kept entries.

namespace {

// Text-like bytes that compress a little, with the bytes of an empty
// stored block's lengths sprinkled in, so that stored blocks of them look
// like segment ends where there are none.
QByteArray entryData(int size, unsigned seed)
{
    std::mt19937 random(seed);
    static const char *words[] = {"int ", "return ", "static ", "x", "y", "(", ");\n", "{\n", "}\n", "= ", "+ 1"};
    QByteArray data;
    while (data.size() < size) {
        if (random() % 50 == 0)
            data.append("\x00\x00\xff\xff", 4);
        data.append(words[random() % std::size(words)]);
        data.append(char('a' + random() % 26));
    }
    data.truncate(size);
    return data;
}

// A compressed package written by zlib, flushing every flushEvery plain
// bytes with flush (Z_NO_FLUSH: one stream with no flush at all).
QByteArray zlibPackage(const QByteArray &plain, int level, int flush, qsizetype flushEvery)
{
    z_stream stream{};
    deflateInit(&stream, level);
    QByteArray out = compressedHead(quint32(plain.size()));
    std::vector<unsigned char> buffer(1 << 16);
    for (qsizetype done = 0; done <= plain.size();) {
        const qsizetype take = qMin(flushEvery, plain.size() - done);
        stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(plain.constData() + done));
        stream.avail_in = uInt(take);
        done += take;
        const int mode = done == plain.size() ? Z_FINISH : flush;
        int status;
        do {
            stream.next_out = buffer.data();
            stream.avail_out = uInt(buffer.size());
            status = deflate(&stream, mode);
            out.append(reinterpret_cast<const char *>(buffer.data()), qsizetype(buffer.size() - stream.avail_out));
        } while (stream.avail_out == 0);
        if (status == Z_STREAM_END)
            break;
    }
    deflateEnd(&stream);
    return out;
}

// How many of the new package's 4 KiB pieces appear as they are in the old one.
double sharedShare(const QByteArray &oldPackage, const QByteArray &newPackage)
{
    int shared = 0, pieces = 0;
    for (qsizetype at = 14; at + 4096 <= newPackage.size(); at += 4096, ++pieces)
        shared += oldPackage.contains(newPackage.mid(at, 4096)) ? 1 : 0;
    return pieces ? double(shared) / pieces : 0;
}

// An old package written by this program (level < 0), or by zlib with a
// flush every so many plain bytes (Z_NO_FLUSH: one stream with no flush).
struct Case {
    const char *name;
    int level, flush;
    qsizetype flushEvery;
    bool segmentsGoAcross; // most of the new deflate data is the old one's
};

QByteArray writePackage(TempDir &dir, const QList<PlainEntry> &entries, const Case &c)
{
    const QByteArray plain = plainPackage(entries);
    if (c.level >= 0)
        return zlibPackage(plain, c.level, c.flush, c.flushEvery ? c.flushEvery : plain.size());
    dir.write("plain.pkg", plain);
    PackageArchive package;
    EXPECT_EQ(readPackageFile(dir.file("plain.pkg"), EntryData::Copied, package).result, PackageArchive::Read);
    QByteArray error;
    EXPECT_TRUE(writeCompressedPackage(package, dir.file("old.pkg"), error)) << error.constData();
    return dir.read("old.pkg");
}

} // namespace

TEST(DeltaRewrite, deleteAndReplaceKeepExactlyTheKeptEntriesWhateverWroteTheOldPackage)
{
    const Case cases[] = {
        {"this program's writer", -1, 0, 0, true},
        {"zlib, one stream", 6, Z_NO_FLUSH, 0, false},
        {"zlib, full flushes", 6, Z_FULL_FLUSH, 300 * 1024, true},
        {"zlib, sync flushes (segments refer back)", 6, Z_SYNC_FLUSH, 300 * 1024, false},
        {"zlib, stored blocks holding the stored-block bytes", 0, Z_FULL_FLUSH, 300 * 1024, true},
        {"zlib, full flushes closer than a segment", 6, Z_FULL_FLUSH, 5000, true},
    };
    // Entries smaller and larger than the writer's 1 MiB pieces, and empty ones.
    QList<PlainEntry> entries;
    const int sizes[] = {70000, 0, 1500000, 3000, 400000, 0, 2500000, 90000, 600000, 12};
    for (int i = 0; i < int(std::size(sizes)); ++i)
        entries.append({"dir/file" + QByteArray::number(i), entryData(sizes[i], unsigned(i) + 1)});

    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const QByteArray oldPackage = writePackage(dir, entries, c);
        ASSERT_EQ(expandedPackage(oldPackage), plainPackage(entries));

        // Delete two entries, then put one of them back at the end as a replace does.
        dir.write("old.pkg", oldPackage);
        PackageArchive input;
        ASSERT_EQ(readPackageFile(dir.file("old.pkg"), EntryData::Copied, input).result, PackageArchive::Read);
        PackageArchive output;
        QList<PlainEntry> kept;
        for (int i = 0; i < entries.size(); ++i) {
            if (i == 1 || i == 3)
                continue;
            output.addEntry(input.entries()[i]);
            kept.append(entries[i]);
        }
        output.addEntry(input.entries()[1]);
        kept.append(entries[1]);
        QByteArray error;
        ASSERT_TRUE(writeCompressedPackage(output, dir.file("new.pkg"), error)) << error.constData();

        const QByteArray newPackage = dir.read("new.pkg");
        EXPECT_EQ(expandedPackage(newPackage), plainPackage(kept));
        if (c.segmentsGoAcross)
            EXPECT_GT(sharedShare(oldPackage, newPackage), 0.5);
        else
            EXPECT_LT(sharedShare(oldPackage, newPackage), 0.1);

        // Entry by entry into plain sinks, inflated ahead as extraction
        // reads them; then a package left after its first entry, whose
        // inflation ahead must stop.
        PackageArchive again, left;
        ASSERT_EQ(readPackageFile(dir.file("old.pkg"), EntryData::WrittenOut, again).result, PackageArchive::Read);
        for (int i = 0; i < entries.size(); ++i) {
            MemorySink sink;
            ASSERT_TRUE(PackageArchive::copyEntryData(again.entries()[i], sink, "sink", error)) << error.constData();
            EXPECT_EQ(sink.bytes, entries[i].data) << i;
        }
        ASSERT_EQ(readPackageFile(dir.file("old.pkg"), EntryData::WrittenOut, left).result, PackageArchive::Read);
        MemorySink first;
        ASSERT_TRUE(PackageArchive::copyEntryData(left.entries()[0], first, "sink", error)) << error.constData();
        EXPECT_EQ(first.bytes, entries[0].data);
        left.clear();
    }
}
