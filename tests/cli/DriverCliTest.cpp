#include <gtest/gtest.h>

#include <unistd.h>

#include "CliRunner.h"
#include "PackageFiles.h"

namespace {

const QByteArray Banner = "Fernhollow for ARM Package Maintainer - Release 2.0.9.2011011101.9458\n";
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

QByteArray error(const QByteArray &text)
{
    return programMessage("error", text);
}

QByteArray fatal(const QByteArray &text)
{
    return programMessage("fatal", text);
}

} // namespace

TEST(DriverCli, bannerHelpVersionAndParserErrorsAnswerWhereverTheyStandAndTouchNoFile)
{
    CliRunner runner;
    runner.dir().write("opts", "-t\n-x \"unclosed\n");
    const QList<QByteArray> before = namesIn(runner.dir().path());
    expectRuns(runner, {
        {{}, 0, "", Usage},
        {{"--help"}, 0, Usage, ""},
        {{"--version"}, 0, Banner, ""},
        {{"-c", "p.pkg", "--help", "nosuchdir/x"}, 0, Usage, ""},
        {{"-V", "--version", "-q"}, 0, Banner + Banner, ""},
        {{"-q", "--help"}, 0, Usage, error("unrecognised option -q")},
        {{"--helpful", "--versions"}, 0, "", error("unrecognised option --helpful") + error("unrecognised option --versions")},
        {{"-v"}, 0, Banner, ""},
        {{"-V"}, 0, Banner, ""},
        {{"-V", "-v", "missing.pkg"}, 0, Banner + Banner, ""},
        {{"-c", "-v"}, 0, Banner, ""},
        {{"-t", "missing.pkg"}, 0, "", ""},
        {{"-q", "-", "@missing", "@opts", "-v"}, 0, Banner,
         error("unrecognised option -q") + error("unrecognised option -")
             + error("can't open indirect file missing: No such file or directory")
             + error("unterminated string in indirect file opts(2)")},
        // The run ends while the arguments are parsed.
        {{"-c", "p.pkg", "nosuchdir/x", "-v"}, 0, "", error("can't open nosuchdir")},
    });
    EXPECT_EQ(namesIn(runner.dir().path()), before);
}

TEST(DriverCli, badPackagesAreFatalAndNameTheFileRead)
{
    CliRunner runner;
    TempDir &dir = runner.dir();
    dir.write("short", "abc");
    dir.write("cut-toc", plainPackage({{"./a", "aaaa"}, {"./b", "b"}}).left(8 + 1040 + 100));
    dir.write("corrupt", compressedHead(0x1000) + "garbage");
    dir.write("magic", CompressedMagic);
    dir.write("almost", CompressedMagic.chopped(1));
    dir.write("empty", "");
    ASSERT_EQ(runner.run({"-c", "whole.pkg", "short"}).exitStatus, 0);
    const QByteArray cut = dir.read("whole.pkg").chopped(4); // the zlib checksum is lost
    dir.write("cut.pkg", cut);
    const auto badHeader = [](const QByteArray &file) { return fatal("bad header in package " + file); };
    expectRuns(runner, {
        {{"short"}, 1, "", badHeader("short")},
        {{"-d", "short"}, 1, "", badHeader("short")},
        {{"-t", "cut-toc"}, 1, "", fatal("bad table of contents in package cut-toc")},
        // Only a file that starts with the whole magic is read as compressed.
        {{"magic"}, 1, "", badHeader("magic.decompressed")},
        {{"almost"}, 1, "", badHeader("almost")},
        {{"empty"}, 1, "", badHeader("empty")},
        {{"corrupt"}, 1, "", badHeader("corrupt.decompressed")},
        {{"-x", "corrupt", "out"}, 1, "", badHeader("corrupt.decompressed")},
        {{"-c", "corrupt"}, 1, "", badHeader("corrupt.decompressed")},
        {{"cut.pkg"}, 1, "", badHeader("cut.pkg.decompressed")},
        {{"-c", "cut.pkg", "short"}, 1, "", badHeader("cut.pkg.decompressed")},
        {{"-d", "cut.pkg", "short"}, 1, "", badHeader("cut.pkg.decompressed")},
        {{"-x", "cut.pkg", "out"}, 1, "", badHeader("cut.pkg.decompressed")},
    });
    EXPECT_EQ(dir.read("short"), "abc");
    EXPECT_EQ(dir.read("cut.pkg"), cut);
    EXPECT_EQ(namesIn(dir.path()), (QList<QByteArray>{"almost", "corrupt", "cut-toc", "cut.pkg", "empty", "home", "magic", "root", "short",
                                                      "whole.pkg"}));
}

TEST(DriverCli, aPackageThatExistsButCannotBeOpenedIsNeverReplaced)
{
    CliRunner runner;
    ASSERT_EQ(::symlink("loop", runner.dir().file("loop").constData()), 0);
    const QByteArray refused = error("can't open loop for reading: Too many levels of symbolic links");
    expectRuns(runner, {
        {{"-t", "loop", "out"}, 0, "", refused},
        {{"-c", "loop", "out"}, 0, "", refused},
        {{"-d", "loop", "out"}, 0, "", refused},
        {{"-x", "loop", "out"}, 0, "", refused},
    });
    char target[16] = {};
    EXPECT_EQ(::readlink(runner.dir().file("loop").constData(), target, sizeof target - 1), 4);
    EXPECT_EQ(namesIn(runner.dir().path()), (QList<QByteArray>{"home", "loop", "root"}));
}
