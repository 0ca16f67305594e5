#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "TempDir.h"
#include "package/SafeFileReplacement.h"

namespace {

bool replaceWith(const QByteArray &target, const char *contents, QByteArray &error)
{
    SafeFileReplacement replacement(target);
    return replacement.open(error) && ::write(replacement.fd(), contents, std::strlen(contents)) > 0
           && replacement.commit(error);
}

} // namespace

TEST(SafeFileReplacement, aLinkOrAFifoStaysWhatItIsAndWhatItLeadsToIsWritten)
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
    EXPECT_TRUE(isA(S_IFLNK, dir.file("chain")));
    EXPECT_TRUE(isA(S_IFLNK, dir.file("relative")));

    // A link to a file not there yet creates that file, beside the link.
    ASSERT_TRUE(replaceWith(dir.file("store/dangling"), "created", error)) << error.constData();
    EXPECT_EQ(dir.read("store/missing.pkg"), "created");
    EXPECT_EQ(namesIn(dir.file("store")), (QList<QByteArray>{"dangling", "missing.pkg", "real.pkg"}));

    EXPECT_FALSE(replaceWith(dir.file("loop"), "never", error));
    EXPECT_EQ(error, "can't open " + dir.file("loop") + " for writing: " + errorText(ELOOP));
    EXPECT_TRUE(isA(S_IFLNK, dir.file("loop")));

    const QByteArray fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.constData(), 0644), 0);
    EXPECT_FALSE(replaceWith(fifo, "nobody reads", error)) << "a FIFO without a reader is not waited for";
    EXPECT_EQ(error, "can't open " + fifo + " for writing: " + errorText(ENXIO));
    EXPECT_TRUE(isA(S_IFIFO, fifo));

    FileHandle reader(::open(fifo.constData(), O_RDONLY | O_NONBLOCK));
    ASSERT_TRUE(reader.isOpen());
    ASSERT_TRUE(replaceWith(fifo, "through the fifo", error)) << error.constData();
    char received[64] = {};
    EXPECT_EQ(::read(reader.fd(), received, sizeof received), 16);
    EXPECT_STREQ(received, "through the fifo");
    EXPECT_TRUE(isA(S_IFIFO, fifo));
    EXPECT_EQ(namesIn(dir.path()), (QList<QByteArray>{"chain", "fifo", "loop", "relative", "store"}));
}
