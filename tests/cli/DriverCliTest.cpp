#include <gtest/gtest.h>

#include "CliRunner.h"
#include "PackageFiles.h"

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
    dir.write("opts", "-t\n-x \"unclosed\n");
    // One file naming itself twice, and a chain of distinct files each
    // naming the next twice: both would read files 2^depth times, and stop
    // at the limit, reported once.
    dir.write("in", "@in @in");
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
        {{"-q", "-", "@missing", "@opts", "-v"}, 0, Banner,
         errorLine("unrecognised option -q") + errorLine("unrecognised option -")
             + errorLine("can't open indirect file missing: No such file or directory")
             + errorLine("unterminated string in indirect file opts(2)")},
        // The run ends while the arguments are parsed.
        {{"-c", "p.pkg", "nosuchdir/x", "-v"}, 0, "", errorLine("can't open nosuchdir")},
        {{"@in", "absent.pkg"}, 0, "", errorLine("too many indirect files")},
        {{"@f0", "absent.pkg"}, 0, "", errorLine("too many indirect files")},
    });
    EXPECT_EQ(namesIn(dir.path()), before);
}

TEST_F(DriverCli, badPackagesAreFatalAndNameTheFileRead)
{
    const QByteArray one = plainPackage({{"./one", "1"}});
    for (const auto &[name, bytes] : QList<std::pair<QByteArray, QByteArray>>{
             {"short", "abc"}, {"empty", ""}, {"magic", CompressedMagic}, {"almost", CompressedMagic.chopped(1)},
             {"corrupt", compressedHead(0x1000) + "garbage"}, {"wrong-magic", "X" + plainPackage({}).mid(1)},
             {"negative", plainPackage({}).left(4) + "\xFF\xFF\xFF\xFF"}, {"cut-record", one.left(8 + 1039)},
             {"cut-toc", plainPackage({{"./a", "aaaa"}, {"./b", "b"}}).left(8 + 1040 + 100)},
             {"largest", one.left(4) + "\xFF\xFF\xFF\x7F" + one.mid(8)}, {"no-data", one.left(8 + 1040)}})
        dir.write(name, bytes);
    ASSERT_EQ(runner.run({"-c", "whole.pkg", "short"}).exitStatus, 0);
    const QByteArray cut = dir.read("whole.pkg").chopped(4); // the zlib checksum is lost
    dir.write("cut.pkg", cut);
    const auto badHeader = [](const QByteArray &file) { return fatalLine("bad header in package " + file); };
    expectRuns(runner, {
        {{"short"}, 1, "", badHeader("short")},
        {{"-d", "short"}, 1, "", badHeader("short")},
        {{"-t", "wrong-magic"}, 1, "", badHeader("wrong-magic")},
        {{"-t", "negative"}, 1, "", badHeader("negative")},
        {{"-t", "cut-record"}, 1, "", fatalLine("bad table of contents in package cut-record")},
        {{"-t", "cut-toc"}, 1, "", fatalLine("bad table of contents in package cut-toc")},
        {{"-t", "largest"}, 1, "", fatalLine("bad table of contents in package largest")},
        // The listing needs no data.
        {{"-t", "no-data"}, 0, "rw         1  Tue Jan 11 10:15:00 2011  ./one\n1 Files, 1 Bytes\n", ""},
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
    EXPECT_EQ(namesIn(dir.path()), (QList<QByteArray>{"almost", "corrupt", "cut-record", "cut-toc", "cut.pkg", "empty", "home",
                                                      "largest", "magic", "negative", "no-data", "root", "short", "whole.pkg",
                                                      "wrong-magic"}));
}
