#include <gtest/gtest.h>

#include "macros/NormalizedPath.h"

#include "TempDir.h"

TEST(NormalizedPath, normalisationRules)
{
    const struct { const char *path; const char *expected; } cases[] = {
        {"/x/./y", "/x/y"},
        {"/x/y/../z", "/x/z"},
        {"//x///y", "/x/y"},
        {"/x/.", "/x"},
        {"a/..", "a/.."},              // the ".." belongs to the first component
        {"/a/..", ""},
        {"./a/b", "./a/b"},            // a leading "./" follows no '/'
        {"/a/b/../../c", "/c"},        // scanning resumes at the removed component
        {"/x/.hidden/y", "/x/.hidden/y"},
        {"/x/..more", "more"},         // "/.." whatever follows it
        {"/../x", "/../x"},
        {"/x/./././y/", "/x/y/"},
        {"/ab/cd/../../../e", "/../e"},
        {"", ""},
        {"plain", "plain"},
    };
    for (const auto &c : cases) {
        QString path = QString::fromLatin1(c.path);
        NormalizedPath::normalize(path);
        EXPECT_EQ(path, QString::fromLatin1(c.expected)) << c.path;
        EXPECT_EQ(NormalizedPath(QString::fromLatin1(c.path)).text(), QString::fromLatin1(c.expected));
    }
}

TEST(NormalizedPath, appendsNormalisedAndReportsWhetherTheNamedFileExists)
{
    TempDir dir;
    dir.write("sub/file", "x");
    const NormalizedPath sub(dir.qpath() + QStringLiteral("//sub/."));
    EXPECT_TRUE(sub.exists());
    EXPECT_TRUE(sub.isDirectory());
    EXPECT_TRUE((sub + QStringLiteral("/x/../file")).exists()); // an appended name is normalised too
    EXPECT_FALSE((sub + QStringLiteral("/file")).isDirectory());
    EXPECT_FALSE((sub + QStringLiteral("/missing")).exists());
}
