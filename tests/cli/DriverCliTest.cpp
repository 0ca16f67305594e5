#include <gtest/gtest.h>

#include <unistd.h>

#include "CliPackages.h"
#include "CliRunner.h"

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

} // namespace

TEST(DriverCli, withoutArgumentsPrintsTheBannerAndUsageOnStandardError)
{
    CliRunner runner;
    const CliResult result = runner.run({});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, Usage);
}

TEST(DriverCli, helpAndVersionAnswerOnStandardOutputAndEndTheRunWhereverTheyStand)
{
    CliRunner runner;
    const QByteArray program = CliRunner::program();
    struct Row {
        QList<QByteArray> arguments;
        QByteArray out;
        QByteArray err;
    } rows[] = {
        {{"--help"}, Usage, ""},
        {{"--version"}, Banner, ""},
        {{"-c", "p.pkg", "--help", "nosuchdir/x"}, Usage, ""},
        {{"-V", "--version", "-q"}, Banner + Banner, ""},
        {{"-q", "--help"}, Usage, program + ": error: unrecognised option -q\n"},
        {{"--helpful", "--versions"}, "",
         program + ": error: unrecognised option --helpful\n" + program + ": error: unrecognised option --versions\n"},
    };
    for (const Row &row : rows) {
        const CliResult result = runner.run(row.arguments);
        EXPECT_EQ(result.exitStatus, 0) << row.arguments.join(' ').constData();
        EXPECT_EQ(result.out, row.out) << row.arguments.join(' ').constData();
        EXPECT_EQ(result.err, row.err) << row.arguments.join(' ').constData();
    }
    EXPECT_FALSE(runner.dir().exists("p.pkg"));
}

TEST(DriverCli, bannerOptionsAndOptionsWithoutAPackageTouchNoFile)
{
    CliRunner runner;
    const QList<QByteArray> before = namesIn(runner.dir().path());
    struct Row {
        QList<QByteArray> arguments;
        QByteArray out;
    } rows[] = {
        {{"-v"}, Banner},
        {{"-V"}, Banner},
        {{"-V", "-v", "missing.pkg"}, Banner + Banner},
        {{"-c", "-v"}, Banner},
        {{"-t", "missing.pkg"}, ""},
    };
    for (const Row &row : rows) {
        const CliResult result = runner.run(row.arguments);
        EXPECT_EQ(result.exitStatus, 0) << row.arguments.join(' ').constData();
        EXPECT_EQ(result.out, row.out) << row.arguments.join(' ').constData();
        EXPECT_EQ(result.err, "") << row.arguments.join(' ').constData();
    }
    EXPECT_EQ(namesIn(runner.dir().path()), before);
}

TEST(DriverCli, parserErrorsAreReportedAndTheRunGoesOn)
{
    CliRunner runner;
    const QByteArray program = CliRunner::program();
    runner.dir().write("opts", "-t\n-x \"unclosed\n");
    CliResult result = runner.run({"-q", "-", "@missing", "@opts", "-v"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, Banner);
    EXPECT_EQ(result.err, program + ": error: unrecognised option -q\n" + program + ": error: unrecognised option -\n"
                              + program + ": error: can't open indirect file missing: No such file or directory\n"
                              + program + ": error: unterminated string in indirect file opts(2)\n");

    result = runner.run({"-c", "p.pkg", "nosuchdir/x", "-v"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.err, program + ": error: can't open nosuchdir\n");
    EXPECT_EQ(result.out, "") << "the run ends during parsing";
    EXPECT_FALSE(runner.dir().exists("p.pkg"));
}

TEST(DriverCli, badPackagesAreFatalAndNameTheFileRead)
{
    CliRunner runner;
    const QByteArray program = CliRunner::program();
    const QByteArray good = plainPackage({{"./a", "aaaa"}, {"./b", "b"}});
    runner.dir().write("short", "abc");
    runner.dir().write("cut-toc", good.left(8 + 1040 + 100));
    runner.dir().write("corrupt", QByteArray("\x7A\xF4\x31\xB2\x01\x00\x00\x00\x00\x00\x10\x00garbage", 19));
    struct Row {
        QList<QByteArray> arguments;
        QByteArray err;
    };
    QList<Row> rows = {
        {{"short"}, program + ": fatal: bad header in package short\n"},
        {{"-d", "short"}, program + ": fatal: bad header in package short\n"},
        {{"-t", "cut-toc"}, program + ": fatal: bad table of contents in package cut-toc\n"},
        {{"corrupt"}, program + ": fatal: bad header in package corrupt.decompressed\n"},
        {{"-x", "corrupt", "out"}, program + ": fatal: bad header in package corrupt.decompressed\n"},
        {{"-c", "corrupt"}, program + ": fatal: bad header in package corrupt.decompressed\n"},
    };
    ASSERT_EQ(runner.run({"-c", "whole.pkg", "short"}).exitStatus, 0);
    const QByteArray whole = runner.dir().read("whole.pkg");
    runner.dir().write("cut.pkg", whole.chopped(4)); // the zlib checksum is lost
    for (const Row &row : {Row{{"cut.pkg"}, program + ": fatal: bad header in package cut.pkg.decompressed\n"},
                           Row{{"-c", "cut.pkg", "short"}, program + ": fatal: bad header in package cut.pkg.decompressed\n"},
                           Row{{"-d", "cut.pkg", "short"}, program + ": fatal: bad header in package cut.pkg.decompressed\n"},
                           Row{{"-x", "cut.pkg", "out"}, program + ": fatal: bad header in package cut.pkg.decompressed\n"}})
        rows.append(row);
    for (const Row &row : rows) {
        const CliResult result = runner.run(row.arguments);
        EXPECT_EQ(result.exitStatus, 1) << row.arguments.join(' ').constData();
        EXPECT_EQ(result.err, row.err) << row.arguments.join(' ').constData();
        EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(runner.dir().read("short"), "abc");
    EXPECT_EQ(runner.dir().read("cut.pkg"), whole.chopped(4));
    EXPECT_EQ(namesIn(runner.dir().path()),
              (QList<QByteArray>{"corrupt", "cut-toc", "cut.pkg", "home", "root", "short", "whole.pkg"}));
}

TEST(DriverCli, aPackageThatExistsButCannotBeOpenedIsNeverReplaced)
{
    CliRunner runner;
    ASSERT_EQ(::symlink("loop", runner.dir().file("loop").constData()), 0);
    for (const char *command : {"-t", "-c", "-d", "-x"}) {
        const CliResult result = runner.run({command, "loop", "out"});
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_EQ(result.err, CliRunner::program() + ": error: can't open loop for reading: "
                                  "Too many levels of symbolic links\n") << command;
    }
    char target[16] = {};
    EXPECT_EQ(::readlink(runner.dir().file("loop").constData(), target, sizeof target - 1), 4);
    EXPECT_EQ(namesIn(runner.dir().path()), (QList<QByteArray>{"home", "loop", "root"}));
}
