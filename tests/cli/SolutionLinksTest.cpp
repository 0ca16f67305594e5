#include "CliRunner.h"
#include "SolutionFiles.h"

#include <gtest/gtest.h>

#include <unistd.h>

// How packaging a solution treats symbolic links: in the user's own
// directory, and in the directories that dynamic folders list.
namespace {

const QByteArray userTargets = "root/Fernhollow for ARM/packages/targets/";

TEST(SolutionLinks, aUserFileLinkedToNothingIsCreatedWhereTheLinkPointsOrStopsTheRun)
{
    CliRunner created;
    TempDir &dir = created.dir();
    dir.write(userTargets + ".keep", {});
    dir.write("elsewhere/.keep", {});
    ASSERT_EQ(::symlink(dir.file("elsewhere/templates.xml").constData(),
                        dir.file(userTargets + "project_templates.xml").constData()), 0);
    dir.write("app.hzp", solutionFile("<project Name=\"p\" template_name=\"Library\"/>\n"));
    expectRuns(created, {{{"-hzr", "app.hzp"}, 0, "", ""}});
    EXPECT_EQ(dir.read("elsewhere/templates.xml"),
              "<!DOCTYPE Project_Templates_File>\n<projects>\n"
              "  <include filename=\"$(StudioDir)/targets/project_templates.xml\" no_root=\"1\" />\n</projects>\n");
    EXPECT_TRUE(dir.exists("app.hzr"));

    CliRunner stopped;
    TempDir &other = stopped.dir();
    other.write(userTargets + ".keep", {});
    ASSERT_EQ(::symlink(other.file("missing/frequencies.xml").constData(),
                        other.file(userTargets + "frequencies.xml").constData()), 0);
    other.write("app.hzp", solutionFile({}));
    expectRuns(stopped, {{{"-hzr", "app.hzp"}, 1, "", fatalLine("cannot create " + other.file(userTargets + "frequencies.xml"))}});
    EXPECT_FALSE(other.exists("app.hzr"));
}

TEST(SolutionLinks, aDynamicFolderListsFilesAndLinksToFilesButNotLinksToNothingOrToItsOwnParents)
{
    CliRunner runner;
    TempDir &dir = runner.dir();
    dir.write("src/a.c", "a");
    dir.write("src/sub/b.c", "b");
    dir.write("lib/c.c", "c");
    ASSERT_EQ(::symlink("a.c", dir.file("src/linked.c").constData()), 0);
    ASSERT_EQ(::symlink("gone.c", dir.file("src/dangling.c").constData()), 0);
    ASSERT_EQ(::symlink("..", dir.file("src/sub/up").constData()), 0);
    ASSERT_EQ(::symlink("../../lib", dir.file("src/sub/lib").constData()), 0);
    dir.write("app.hzp", solutionFile("<project Name=\"p\">\n"
                                      " <folder Name=\"f\" path=\"src\" filter=\"*.c\" recurse=\"Yes\"/>\n"
                                      "</project>\n"));
    expectRuns(runner, {{{"-hzr", "-v", "app.hzp"}, 0,
                         Banner + "adding app.hzp\nadding src/a.c\nadding src/linked.c\nadding src/sub/b.c\n"
                                  "adding src/sub/lib/c.c\n",
                         ""}});
}

} // namespace
