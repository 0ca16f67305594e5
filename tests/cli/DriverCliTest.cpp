#include <gtest/gtest.h>

#include "CliRunner.h"

namespace {

using DriverCli = CliTest;

const QByteArray Usage = Banner
                         + "\n"
                           "Usage:\n"
                           "  mkpkg [options] package file...\n"
                           "  mkpkg -x package output_directory\n"
                           "  mkpkg -hzr project.hzp [output.hzr]\n"
                           "\n"
                           "Options:\n"
                           "  -c          create new package from files\n"
                           "  -d          remove files from package\n"
                           "  -r          replace file in package\n"
                           "  -t          list contents of package\n"
                           "  -v          verbose\n"
                           "  -V          show version\n"
                           "  -x          extract files from package\n";

} // namespace

TEST_F(DriverCli, bannerHelpVersionAndParserErrorsAnswerWhereverTheyStandAndTouchNoFile)
{
    // A file naming itself is read 100 deep, each level acting on its first
    // line. A chain of distinct files each naming the next twice would read
    // 2^24 files; the count of files read stops it. Each limit is reported once.
    dir.write("self", "-V\n@self\n");
    for (int i = 0; i < 24; ++i)
        dir.write("f" + QByteArray::number(i), "@f" + QByteArray::number(i + 1) + " @f" + QByteArray::number(i + 1));
    dir.write("f24", "-t");
    const QList<QByteArray> before = namesIn(dir.path());
    expectRuns(runner, {
        {{}, 0, "", Usage},
        {{"--help"}, 0, Usage, ""},
        {{"-c", "p.pkg", "--help", "nosuchdir/x"}, 0, Usage, ""},
        {{"-V", "--version", "-q"}, 0, Banner + Banner, ""},
        {{"-q", "--help"}, 0, Usage, errorLine("unrecognised option -q")},
        {{"--helpful", "--versions"}, 0, "",
         errorLine("unrecognised option --helpful") + errorLine("unrecognised option --versions")},
        {{"-V", "-v", "missing.pkg"}, 0, Banner + Banner, ""},
        {{"-c", "-v"}, 0, Banner, ""},
        {{"-t", "missing.pkg"}, 0, "", ""},
        {{"-q", "-", "@missing", "-v"}, 0, Banner,
         errorLine("unrecognised option -q") + errorLine("unrecognised option -")
             + errorLine("can't open indirect file missing: No such file or directory")},
        // The run ends while the arguments are parsed.
        {{"-c", "p.pkg", "nosuchdir/x", "-v"}, 0, "", errorLine("can't open nosuchdir")},
        {{"@self"}, 0, Banner.repeated(100), errorLine("too many indirect files")},
        {{"@f0", "absent.pkg"}, 0, "", errorLine("too many indirect files")},
    });
    EXPECT_EQ(namesIn(dir.path()), before);
}
