#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

#include "TempDir.h"
#include "macros/MacroTable.h"
#include "macros/NormalizedPath.h"
#include "macros/SystemDirectories.h"
#include "platform/FileSystem.h"

namespace {

QString macro(const char *name)
{
    return MacroTable::lookup(MacroTable::instance().macros(), QString::fromLatin1(name));
}

} // namespace

TEST(NormalizedPath, normalisationRules)
{
    const struct { const char *path; const char *expected; } cases[] = {
        {"//x///y", "/x/y"},
        {"/x/.", "/x"},
        {"a/..", "a/.."},              // the ".." belongs to the first component
        {"/a/..", ""},
        {"./a/b", "./a/b"},            // a leading "./" follows no '/'
        {"/x//../y", "/y"},            // the component before ".." is taken to be a character long at least,
        {"a//../b", "a/../b"},         // so an empty one is stepped over
        {"/x/.hidden/y", "/x/.hidden/y"},
        {"/x/..more", "more"},         // "/.." whatever follows it
        {"/x/./././y/", "/x/y/"},
        {"/ab/cd/../../../e", "/../e"}, // scanning resumes at the removed component
        {"", ""},
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
    const NormalizedPath sub(dir.qpath() + "//sub/.");
    EXPECT_TRUE(sub.exists());
    EXPECT_TRUE(sub.isDirectory());
    EXPECT_TRUE((sub + "/x/../file").exists()); // an appended name is normalised too
    EXPECT_FALSE((sub + "/file").isDirectory());
    EXPECT_FALSE((sub + "/missing").exists());
}

TEST(SystemDirectories, installationIsTheCanonicalParentOfTheProgramDirectory)
{
    TempDir dir;
    dir.write("real/bin/mkpkg", "");
    ASSERT_EQ(symlink(dir.file("real").constData(), dir.file("link").constData()), 0);
    const QString canonicalRoot = canonicalPath(dir.qpath());

    locateInstallation(dir.qpath() + "/link/bin/mkpkg", 1);
    EXPECT_EQ(programDirectory(), canonicalRoot + "/real/bin");
    EXPECT_EQ(installationDirectory(), canonicalRoot + "/real");

    // A bare name is taken from the current directory; no search path is used.
    const QString previous = currentDirectory();
    ASSERT_EQ(chdir(dir.file("real/bin").constData()), 0);
    locateInstallation("mkpkg", 2);
    EXPECT_EQ(installationDirectory(), canonicalRoot);
    ASSERT_EQ(chdir(nativeName(previous).constData()), 0);
}

TEST(SystemDirectories, userDirectoriesComeFromTheEnvironmentAndSystemMacrosNameThemNormalised)
{
    EXPECT_EQ(rootUserDirectoryFor("/opt/u", "/home/a"), "/opt/u");
    EXPECT_EQ(rootUserDirectoryFor(QString(), "/home/a b"), "/home/a_b/.tallowmere_instruments");
    EXPECT_EQ(rootUserDirectoryFor(QString(), QString()), "/.tallowmere_instruments");
    const QString home = nameFromNative(getenv("HOME"));
    const QString root = nameFromNative(getenv("FERNHOLLOW_ROOT_USER_DIR"));
    EXPECT_EQ(rootUserDirectory(), root);

    defineSystemMacros("/opt//fernhollow/./bin/..");
    const struct { const char *name; QString value; } rows[] = {
        {"StudioDir", "/opt/fernhollow"}, {"StudioUserDir", root + "/Fernhollow for ARM"}, {"HomeDir", home},
        {"DesktopDir", home + "/Desktop"}, {"DocumentsDir", home + "/Documents"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(macro(row.name), row.value) << row.name;
}

TEST(SystemDirectories, packagesDirectoryGetsTheUsersTemplateFilesOnce)
{
    TempDir dir;
    MacroTable::instance().setMacro("SetupTestRoot", dir.qpath());
    setupPackagesDirectory("$(SetupTestRoot)//user/./packages");
    const QString packages = dir.qpath() + "/user/packages";
    EXPECT_EQ(QStringList({macro("PackagesDir"), macro("TargetsDir"), macro("SamplesDir")}),
              QStringList({packages, packages + "/targets", packages + "/samples"}));
    EXPECT_FALSE(dir.exists("user/packages/samples"));

    EXPECT_EQ(dir.read("user/packages/targets/project_templates.xml"),
              "<!DOCTYPE Project_Templates_File>\n<projects>\n"
              "  <include filename=\"$(StudioDir)/targets/project_templates.xml\" no_root=\"1\" />\n</projects>\n");
    EXPECT_EQ(dir.read("user/packages/targets/frequencies.xml"),
              "<envelope>\n  <include filename=\"$(StudioDir)/targets/frequencies.xml\" />\n</envelope>\n");

    dir.write("user/packages/targets/project_templates.xml", "mine");
    dir.write("user/packages/targets/frequencies.xml", "");
    setupPackagesDirectory("$(SetupTestRoot)/user/packages");
    EXPECT_EQ(dir.read("user/packages/targets/project_templates.xml"), "mine");
    EXPECT_EQ(dir.read("user/packages/targets/frequencies.xml"), "");
}
