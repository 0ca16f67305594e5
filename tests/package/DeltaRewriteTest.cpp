#include <gtest/gtest.h>

#include "PackageBytes.h"
#include "TempDir.h"
#include "package/PackageArchive.h"
#include "package/PackageCompression.h"
#include "package/PackageFileReader.h"
#include "package/PackageWriter.h"

// Delete and replace copy a compressed package's kept data into the new
// one; where the old deflate data falls into standalone segments, those go
// across as they are. Whatever wrote the old package, the new one must
// expand, by zlib alone, to exactly the kept entries.

namespace {

// How many of the new package's 4 KiB pieces appear as they are in the old one.
double sharedShare(const QByteArray &oldPackage, const QByteArray &newPackage)
{
    int shared = 0, pieces = 0;
    for (qsizetype at = 14; at + 4096 <= newPackage.size(); at += 4096, ++pieces)
        shared += oldPackage.contains(newPackage.mid(at, 4096)) ? 1 : 0;
    return pieces ? double(shared) / pieces : 0;
}

// An old package written by this program (level < 0), or by zlib with a
// flush every so many plain bytes (0: one stream with no flush); other
// writers may lay the entries' data out in another order, with gaps.
struct Case {
    const char *name;
    int level, flush;
    qsizetype flushEvery;
    bool segmentsGoAcross; // most of the new deflate data is the old one's
    QList<int> dataOrder = {};
    int gap = 0;
};

// The package in the file, read as the commands read it.
PackageArchive readFrom(const QByteArray &path, EntryData data)
{
    PackageArchive package;
    EXPECT_EQ(readPackageFile(path, data, package).result, PackageArchive::Read) << path.constData();
    return package;
}

QByteArray dataOf(const PackageEntry &entry)
{
    MemorySink sink;
    QByteArray error;
    EXPECT_TRUE(PackageArchive::copyEntryData(entry, sink, "sink", error)) << error.constData();
    return sink.bytes;
}

// Writes the entries as the case says into old.pkg and returns its bytes.
QByteArray writeOldPackage(TempDir &dir, const QList<PlainEntry> &entries, const Case &c)
{
    const QByteArray plain = plainPackage(entries, c.dataOrder, c.gap);
    if (c.level >= 0) {
        dir.write("old.pkg", compressedHead(quint32(plain.size())) + zlibStream(plain, c.level, c.flush, c.flushEvery));
    } else {
        dir.write("plain.pkg", plain);
        QByteArray error;
        EXPECT_TRUE(writeCompressedPackage(readFrom(dir.file("plain.pkg"), EntryData::Copied), dir.file("old.pkg"), error))
            << error.constData();
    }
    return dir.read("old.pkg");
}

} // namespace

TEST(DeltaRewrite, deleteAndReplaceKeepExactlyTheKeptEntriesWhateverWroteTheOldPackage)
{
    const Case cases[] = {
        {"this program's writer", -1, 0, 0, true},
        {"zlib, one stream", 6, Z_NO_FLUSH, 0, false},
        {"zlib, one stream, gaps between the data", 6, Z_NO_FLUSH, 0, false, {}, 17},
        {"zlib, one stream, the data in reverse order", 6, Z_NO_FLUSH, 0, false, {9, 8, 7, 6, 5, 4, 3, 2, 1, 0}, 5},
        {"zlib, full flushes", 6, Z_FULL_FLUSH, 300 * 1024, true},
        {"zlib, sync flushes (segments refer back)", 6, Z_SYNC_FLUSH, 300 * 1024, false},
        {"zlib, stored blocks holding the stored-block bytes", 0, Z_FULL_FLUSH, 300 * 1024, true},
        {"zlib, full flushes closer than a segment", 6, Z_FULL_FLUSH, 5000, true},
    };
    // Entries smaller and larger than the writer's 1 MiB pieces, and empty ones.
    QList<PlainEntry> entries;
    const int sizes[] = {70000, 0, 1500000, 3000, 400000, 0, 2500000, 90000, 600000, 12};
    for (int i = 0; i < int(std::size(sizes)); ++i)
        entries.append({"dir/file" + QByteArray::number(i), mixedBytes(sizes[i], unsigned(i) + 1, 0)});

    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const QByteArray oldPackage = writeOldPackage(dir, entries, c);
        ASSERT_EQ(expandedPackage(oldPackage), plainPackage(entries, c.dataOrder, c.gap));

        // Delete entries 1 and 3, then put 1 back at the end as a replace does.
        const PackageArchive input = readFrom(dir.file("old.pkg"), EntryData::Copied);
        ASSERT_EQ(input.entries().size(), entries.size());
        PackageArchive output;
        QList<PlainEntry> kept;
        for (int i : {0, 2, 4, 5, 6, 7, 8, 9, 1}) {
            output.addEntry(input.entries()[i]);
            kept.append(entries[i]);
        }
        QByteArray error;
        ASSERT_TRUE(writeCompressedPackage(output, dir.file("new.pkg"), error)) << error.constData();
        const QByteArray newPackage = dir.read("new.pkg");
        EXPECT_EQ(expandedPackage(newPackage), plainPackage(kept));
        EXPECT_TRUE(isCompressedPackage(dir.file("new.pkg")));
        const double shared = sharedShare(oldPackage, newPackage);
        EXPECT_TRUE(c.segmentsGoAcross ? shared > 0.5 : shared < 0.1) << shared;

        // Entry by entry into plain sinks, inflated ahead as extraction
        // reads them; then a package left after its first entry, whose
        // inflation ahead must stop.
        const PackageArchive again = readFrom(dir.file("old.pkg"), EntryData::WrittenOut);
        for (int i = 0; i < entries.size(); ++i)
            EXPECT_EQ(dataOf(again.entries()[i]), entries[i].data) << i;
        PackageArchive left = readFrom(dir.file("old.pkg"), EntryData::WrittenOut);
        EXPECT_EQ(dataOf(left.entries()[0]), entries[0].data);
        left.clear();
    }
}
