#include <gtest/gtest.h>

#include <fcntl.h>

#include "PackageBytes.h"
#include "TempDir.h"
#include "package/PackageArchive.h"

TEST(PackageArchive, refusesPackagesThatWouldReachFourGiBNamingTheEntryThatGoesBeyond)
{
    struct Case {
        QList<quint32> sizes;
        quint64 length;    // when it can be written
        QByteArray blamed; // the entry the refusal names otherwise
    } cases[] = {
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
        if (!c.blamed.isEmpty()) {
            MemorySink sink;
            EXPECT_FALSE(package.writePackage(sink, "p", error));
            EXPECT_EQ(sink.bytes, "") << "refused before a byte goes out";
        }
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
