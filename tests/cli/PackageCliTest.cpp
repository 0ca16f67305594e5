#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "CliPackages.h"
#include "CliRunner.h"
#include "FileSizeLimit.h"

namespace {

// A runner whose listings show times in UTC.
struct UtcRunner : CliRunner {
    UtcRunner() { setEnv("TZ", "UTC"); }
    void touch(const QByteArray &name, qint64 time) const
    {
        utimbuf times{time_t(time), time_t(time)};
        ::utime(const_cast<UtcRunner *>(this)->dir().file(name).constData(), &times);
    }
};

} // namespace

TEST(PackageCli, listsEntriesInTheirLayoutFromPlainAndCompressedPackages)
{
    UtcRunner runner;
    const QByteArray plain = plainPackage({{"./a.txt", "0123456789"}, {"src/b.c", "12345", 1, 0}});
    runner.dir().write("plain.pkg", plain);
    const QByteArray expected = "rw        10  Tue Jan 11 10:15:00 2011  ./a.txt\n"
                                "ro         5  Thu Jan  1 00:00:00 1970  src/b.c\n"
                                "2 Files, 15 Bytes\n";
    CliResult result = runner.run({"plain.pkg"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, expected);
    EXPECT_EQ(result.err, "");

    ASSERT_EQ(runner.run({"-d", "plain.pkg"}).exitStatus, 0) << "rewriting stores the package compressed";
    ASSERT_EQ(expandedPackage(runner.dir().read("plain.pkg")), plain);
    EXPECT_EQ(runner.run({"-t", "plain.pkg"}).out, expected);

    runner.dir().write("empty.pkg", plainPackage({}));
    result = runner.run({"empty.pkg"});
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.exitStatus, 0);
}

TEST(PackageCli, createStoresFilesWithTheirAttributesAndExtractRestoresThem)
{
    UtcRunner runner;
    TempDir &dir = runner.dir();
    const QByteArray utf8 = "caf\xc3\xa9 \xe2\x82\xac.txt";
    const QByteArray raw = "raw\xff\x01name";
    dir.write("a.txt", "alpha\n");
    dir.write("src/ro.c", "int ro;\n");
    dir.write(utf8, "unicode name\n");
    dir.write(raw, QByteArray("\0binary\xff", 8));
    ::chmod(dir.file("src/ro.c").constData(), 0444);
    runner.touch("a.txt", 1294740900);
    runner.touch("src/ro.c", 1000000000);

    CliResult result = runner.run({"-c", "-v", "p.pkg", "a.txt", "src", utf8, raw, "a.txt"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.err, "");
    const QByteArray banner = "Fernhollow for ARM Package Maintainer - Release 2.0.9.2011011101.9458\n";
    EXPECT_EQ(result.out, banner + "adding ./a.txt\nadding src/ro.c\nadding ./" + utf8 + "\nadding ./" + raw
                              + "\nadding ./a.txt\n");
    EXPECT_FALSE(expandedPackage(dir.read("p.pkg")).isEmpty()) << "the package is stored compressed";
    EXPECT_EQ(modeOf(dir.file("p.pkg")), mode_t(0644)) << "a new file under umask 022";

    result = runner.run({"p.pkg"});
    EXPECT_TRUE(result.out.startsWith("rw         6  Tue Jan 11 10:15:00 2011  ./a.txt\n"
                                      "ro         8  Sun Sep  9 01:46:40 2001  src/ro.c\n"))
        << result.out.constData();
    EXPECT_TRUE(result.out.endsWith("5 Files, 41 Bytes\n")) << result.out.constData();

    result = runner.run({"-x", "p.pkg", "out"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(dir.read("out/a.txt"), "alpha\n");
    EXPECT_EQ(dir.read("out/" + utf8), "unicode name\n");
    EXPECT_EQ(dir.read("out/" + raw), QByteArray("\0binary\xff", 8));
    EXPECT_EQ(mtimeOf(dir.file("out/a.txt")), 1294740900);
    EXPECT_EQ(mtimeOf(dir.file("out/src/ro.c")), 1000000000);
    EXPECT_EQ(modeOf(dir.file("out/src/ro.c")), mode_t(0400)) << "read-only and made under 0600";
    EXPECT_EQ(modeOf(dir.file("out/a.txt")), mode_t(0600));

    dir.write("out/a.txt", "changed");
    ASSERT_EQ(runner.run({"-x", "p.pkg", "out"}).exitStatus, 0);
    EXPECT_EQ(dir.read("out/a.txt"), "alpha\n") << "extracting again replaces existing files, read-only ones too";
}

TEST(PackageCli, deleteAndReplaceKeepTheOrderAndWriteNothingOnAWarning)
{
    UtcRunner runner;
    TempDir &dir = runner.dir();
    const QByteArray program = CliRunner::program();
    for (const char *name : {"a.txt", "b.txt", "c.txt", "other.txt"})
        dir.write(name, name);
    ASSERT_EQ(runner.run({"-c", "p.pkg", "a.txt", "b.txt", "c.txt"}).exitStatus, 0);
    const QByteArray before = dir.read("p.pkg");

    CliResult result = runner.run({"-d", "p.pkg", "b.txt", "other.txt"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.err, program + ": warning: ./other.txt not in archive.\n");
    EXPECT_EQ(dir.read("p.pkg"), before) << "nothing is deleted when one name is missing";

    dir.write("a.txt", "a changed and longer");
    runner.touch("a.txt", 1294740900);
    result = runner.run({"-r", "p.pkg", "a.txt", "other.txt"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.err, "");
    result = runner.run({"p.pkg"});
    EXPECT_EQ(result.out.split('\n').size(), 6);
    const QList<QByteArray> lines = result.out.split('\n');
    EXPECT_TRUE(lines[0].endsWith("  ./b.txt"));
    EXPECT_TRUE(lines[1].endsWith("  ./c.txt"));
    EXPECT_EQ(lines[2], "rw        20  Tue Jan 11 10:15:00 2011  ./a.txt");
    EXPECT_TRUE(lines[3].endsWith("  ./other.txt"));

    ASSERT_EQ(runner.run({"-a", "p.pkg", "b.txt", "c.txt"}).exitStatus, 0);
    EXPECT_EQ(runner.run({"p.pkg"}).out.split('\n').size(), 4) << "-a deletes as -d does";
    ASSERT_EQ(runner.run({"-x", "p.pkg", "out"}).exitStatus, 0);
    EXPECT_EQ(namesIn(dir.file("out")), (QList<QByteArray>{"a.txt", "other.txt"}));
    EXPECT_EQ(dir.read("out/a.txt"), "a changed and longer");
}

TEST(PackageCli, scratchNamesOfUsersSurviveEveryCommand)
{
    UtcRunner runner;
    TempDir &dir = runner.dir();
    dir.write("tmp", "the user's tmp");
    dir.write("p.pkg.decompressed", "the user's own file");
    dir.write("a.txt", "a");
    for (const QList<QByteArray> &arguments : QList<QList<QByteArray>>{{"-c", "p.pkg", "a.txt"}, {"p.pkg"},
                                                                       {"-r", "p.pkg", "a.txt"}, {"-x", "p.pkg", "out"},
                                                                       {"-d", "p.pkg", "a.txt"}}) {
        const CliResult result = runner.run(arguments);
        EXPECT_EQ(result.exitStatus, 0) << arguments.join(' ').constData();
        EXPECT_EQ(result.err, "") << arguments.join(' ').constData();
        EXPECT_EQ(dir.read("tmp"), "the user's tmp");
        EXPECT_EQ(dir.read("p.pkg.decompressed"), "the user's own file");
    }
    EXPECT_EQ(namesIn(dir.path()),
              (QList<QByteArray>{"a.txt", "home", "out", "p.pkg", "p.pkg.decompressed", "root", "tmp"}));
    EXPECT_EQ(expandedPackage(dir.read("p.pkg")), plainPackage({}));
}

TEST(PackageCli, failuresAreReportedAndLeaveThePackageAndTheOutputSafe)
{
    UtcRunner runner;
    TempDir &dir = runner.dir();
    const QByteArray program = CliRunner::program();
    dir.write("a.txt", "a");
    dir.write("file", "not a directory");
    // The second entry claims more data than the package holds.
    dir.write("cut.pkg", plainPackage({{"./first", "11"}, {"./second", "2222"}, {"./third", ""}}).chopped(2));

    CliResult result = runner.run({"-c", "file/p.pkg", "a.txt"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.err, program + ": error: can't open file/p.pkg for writing: Not a directory\n");

    const QByteArray longName = QByteArray(250, 'd') + '/' + QByteArray(250, 'e') + '/' + QByteArray(250, 'f') + '/'
        + QByteArray(250, 'g') + '/' + QByteArray(250, 'h') + "/long.txt";
    dir.write(longName, "x");
    result = runner.run({"-c", "long.pkg", "a.txt", longName});
    EXPECT_EQ(result.err, program + ": error: can't store " + longName
                              + ": names of 1024 bytes or more do not fit in a package\n");
    EXPECT_FALSE(dir.exists("long.pkg"));
    ASSERT_EQ(::system(("rm -rf " + dir.file(longName.left(250))).constData()), 0);

    result = runner.run({"-x", "cut.pkg"});
    EXPECT_EQ(result.err, program + ": error: output directory not specified\n");

    result = runner.run({"-d", "cut.pkg", "a.txt"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.err, program + ": warning: ./a.txt not in archive.\n");
    result = runner.run({"-r", "cut.pkg", "a.txt"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_TRUE(result.err.startsWith(program + ": error: read error on cut.pkg: ")) << result.err.constData();
    EXPECT_FALSE(expandedPackage(dir.read("cut.pkg")).size()) << "the package stays plain, as it was";

    result = runner.run({"-x", "cut.pkg", "out"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.err, program + ": error: can't extract ./second: the package's data ends before its end\n");
    EXPECT_EQ(namesIn(dir.file("out")), (QList<QByteArray>{"first", "third"})) << "no invented contents";

    result = runner.run({"-x", "cut.pkg", "file/out"});
    EXPECT_EQ(result.err, program + ": error: can't open file/out/./first for writing\n");
    EXPECT_EQ(dir.read("file"), "not a directory");
    EXPECT_EQ(namesIn(dir.path()), (QList<QByteArray>{"a.txt", "cut.pkg", "file", "home", "out", "root"}));
}

TEST(PackageCli, aPackageThatIsADirectoryOrAFifoHasABadHeaderAndIsNeverWaitedFor)
{
    CliRunner runner;
    TempDir &dir = runner.dir();
    dir.write("dir/inside", "x");
    dir.write("a.txt", "a");
    ASSERT_EQ(::mkfifo(dir.file("fifo").constData(), 0644), 0);
    // Should a run wait for a writer to the FIFO, one comes after a while and
    // lets it go on, so the test ends and tells.
    std::atomic<bool> running = true, hadToWrite = false;
    std::thread watchdog([&] {
        const auto start = std::chrono::steady_clock::now();
        while (running) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (std::chrono::steady_clock::now() - start > std::chrono::seconds(20)) {
                hadToWrite = true;
                const int fd = ::open(dir.file("fifo").constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0)
                    ::close(fd);
            }
        }
    });
    for (const QByteArray name : {"dir", "fifo"}) {
        for (const QList<QByteArray> &arguments : QList<QList<QByteArray>>{
                 {"-t", name}, {"-x", name, "out"}, {"-d", name, "a.txt"}, {"-c", name, "a.txt"}}) {
            const CliResult result = runner.run(arguments);
            EXPECT_EQ(result.exitStatus, 1) << arguments.join(' ').constData();
            EXPECT_EQ(result.err, CliRunner::program() + ": fatal: bad header in package " + name + "\n")
                << arguments.join(' ').constData();
        }
    }
    running = false;
    watchdog.join();
    EXPECT_FALSE(hadToWrite) << "a run waited for the FIFO";
    struct stat info;
    ASSERT_EQ(::lstat(dir.file("fifo").constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(namesIn(dir.path()), (QList<QByteArray>{"a.txt", "dir", "fifo", "home", "root"}));
}

TEST(PackageCli, writesBeyondAFileSizeLimitFailCleanlyAndKeepThePackage)
{
    CliRunner runner;
    TempDir &dir = runner.dir();
    const QByteArray program = CliRunner::program();
    const QByteArray noise = incompressibleBytes(200000);
    dir.write("a.txt", "a");
    dir.write("noise.bin", noise);
    ASSERT_EQ(runner.run({"-c", "p.pkg", "a.txt"}).exitStatus, 0);
    const QByteArray before = dir.read("p.pkg");
    dir.write("plain.pkg", plainPackage({{"./a.txt", "a"}, {"./noise.bin", noise}, {"./after", "z"}}));
    ASSERT_EQ(runner.run({"-c", "big.pkg", "a.txt", "noise.bin"}).exitStatus, 0);

    // The limit passes to the program run; the test itself writes nothing meanwhile.
    CliResult replace, extract, expand;
    {
        const FileSizeLimit limit(64 * 1024);
        ASSERT_TRUE(limit.active());
        replace = runner.run({"-r", "p.pkg", "noise.bin"});
        extract = runner.run({"-x", "plain.pkg", "out"});
        expand = runner.run({"-x", "big.pkg", "out2"});
    }

    const QByteArray tooLarge = std::strerror(EFBIG);
    EXPECT_EQ(replace.exitStatus, 0);
    EXPECT_EQ(replace.err, program + ": error: write error on p.pkg: " + tooLarge + "\n");
    EXPECT_EQ(dir.read("p.pkg"), before);
    EXPECT_EQ(extract.exitStatus, 0);
    EXPECT_EQ(extract.err, program + ": error: write error on out/./noise.bin: " + tooLarge + "\n");
    EXPECT_EQ(namesIn(dir.file("out")), QList<QByteArray>{"a.txt"}) << "the cut file goes and extraction stops";
    EXPECT_EQ(expand.exitStatus, 0) << "a compressed package extracts as it inflates";
    EXPECT_EQ(expand.err, program + ": error: write error on out2/./noise.bin: " + tooLarge + "\n");
    EXPECT_EQ(namesIn(dir.file("out2")), QList<QByteArray>{"a.txt"});
    EXPECT_EQ(namesIn(dir.path()), (QList<QByteArray>{"a.txt", "big.pkg", "home", "noise.bin", "out", "out2",
                                                      "p.pkg", "plain.pkg", "root"}))
        << "no scratch file stays";
}
