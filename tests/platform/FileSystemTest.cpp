#include "platform/FileSystem.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(FileSystem, namesWithAnyBytesAreStattedAndResolvedAndDirectoriesAreMadeWithParents)
{
    TempDir dir;
    const QByteArray utf8 = "\xc3\x9c" "bung.c";   // a UTF-8 name
    const QByteArray raw = "\xff\xfe.bin";          // bytes that are no UTF-8 at all
    dir.write("sub/" + utf8, "hello");
    dir.write("sub/" + raw, "");
    const QString sub = nameFromNative(dir.file("sub"));

    ASSERT_TRUE(fileStatus(sub).value_or(FileStatus{}).directory);
    const QString utf8Path = sub + u'/' + nameFromNative(utf8);
    ASSERT_TRUE(fileStatus(utf8Path).has_value());
    EXPECT_FALSE(fileStatus(utf8Path)->directory);
    EXPECT_EQ(fileStatus(utf8Path)->size, 5);
    EXPECT_TRUE(fileStatus(utf8Path)->ownerWritable);
    chmod(dir.file("sub/" + utf8).constData(), 0444);
    EXPECT_FALSE(fileStatus(utf8Path)->ownerWritable);

    EXPECT_FALSE(listDirectory(sub + QStringLiteral("/missing")).has_value());
    EXPECT_FALSE(fileStatus(sub + QStringLiteral("/missing")).has_value());
    EXPECT_TRUE(canonicalPath(sub + QStringLiteral("/missing")).isNull());
    EXPECT_EQ(nativeName(canonicalPath(sub + QStringLiteral("/../sub/") + nameFromNative(raw))),
              nativeName(canonicalPath(sub)) + "/" + raw);
    EXPECT_EQ(absoluteDirectory(QStringLiteral("/b.c")), QStringLiteral("/"));

    const QString deep = nameFromNative(dir.file("p/\xe4/q"));
    EXPECT_TRUE(makeDirectories(deep));
    EXPECT_TRUE(fileStatus(deep).value_or(FileStatus{}).directory);
    EXPECT_TRUE(makeDirectories(deep));
    EXPECT_FALSE(makeDirectories(utf8Path + QStringLiteral("/below")));
}
