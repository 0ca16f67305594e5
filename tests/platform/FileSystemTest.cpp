#include "platform/FileSystem.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(FileSystem, namesWithAnyBytesAreFoundListedAndStatted)
{
    TempDir dir;
    const QByteArray utf8 = "\xc3\x9c" "bung.c";   // a UTF-8 name
    const QByteArray raw = "\xff\xfe.bin";          // bytes that are no UTF-8 at all
    dir.write("sub/" + utf8, "hello");
    dir.write("sub/" + raw, "");
    const QString sub = nameFromNative(dir.file("sub"));

    ASSERT_TRUE(fileStatus(sub).value_or(FileStatus{}).directory);
    const QString utf8Path = sub + u'/' + nameFromNative(utf8);
    EXPECT_TRUE(pathExists(utf8Path));
    ASSERT_TRUE(fileStatus(utf8Path).has_value());
    EXPECT_FALSE(fileStatus(utf8Path)->directory);
    EXPECT_EQ(fileStatus(utf8Path)->size, 5);
    EXPECT_TRUE(fileStatus(utf8Path)->ownerWritable);
    chmod(dir.file("sub/" + utf8).constData(), 0444);
    EXPECT_FALSE(fileStatus(utf8Path)->ownerWritable);

    const auto entries = listDirectory(sub);
    ASSERT_TRUE(entries.has_value());
    QList<QByteArray> names;
    for (const DirectoryEntry &entry : *entries)
        names.append(nativeName(entry.name));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (QList<QByteArray>{utf8, raw}));

    EXPECT_TRUE(sameFile(utf8Path, sub + QStringLiteral("/../sub/") + nameFromNative(utf8)));
    EXPECT_FALSE(sameFile(utf8Path, sub + u'/' + nameFromNative(raw)));
    EXPECT_FALSE(sameFile(utf8Path, sub + QStringLiteral("/missing")));
    EXPECT_FALSE(listDirectory(sub + QStringLiteral("/missing")).has_value());
    EXPECT_FALSE(fileStatus(sub + QStringLiteral("/missing")).has_value());
    EXPECT_TRUE(canonicalPath(sub + QStringLiteral("/missing")).isNull());
    EXPECT_EQ(nativeName(canonicalPath(sub + QStringLiteral("/../sub/") + nameFromNative(raw))),
              nativeName(canonicalPath(sub)) + "/" + raw);
}

TEST(FileSystem, absolutePathsResolveDotsAsTextAndDirectoriesAreMadeWithParents)
{
    EXPECT_EQ(absoluteFilePath(QStringLiteral("/a/./b/../c//d")), QStringLiteral("/a/c/d"));
    EXPECT_EQ(absoluteFilePath(QStringLiteral("x/y")), currentDirectory() + QStringLiteral("/x/y"));
    EXPECT_EQ(absoluteDirectory(QStringLiteral("/a/b.c")), QStringLiteral("/a"));
    EXPECT_EQ(absoluteDirectory(QStringLiteral("/b.c")), QStringLiteral("/"));
    EXPECT_EQ(fileNameOf(QStringLiteral("a/b/c.x")), QStringLiteral("c.x"));
    EXPECT_EQ(fileNameOf(QStringLiteral("c.x")), QStringLiteral("c.x"));

    TempDir dir;
    const QString deep = nameFromNative(dir.file("p/\xe4/q"));
    EXPECT_TRUE(makeDirectories(deep));
    EXPECT_TRUE(fileStatus(deep).value_or(FileStatus{}).directory);
    EXPECT_TRUE(makeDirectories(deep));
    dir.write("file", "x");
    EXPECT_FALSE(makeDirectories(nameFromNative(dir.file("file/below"))));
}
