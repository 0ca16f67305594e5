#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "PackageBytes.h"
#include "TempDir.h"
#include "package/PackageArchive.h"
#include "package/PackageWriter.h"
#include "package/SafeFileReplacement.h"

namespace {

struct UmaskScope {
    explicit UmaskScope(mode_t mask) : previous(::umask(mask)) {}
    ~UmaskScope() { ::umask(previous); }
    mode_t previous;
};

} // namespace

TEST(SafeFileReplacement, replacesTheTargetWithTheModeOfANewFileAndLeavesNoTemporaryFile)
{
    TempDir dir;
    dir.write("p.pkg", "old contents");
    ::chmod(dir.file("p.pkg").constData(), 0400);
    dir.write("a", "data");
    for (mode_t mask : {022, 027, 0}) {
        UmaskScope scope(mask);
        PackageArchive package;
        QByteArray error;
        ASSERT_TRUE(package.addDiskFile("./a", dir.file("a"), error));
        ASSERT_TRUE(writeCompressedPackage(package, dir.file("p.pkg"), error)) << error.constData();
        struct stat info;
        ASSERT_EQ(::stat(dir.file("p.pkg").constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0666 & ~mask);
        EXPECT_EQ(namesIn(dir.path()), (QList<QByteArray>{"a", "p.pkg"}));
    }
}

TEST(SafeFileReplacement, failuresLeaveTheTargetAsItWasAndRemoveTheTemporaryFile)
{
    TempDir dir;
    dir.write("p.pkg", "the old package");
    dir.write("a", "data");
    dir.write("dir/inside", "x");
    struct Case {
        const char *what;
        QByteArray target;
        QByteArray source;
        QByteArray message;
    } cases[] = {
        {"source vanished", dir.file("p.pkg"), dir.file("vanished"), "read error on " + dir.file("vanished")},
        {"directory missing", dir.file("nodir/p.pkg"), dir.file("a"), "can't open " + dir.file("nodir/p.pkg") + " for writing: "},
        {"directory is a file", dir.file("a/p.pkg"), dir.file("a"), "can't open " + dir.file("a/p.pkg") + " for writing: "},
        {"target is a directory", dir.file("dir"), dir.file("a"), "can't replace " + dir.file("dir") + ": "},
    };
    for (const Case &c : cases) {
        PackageArchive package;
        PackageEntry entry;
        entry.name = "./a";
        entry.size = 4;
        entry.sourcePath = c.source;
        package.addEntry(entry);
        QByteArray error;
        EXPECT_FALSE(writeCompressedPackage(package, c.target, error)) << c.what;
        EXPECT_TRUE(error.startsWith(c.message)) << c.what << ": " << error.constData();
        EXPECT_EQ(dir.read("p.pkg"), "the old package") << c.what;
        EXPECT_EQ(namesIn(dir.path()), (QList<QByteArray>{"a", "dir", "p.pkg"})) << c.what;
        EXPECT_EQ(namesIn(dir.file("dir")), QList<QByteArray>{"inside"}) << c.what;
    }
}

TEST(SafeFileReplacement, anAbandonedReplacementLeavesNothingBehind)
{
    TempDir dir;
    dir.write("target", "kept");
    QByteArray error;
    {
        SafeFileReplacement replacement(dir.file("target"));
        ASSERT_TRUE(replacement.open(error));
        ASSERT_EQ(::write(replacement.fd(), "new", 3), 3);
        EXPECT_EQ(namesIn(dir.path()).size(), 2);
    }
    EXPECT_EQ(namesIn(dir.path()), QList<QByteArray>{"target"});
    EXPECT_EQ(dir.read("target"), "kept");
    SafeFileReplacement replacement(dir.file("target"));
    ASSERT_TRUE(replacement.open(error));
    ASSERT_EQ(::write(replacement.fd(), "new", 3), 3);
    ASSERT_TRUE(replacement.commit(error));
    EXPECT_EQ(dir.read("target"), "new");
    EXPECT_EQ(namesIn(dir.path()), QList<QByteArray>{"target"});
}
