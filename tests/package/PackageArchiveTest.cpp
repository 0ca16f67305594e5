#include <gtest/gtest.h>

#include <fcntl.h>

#include "PackageBytes.h"
#include "TempDir.h"
#include "package/PackageArchive.h"

TEST(PackageArchive, namesAreFoundByteForByteAndA1023ByteNameFits)
{
    PackageArchive package;
    PackageEntry entry;
    entry.source = EntrySource::diskFile("/dev/null");
    for (const QByteArray &name : {QByteArray("./foo.c"), QByteArray("\xff\x01 caf\xc3\xa9"), QByteArray(1023, 'n')}) {
        entry.name = name;
        package.addEntry(entry);
    }
    EXPECT_EQ(package.findEntry("foo.c"), nullptr);
    EXPECT_EQ(package.findEntry("./foo.c"), &package.entries()[0]);
    EXPECT_EQ(package.findEntry("\xff\x01 caf\xc3\xa9"), &package.entries()[1]);
    MemorySink sink;
    QByteArray error;
    ASSERT_TRUE(package.writePackage(sink, "p", error)) << error.constData();
    EXPECT_EQ(sink.bytes.mid(8 + 2 * 1040, 1024), QByteArray(1023, 'n') + '\0') << "a 1023-byte name fits with one NUL";

    entry.name = QByteArray(1024, 'n');
    package.addEntry(entry);
    EXPECT_FALSE(package.writePackage(sink, "p", error));
    EXPECT_EQ(error, "can't store " + entry.name + ": names of 1024 bytes or more do not fit in a package");
}

TEST(PackageArchive, refusesPackagesThatWouldReachFourGiBNamingTheEntryThatGoesBeyond)
{
    struct Case {
        QList<quint32> sizes;
        quint64 length;    // when it can be written
        QByteArray blamed; // the entry the refusal names otherwise
    } cases[] = {
        {{0xFFFFF000u}, quint64(8 + 1040) + 0xFFFFF000u, {}},
        {{0xFFFFF000u, 0xFFFFF000u}, 0, "entry1"},
        {{0xFFFFFFFFu, 1}, 0, "entry0"},
        {{1, 0xFFFFFBE7u, 0}, 0, "entry1"},
        {{0xFFFFFBE7u}, 0xFFFFFFFFu, {}}, // one byte short of 4 GiB
        {{0xFFFFFBE8u}, 0, "entry0"},
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
        EXPECT_EQ(c.blamed.isEmpty() ? length : 0, c.length);
        EXPECT_EQ(error, c.blamed.isEmpty() ? "" : "can't store " + c.blamed + ": the package would reach 4 GiB");
    }
}

TEST(PackageArchive, aSourceThatIsMissingOrAFifoCannotBeAdded)
{
    TempDir dir;
    // A FIFO that took a file's place, even one with a writer, has no size to store.
    ASSERT_EQ(::mkfifo(dir.file("fifo").constData(), 0644), 0);
    const FileHandle writer(::open(dir.file("fifo").constData(), O_RDWR));
    PackageArchive package;
    QByteArray error;
    for (const QByteArray &name : {QByteArray("gone"), QByteArray("fifo")}) {
        EXPECT_FALSE(package.addDiskFile("./" + name, dir.file(name), error));
        EXPECT_EQ(error, "can't open " + dir.file(name) + " for reading");
    }
    EXPECT_TRUE(package.entries().isEmpty());
}
