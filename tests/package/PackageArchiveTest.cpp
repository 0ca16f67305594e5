#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <utime.h>

#include "PackageBytes.h"
#include "TempDir.h"
#include "package/PackageArchive.h"

namespace {

quint32 wordAt(const QByteArray &bytes, qsizetype at)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | quint8(bytes[at + i]);
    return value;
}

std::shared_ptr<const FileHandle> openFile(const QByteArray &path)
{
    return std::make_shared<FileHandle>(::open(path.constData(), O_RDONLY));
}

} // namespace

TEST(PackageArchive, writesDenseOffsetsPaddedRecordsAndTheDataInTableOrder)
{
    TempDir dir;
    dir.write("ten", "0123456789");
    dir.write("empty", "");
    dir.write("five", "abcde");
    ::chmod(dir.file("five").constData(), 0444);
    utimbuf times{1294740900, 1294740900};
    ::utime(dir.file("ten").constData(), &times);

    PackageArchive package;
    QByteArray error;
    for (const char *name : {"ten", "empty", "five"})
        ASSERT_TRUE(package.addDiskFile(QByteArray("./") + name, dir.file(name), error)) << error.constData();
    MemorySink sink;
    ASSERT_TRUE(package.writePackage(sink, "p", error)) << error.constData();

    const QByteArray &bytes = sink.bytes;
    ASSERT_EQ(bytes.size(), 3143);
    EXPECT_EQ(bytes.left(4), QByteArray("\xC8\xC3\x52\x41"));
    EXPECT_EQ(wordAt(bytes, 4), 3u);
    const quint32 offsets[] = {3128, 3138, 3138};
    const quint32 sizes[] = {10, 0, 5};
    for (int i = 0; i < 3; ++i) {
        const qsizetype record = 8 + 1040 * i;
        const QByteArray name = bytes.mid(record, 1024);
        EXPECT_EQ(name.left(name.indexOf('\0')), package.entries()[i].name);
        EXPECT_EQ(name.mid(name.indexOf('\0')), QByteArray(1024 - name.indexOf('\0'), '\0')) << "NUL padding";
        EXPECT_EQ(wordAt(bytes, record + 1024), offsets[i]);
        EXPECT_EQ(wordAt(bytes, record + 1028), sizes[i]);
        EXPECT_EQ(wordAt(bytes, record + 1032), i == 2 ? 1u : 0u) << "read-only";
    }
    EXPECT_EQ(wordAt(bytes, 8 + 1036), 1294740900u);
    EXPECT_EQ(bytes.mid(3128), QByteArray("0123456789abcde"));
    EXPECT_EQ(package.entries()[0].offset, 0u) << "entries in memory keep their own offsets";
}

TEST(PackageArchive, rewritingAPackageFromItsOwnEntriesReproducesItAndSkipsRemovedOnes)
{
    TempDir dir;
    const QByteArray original = plainPackage({{"./a.txt", "alpha", 0, 100}, {"src/b.c", "", 1, 200},
                                             {"x", "last entry", 0x101, 300}});
    dir.write("p.pkg", original);
    PackageArchive package;
    MemoryStream stream(original);
    ASSERT_EQ(package.readPackage(stream, dir.file("p.pkg"), openFile(dir.file("p.pkg"))), PackageArchive::Read);
    ASSERT_EQ(package.entries().size(), 3);
    EXPECT_TRUE(package.entries()[1].isReadOnly());
    EXPECT_TRUE(package.entries()[2].isReadOnly()) << "only the lowest byte of the read-only field counts";

    MemorySink same;
    QByteArray error;
    ASSERT_TRUE(package.writePackage(same, "copy", error)) << error.constData();
    EXPECT_EQ(same.bytes, original);

    package.findEntry("src/b.c")->markRemoved();
    PackageArchive kept;
    for (const PackageEntry &entry : package.entries()) {
        if (!entry.isRemoved())
            kept.addEntry(entry);
    }
    MemorySink smaller;
    ASSERT_TRUE(kept.writePackage(smaller, "copy", error)) << error.constData();
    EXPECT_EQ(smaller.bytes, plainPackage({{"./a.txt", "alpha", 0, 100}, {"x", "last entry", 0x101, 300}}));
}

TEST(PackageArchive, readsValidAndRejectsBadHeadersAndTablesOfContents)
{
    const QByteArray magic("\xC8\xC3\x52\x41", 4);
    QByteArray negative = magic;
    appendWord(negative, 0xFFFFFFFF);
    QByteArray twoClaimedOneGiven = plainPackage({{"one", "1"}, {"two", "2"}}).left(8 + 1040);
    QByteArray wrongMagic = plainPackage({});
    wrongMagic[0] = 'X';
    QByteArray partialRecord = plainPackage({{"one", "1"}}).left(8 + 1039);
    QByteArray largestCount = plainPackage({{"one", "1"}});
    largestCount[7] = char(0x7F); // 0x7FFFFFFF entries claimed, one given
    for (int i = 4; i < 7; ++i)
        largestCount[i] = char(0xFF);
    struct Case {
        const char *what;
        QByteArray bytes;
        PackageArchive::ReadResult result;
        int entries;
    } cases[] = {
        {"empty package", plainPackage({}), PackageArchive::Read, 0},
        {"3-byte file", "abc", PackageArchive::BadHeader, 0},
        {"empty file", "", PackageArchive::BadHeader, 0},
        {"wrong magic", wrongMagic, PackageArchive::BadHeader, 0},
        {"negative count", negative, PackageArchive::BadHeader, 0},
        {"count 2, one record", twoClaimedOneGiven, PackageArchive::BadTableOfContents, 1},
        {"record cut short", partialRecord, PackageArchive::BadTableOfContents, 0},
        {"largest count, one record", largestCount, PackageArchive::BadTableOfContents, 1},
        {"data area missing", plainPackage({{"one", "data"}}).left(8 + 1040), PackageArchive::Read, 1},
    };
    for (const Case &c : cases) {
        PackageArchive package;
        MemoryStream stream(c.bytes);
        EXPECT_EQ(package.readPackage(stream, "p", nullptr), c.result) << c.what;
        EXPECT_EQ(package.entries().size(), c.entries) << c.what;
    }
}

TEST(PackageArchive, namesAreFoundByteForByteAndLongNamesAreRefused)
{
    TempDir dir;
    dir.write("empty", "");
    PackageArchive package;
    PackageEntry entry;
    entry.source = EntrySource::diskFile(dir.file("empty"));
    entry.name = "./foo.c";
    package.addEntry(entry);
    entry.name = QByteArray("\xff\x01 caf\xc3\xa9");
    package.addEntry(entry);
    EXPECT_EQ(package.findEntry("foo.c"), nullptr);
    ASSERT_NE(package.findEntry("./foo.c"), nullptr);
    EXPECT_EQ(package.findEntry(QByteArray("\xff\x01 caf\xc3\xa9")), &package.entries()[1]);

    QByteArray error;
    quint64 length = 0;
    PackageArchive longest;
    entry.name = QByteArray(1023, 'n');
    longest.addEntry(entry);
    MemorySink sink;
    ASSERT_TRUE(longest.writePackage(sink, "p", error));
    EXPECT_EQ(sink.bytes.mid(8, 1024), QByteArray(1023, 'n') + '\0') << "a 1023-byte name fits with one NUL";

    PackageArchive tooLong;
    entry.name = QByteArray(1024, 'n');
    tooLong.addEntry(entry);
    MemorySink untouched;
    EXPECT_FALSE(tooLong.plainLength(length, error));
    EXPECT_FALSE(tooLong.writePackage(untouched, "p", error));
    EXPECT_TRUE(untouched.bytes.isEmpty()) << "nothing is written for a name that cannot be stored";
    EXPECT_TRUE(error.contains("1024 bytes")) << error.constData();
}

TEST(PackageArchive, refusesPackagesThatWouldReachFourGiBNamingTheEntryThatGoesBeyond)
{
    struct Case {
        QList<quint32> sizes;
        quint64 length;     // when it can be written
        QByteArray blamed;  // the entry the refusal names otherwise
    } cases[] = {
        {{0xFFFFF000u}, quint64(8 + 1040) + 0xFFFFF000u, {}},
        {{0xFFFFF000u, 0xFFFFF000u}, 0, "entry1"},
        {{0xFFFFFFFFu, 1}, 0, "entry0"},
        {{1, 0xFFFFFBE7u, 0}, 0, "entry1"},
    };
    for (const Case &c : cases) {
        PackageArchive package;
        for (qsizetype i = 0; i < c.sizes.size(); ++i) {
            PackageEntry entry;
            entry.name = "entry" + QByteArray::number(i);
            entry.size = c.sizes[i];
            package.addEntry(entry);
        }
        quint64 length = 0;
        QByteArray error;
        EXPECT_EQ(package.plainLength(length, error), c.blamed.isEmpty()) << c.blamed.constData();
        if (c.blamed.isEmpty())
            EXPECT_EQ(length, c.length);
        else
            EXPECT_EQ(error, "can't store " + c.blamed + ": the package would reach 4 GiB");
    }
}

TEST(PackageArchive, reportsSourcesThatAreMissingOrShorterThanTheirEntry)
{
    TempDir dir;
    dir.write("short.pkg", plainPackage({{"whole", "12345"}, {"cut", "abcdefgh"}}).chopped(3));
    PackageArchive package;
    QByteArray error;
    EXPECT_FALSE(package.addDiskFile("./gone", dir.file("gone"), error));
    EXPECT_EQ(error, "can't open " + dir.file("gone") + " for reading");
    // A FIFO that took a file's place, even one with a writer, has no size to store.
    ASSERT_EQ(::mkfifo(dir.file("fifo").constData(), 0644), 0);
    FileHandle writer(::open(dir.file("fifo").constData(), O_RDWR));
    EXPECT_FALSE(package.addDiskFile("./fifo", dir.file("fifo"), error));
    EXPECT_EQ(error, "can't open " + dir.file("fifo") + " for reading");
    EXPECT_TRUE(package.entries().isEmpty());

    MemoryStream stream(dir.read("short.pkg"));
    ASSERT_EQ(package.readPackage(stream, dir.file("short.pkg"), openFile(dir.file("short.pkg"))),
              PackageArchive::Read);
    MemorySink sink;
    EXPECT_TRUE(PackageArchive::copyEntryData(package.entries()[0], sink, "out", error));
    EXPECT_EQ(sink.bytes, "12345");
    EXPECT_FALSE(PackageArchive::copyEntryData(package.entries()[1], sink, "out", error));
    EXPECT_TRUE(error.startsWith("read error on " + dir.file("short.pkg"))) << error.constData();
    EXPECT_TRUE(error.contains("cut")) << error.constData();

    PackageEntry vanished;
    vanished.name = "v";
    vanished.size = 1;
    vanished.source = EntrySource::diskFile(dir.file("vanished"));
    EXPECT_FALSE(PackageArchive::copyEntryData(vanished, sink, "out", error));
    EXPECT_TRUE(error.startsWith("read error on " + dir.file("vanished"))) << error.constData();
}
