#include "solution/RelativePath.h"

#include <gtest/gtest.h>

TEST(RelativePath, storesFilesUnderTheSolutionDirectoryWithDotDotStepsWhereNeeded)
{
    const struct { const char *base, *path; bool ok; const char *expected; } cases[] = {
        {"/home/u/sol", "/opt/y/c.c", false, "unchanged"},
        {"/home/u/sol/deep/er", "/home/x.c", true, "../../../../x.c"},
        {"/home/u/sol", "/home/u/sol/a/./b/../c.c", true, "a/c.c"},
        {"/home/u/sol", "/home/u/Sol/c.c", true, "../Sol/c.c"},            // compared case-sensitively
        {"/home/u/sol//", "/home//u/sol/d/e.c", true, "d/e.c"},            // empty parts dropped
        {"/home/u/sol", "/home/u/sol/\xc3\xa4/\xff.c", true, "\xc3\xa4/\xff.c"}, // bytes kept
        {"/home/u/sol", "/home/u/solar/f.c", true, "../solar/f.c"},        // a longer name is no directory
        {"/home/u/sol", "/home/u/sol/d/..", true, "../.."},                 // a last ".." stays a name
        {"/home/u/./sol", "/home/u/./sol/f.c", true, "f.c"},
    };
    for (const auto &c : cases) {
        QString result = QStringLiteral("unchanged");
        EXPECT_EQ(relativePath(QString::fromLatin1(c.base), QString::fromLatin1(c.path), result), c.ok) << c.path;
        EXPECT_EQ(result.toLatin1(), QByteArray(c.expected)) << c.base << " " << c.path;
    }
}

TEST(RelativePath, sameDirectoryAndDotGiveANullDirectory)
{
    QString result = QStringLiteral("unchanged");
    EXPECT_TRUE(relativeDirectory(QStringLiteral("/a/b"), QStringLiteral("."), result));
    EXPECT_TRUE(result.isNull());
    EXPECT_TRUE(relativeDirectory(QStringLiteral("/a/b"), QStringLiteral("/a/b"), result));
    EXPECT_TRUE(result.isEmpty());
    EXPECT_TRUE(relativeDirectory(QStringLiteral("/a/b"), QStringLiteral("/a"), result));
    EXPECT_EQ(result, QStringLiteral(".."));
    EXPECT_FALSE(relativeDirectory(QStringLiteral("/"), QStringLiteral("/a"), result));
}
