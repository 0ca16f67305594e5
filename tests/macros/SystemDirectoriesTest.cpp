#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

#include "TempDir.h"
#include "platform/FileSystem.h"
#include "platform/HException.h"
#include "macros/MacroExpansion.h"
#include "macros/MacroTable.h"
#include "macros/SystemDirectories.h"

namespace {

QString macro(const char *name)
{
    return MacroTable::lookup(MacroTable::instance().macros(), QString::fromLatin1(name));
}

QString expand(const char *text)
{
    return expandMacros(QString::fromLatin1(text), MacroTable::instance().macros());
}

TEST(SystemDirectories, installationIsTheCanonicalParentOfTheProgramDirectory)
{
    TempDir dir;
    dir.write("real/bin/mkpkg", "");
    ASSERT_EQ(symlink(dir.file("real").constData(), dir.file("link").constData()), 0);
    const QString canonicalRoot = canonicalPath(dir.qpath());

    locateInstallation(dir.qpath() + QStringLiteral("/link/bin/mkpkg"), 1);
    EXPECT_EQ(programDirectory(), canonicalRoot + QStringLiteral("/real/bin"));
    EXPECT_EQ(installationDirectory(), canonicalRoot + QStringLiteral("/real"));

    // A bare name is taken from the current directory; no search path is used.
    const QString previous = currentDirectory();
    ASSERT_EQ(chdir(dir.file("real/bin").constData()), 0);
    locateInstallation(QStringLiteral("mkpkg"), 1);
    EXPECT_EQ(installationDirectory(), canonicalRoot + QStringLiteral("/real"));
    locateInstallation(QStringLiteral("mkpkg"), 2);
    EXPECT_EQ(installationDirectory(), canonicalRoot);
    ASSERT_EQ(chdir(nativeName(previous).constData()), 0);
}

TEST(SystemDirectories, rootUserDirectoryComesFromTheVariableOrHome)
{
    EXPECT_EQ(rootUserDirectoryFor(QStringLiteral("/opt/u"), QStringLiteral("/home/a")), QStringLiteral("/opt/u"));
    EXPECT_EQ(rootUserDirectoryFor(QString(), QStringLiteral("/home/a b")),
              QStringLiteral("/home/a_b/.tallowmere_instruments"));
    EXPECT_EQ(rootUserDirectoryFor(QString(), QString()), QStringLiteral("/.tallowmere_instruments"));
    EXPECT_EQ(rootUserDirectory(), nameFromNative(getenv("FERNHOLLOW_ROOT_USER_DIR")));
}

TEST(SystemDirectories, systemMacrosNameTheVersionAndNormalisedDirectories)
{
    defineSystemMacros(QStringLiteral("/opt//fernhollow/./bin/.."));
    const QString home = nameFromNative(getenv("HOME"));
    const QString root = nameFromNative(getenv("FERNHOLLOW_ROOT_USER_DIR"));
    EXPECT_EQ(macro("StudioMajorVersion"), QStringLiteral("2"));
    EXPECT_EQ(macro("StudioMinorVersion"), QStringLiteral("0"));
    EXPECT_EQ(macro("StudioRevision"), QStringLiteral("9"));
    EXPECT_EQ(macro("StudioName"), QStringLiteral("Lanternwick for ARM"));
    EXPECT_EQ(expand("$(StudioDir)/bin"), QStringLiteral("/opt/fernhollow/bin"));
    EXPECT_EQ(macro("StudioUserDir"), root + QStringLiteral("/Fernhollow for ARM"));
    EXPECT_EQ(macro("HomeDir"), home);
    EXPECT_EQ(macro("DesktopDir"), home + QStringLiteral("/Desktop"));
    EXPECT_EQ(macro("DocumentsDir"), home + QStringLiteral("/Documents"));
}

TEST(SystemDirectories, packagesDirectoryGetsTheUsersTemplateFilesOnce)
{
    TempDir dir;
    MacroTable::instance().setMacro(QStringLiteral("SetupTestRoot"), dir.qpath());
    setupPackagesDirectory(QStringLiteral("$(SetupTestRoot)//user/./packages"));
    const QString packages = dir.qpath() + QStringLiteral("/user/packages");
    EXPECT_EQ(macro("PackagesDir"), packages);
    EXPECT_EQ(macro("TargetsDir"), packages + QStringLiteral("/targets"));
    EXPECT_EQ(macro("SamplesDir"), packages + QStringLiteral("/samples"));
    EXPECT_FALSE(dir.exists("user/packages/samples"));

    EXPECT_EQ(dir.read("user/packages/targets/project_templates.xml"),
              QByteArray("<!DOCTYPE Project_Templates_File>\n"
                         "<projects>\n"
                         "  <include filename=\"$(StudioDir)/targets/project_templates.xml\" no_root=\"1\" />\n"
                         "</projects>\n"));
    EXPECT_EQ(dir.read("user/packages/targets/frequencies.xml"),
              QByteArray("<envelope>\n"
                         "  <include filename=\"$(StudioDir)/targets/frequencies.xml\" />\n"
                         "</envelope>\n"));

    dir.write("user/packages/targets/project_templates.xml", "mine");
    dir.write("user/packages/targets/frequencies.xml", "");
    setupPackagesDirectory(QStringLiteral("$(SetupTestRoot)/user/packages"));
    EXPECT_EQ(dir.read("user/packages/targets/project_templates.xml"), QByteArray("mine"));
    EXPECT_EQ(dir.read("user/packages/targets/frequencies.xml"), QByteArray());
}

TEST(SystemDirectories, unwritableTemplateFileRaisesCannotCreate)
{
    TempDir dir;
    dir.write("packages/targets", "a file where the directory should be");
    const QString packages = dir.qpath() + QStringLiteral("/packages");
    try {
        setupPackagesDirectory(packages);
        FAIL() << "no exception";
    } catch (const HException &error) {
        EXPECT_EQ(error.text(), QStringLiteral("cannot create ") + packages + QStringLiteral("/targets/project_templates.xml"));
        EXPECT_STREQ(error.what(), nativeName(error.text()).constData());
    }
}

} // namespace
