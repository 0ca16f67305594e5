#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <cerrno>
#include <cstring>
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

mode_t modeOf(const QByteArray &path)
{
    struct stat info;
    return ::stat(path.constData(), &info) == 0 ? info.st_mode & 07777 : mode_t(-1);
}

bool replaceWith(const QByteArray &target, const char *contents, QByteArray &error)
{
    SafeFileReplacement replacement(target);
    return replacement.open(error) && ::write(replacement.fd(), contents, std::strlen(contents)) > 0
           && replacement.commit(error);
}

} // namespace

TEST(SafeFileReplacement, aReplacedFileKeepsItsModeAndANewOneGetsTheModeOfANewFile)
{
    TempDir dir;
    dir.write("p.pkg", "old contents");
    ::chmod(dir.file("p.pkg").constData(), 0640);
    dir.write("a", "data");
    for (mode_t mask : {022, 027, 0}) {
        UmaskScope scope(mask);
        PackageArchive package;
        QByteArray error;
        ASSERT_TRUE(package.addDiskFile("./a", dir.file("a"), error));
        ASSERT_TRUE(writeCompressedPackage(package, dir.file("p.pkg"), error)) << error.constData();
        EXPECT_EQ(modeOf(dir.file("p.pkg")), 0640u);
        const QByteArray fresh = dir.file("new" + QByteArray::number(mask) + ".pkg");
        ASSERT_TRUE(writeCompressedPackage(package, fresh, error)) << error.constData();
        EXPECT_EQ(modeOf(fresh), 0666 & ~mask);
        ASSERT_EQ(::unlink(fresh.constData()), 0);
        EXPECT_EQ(namesIn(dir.path()), (QList<QByteArray>{"a", "p.pkg"}));
    }

    // A file that may not be written is refused like an open for writing;
    // the super-user may write it, and it stays read-only.
    dir.write("ro.pkg", "protected");
    ::chmod(dir.file("ro.pkg").constData(), 0444);
    QByteArray error;
    if (::geteuid() == 0) {
        ASSERT_TRUE(replaceWith(dir.file("ro.pkg"), "new", error)) << error.constData();
        EXPECT_EQ(dir.read("ro.pkg"), "new");
    } else {
        EXPECT_FALSE(replaceWith(dir.file("ro.pkg"), "new", error));
        EXPECT_EQ(error, "can't open " + dir.file("ro.pkg") + " for writing: Permission denied");
        EXPECT_EQ(dir.read("ro.pkg"), "protected");
    }
    EXPECT_EQ(modeOf(dir.file("ro.pkg")), 0444u);
}

TEST(SafeFileReplacement, aSymbolicLinkStaysALinkAndTheFileItLeadsToIsReplaced)
{
    TempDir dir;
    dir.write("store/real.pkg", "old");
    ASSERT_EQ(::symlink("store/real.pkg", dir.file("relative").constData()), 0);
    ASSERT_EQ(::symlink(dir.file("relative").constData(), dir.file("chain").constData()), 0);
    ASSERT_EQ(::symlink("missing.pkg", dir.file("store/dangling").constData()), 0);
    ASSERT_EQ(::symlink("loop", dir.file("loop").constData()), 0);
    QByteArray error;

    ASSERT_TRUE(replaceWith(dir.file("chain"), "through two links", error)) << error.constData();
    EXPECT_EQ(dir.read("store/real.pkg"), "through two links");
    struct stat info;
    ASSERT_EQ(::lstat(dir.file("chain").constData(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(::lstat(dir.file("relative").constData(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));

    // A link to a file not there yet creates that file, beside the link.
    ASSERT_TRUE(replaceWith(dir.file("store/dangling"), "created", error)) << error.constData();
    EXPECT_EQ(dir.read("store/missing.pkg"), "created");
    EXPECT_EQ(namesIn(dir.file("store")), (QList<QByteArray>{"dangling", "missing.pkg", "real.pkg"}));

    EXPECT_FALSE(replaceWith(dir.file("loop"), "never", error));
    EXPECT_EQ(error, "can't open " + dir.file("loop") + " for writing: " + errorText(ELOOP));
    ASSERT_EQ(::lstat(dir.file("loop").constData(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
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
        {"target is a directory", dir.file("dir"), dir.file("a"), "can't open " + dir.file("dir") + " for writing: Is a directory"},
    };
    for (const Case &c : cases) {
        PackageArchive package;
        PackageEntry entry;
        entry.name = "./a";
        entry.size = 4;
        entry.source = EntrySource::diskFile(c.source);
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

TEST(SafeFileReplacement, aTargetThatIsNoRegularFileIsWrittenIntoAndStaysWhatItIs)
{
    TempDir dir;
    const QByteArray fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.constData(), 0644), 0);
    const auto isFifo = [&] {
        struct stat info;
        return ::lstat(fifo.constData(), &info) == 0 && S_ISFIFO(info.st_mode);
    };
    QByteArray error;
    EXPECT_FALSE(replaceWith(fifo, "nobody reads", error)) << "a FIFO without a reader is not waited for";
    EXPECT_EQ(error, "can't open " + fifo + " for writing: " + errorText(ENXIO));
    EXPECT_TRUE(isFifo());

    FileHandle reader(::open(fifo.constData(), O_RDONLY | O_NONBLOCK));
    ASSERT_TRUE(reader.isOpen());
    ASSERT_TRUE(replaceWith(fifo, "through the fifo", error)) << error.constData();
    char received[64] = {};
    EXPECT_EQ(::read(reader.fd(), received, sizeof received), 16);
    EXPECT_STREQ(received, "through the fifo");
    EXPECT_TRUE(isFifo());
    EXPECT_EQ(namesIn(dir.path()), QList<QByteArray>{"fifo"});
}
