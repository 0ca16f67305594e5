#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "CliRunner.h"
#include "PackageFiles.h"
#include "SolutionFiles.h"

namespace {

using PackageCli = CliTest;

// Writes files of the run's directory, each with its own name as contents
// unless given, all modified at Tue Jan 11 10:15:00 2011 UTC.
void writeFiles(TempDir &dir, const QList<std::pair<QByteArray, QByteArray>> &files)
{
    for (const auto &[name, contents] : files) {
        dir.write(name, contents.isNull() ? name : contents);
        setMtime(dir.file(name), 1294740900);
    }
}

// Limits the size of the files this process, and so every program it runs
// meanwhile, writes, for the lifetime of the scope.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_original);
        const rlimit limited{bytes, m_original.rlim_max};
        m_active = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        if (m_active)
            ::setrlimit(RLIMIT_FSIZE, &m_original);
    }
    bool active() const { return m_active; }

private:
    rlimit m_original{};
    bool m_active = false;
};

} // namespace

TEST_F(PackageCli, listsEntriesFromPlainAndCompressedPackagesAndBadOnesAreFatalNamingTheFileRead)
{
    // Only the lowest byte of the read-only field counts; names are bytes.
    const QByteArray plain = plainPackage({{"./a.txt", "0123456789"}, {"src/b.c", "12345", 1, 0}, {"x", "", 0x100, 300},
                                           {"y", "last entry", 0x101, 1000000000}, {"caf\xc3\xa9\xff", "!"}});
    const QByteArray one = plainPackage({{"./one", "1"}});
    for (const auto &[name, bytes] : QList<std::pair<QByteArray, QByteArray>>{
             {"plain.pkg", plain}, {"empty.pkg", plainPackage({})},
             {"short", "abc"}, {"magic", CompressedMagic}, {"almost", CompressedMagic.chopped(1)},
             {"corrupt", compressedHead(0x1000) + "garbage"}, {"wrong-magic", "X" + plainPackage({}).mid(1)},
             {"negative", plainPackage({}).left(4) + "\xFF\xFF\xFF\xFF"}, {"cut-record", one.left(8 + 1039)},
             {"largest", one.left(4) + "\xFF\xFF\xFF\x7F" + one.mid(8)}, {"no-data", one.left(8 + 1040)}})
        dir.write(name, bytes);
    const QByteArray listing = "rw        10  Tue Jan 11 10:15:00 2011  ./a.txt\n"
                               "ro         5  Thu Jan  1 00:00:00 1970  src/b.c\n"
                               "rw         0  Thu Jan  1 00:05:00 1970  x\n"
                               "ro        10  Sun Sep  9 01:46:40 2001  y\n"
                               "rw         1  Tue Jan 11 10:15:00 2011  caf\xc3\xa9\xff\n"
                               "5 Files, 26 Bytes\n";
    expectRuns(runner, {
        {{"plain.pkg"}, 0, listing, ""},
        {{"-d", "plain.pkg"}, 0, "", ""},
        {{"empty.pkg"}, 0, "", ""},
    });
    EXPECT_EQ(expandedPackage(dir.read("plain.pkg")), plain) << "rewriting reproduces the package, compressed";

    const QByteArray cut = dir.read("plain.pkg").chopped(4); // the zlib checksum is lost
    dir.write("cut.pkg", cut);
    const QList<QByteArray> names = namesIn(dir.path());
    const auto badHeader = [](const QByteArray &file) { return fatalLine("bad header in package " + file); };
    expectRuns(runner, {
        {{"short"}, 1, "", badHeader("short")},
        {{"-t", "wrong-magic"}, 1, "", badHeader("wrong-magic")},
        {{"-t", "negative"}, 1, "", badHeader("negative")},
        {{"-t", "cut-record"}, 1, "", fatalLine("bad table of contents in package cut-record")},
        {{"-t", "largest"}, 1, "", fatalLine("bad table of contents in package largest")},
        // The listing needs no data.
        {{"-t", "no-data"}, 0, "rw         1  Tue Jan 11 10:15:00 2011  ./one\n1 Files, 1 Bytes\n", ""},
        // Only a file that starts with the whole magic is read as compressed.
        {{"magic"}, 1, "", badHeader("magic.decompressed")},
        {{"almost"}, 1, "", badHeader("almost")},
        {{"corrupt"}, 1, "", badHeader("corrupt.decompressed")},
        {{"cut.pkg"}, 1, "", badHeader("cut.pkg.decompressed")},
        {{"-c", "cut.pkg", "short"}, 1, "", badHeader("cut.pkg.decompressed")},
        {{"-x", "cut.pkg", "out"}, 1, "", badHeader("cut.pkg.decompressed")},
    });
    EXPECT_EQ(dir.read("cut.pkg"), cut);
    EXPECT_EQ(namesIn(dir.path()), names);
}

TEST_F(PackageCli, createStoresFilesAndWalksDirectoriesInNameOrderIgnoringCaseAndExtractRestoresThem)
{
    const QByteArray raw = "raw\xff\x01name";
    const QByteArray binary("\0binary\xff", 8);
    writeFiles(dir, {{"a.txt", "alpha\n"}, {"src/ro.c", "int ro;\n"}, {raw, binary}, {"old.c", "1960"}, {"late.c", "2200"}});
    for (const char *name : {"tree/b.c", "tree/A.h", "tree/.hidden", "tree/.git/config", "tree/sub/z", "tree/Sub2/y",
                             "tree/c/deep/x", "pat/main.c", "pat/Board.C", "pat/.secret.c", "pat/util.h", "pat/dir.c/inner",
                             "b1.txt", "b22.txt"})
        writeFiles(dir, {{name, "x"}});
    ::chmod(dir.file("src/ro.c").constData(), 0444);
    setMtime(dir.file("src/ro.c"), 1000000000);
    // Times the field cannot hold (before 1970, after 2106) are stored as
    // its nearest ones, not wrapped into another century.
    setMtime(dir.file("old.c"), -315619200);
    setMtime(dir.file("late.c"), 7258118400);
    // A link back up the tree is not walked again; a second way into a
    // directory off the path is.
    ASSERT_EQ(::symlink("..", dir.file("tree/c/up").constData()), 0);
    ASSERT_EQ(::symlink("c", dir.file("tree/see").constData()), 0);
    const auto adding = [](const QList<QByteArray> &names) {
        QByteArray out = Banner;
        for (const QByteArray &name : names)
            out += "adding " + name + "\n";
        return out;
    };
    expectRuns(runner, {
        {{"-c", "-v", "p.pkg", "a.txt", "src", raw, "./a.txt", "old.c", "late.c"}, 0,
         adding({"./a.txt", "src/ro.c", "./" + raw, "./a.txt", "./old.c", "./late.c"}), ""},
        {{"-x", "p.pkg", "out"}, 0, "", ""},
        {{"-c", "-v", "q.pkg", "*.none"}, 0, adding({}), ""},
        {{"-c", "-v", "q.pkg", "tree/"}, 0,
         adding({"tree/A.h", "tree/b.c", "tree/c/deep/x", "tree/see/deep/x", "tree/sub/z", "tree/Sub2/y"}), ""},
        {{"-c", "-v", "q.pkg", "pat/*.c"}, 0, adding({"pat/main.c"}), ""},
        {{"-c", "-v", "q.pkg", "pat/*.[cC]"}, 0, adding({"pat/Board.C", "pat/main.c"}), ""},
        {{"-c", "-v", "q.pkg", "pat/*"}, 0, adding({"pat/Board.C", "pat/main.c", "pat/util.h"}), ""},
        // The last command given wins: a new package, then a listing.
        {{"-x", "-r", "-c", "-v", "q.pkg", "b?.txt"}, 0, adding({"./b1.txt"}), ""},
        {{"-c", "-t", "q.pkg"}, 0, "rw         1  Tue Jan 11 10:15:00 2011  ./b1.txt\n1 Files, 1 Bytes\n", ""},
        // A third name replaces the output directory; a missing file adds nothing.
        {{"-x", "q.pkg", "unused", "later"}, 0, "", ""},
        {{"-d", "q.pkg", "not-there.txt"}, 0, "", ""},
    });
    // Dense offsets, NUL-padded names and the data in table order, compressed.
    EXPECT_EQ(expandedPackage(dir.read("p.pkg")),
              plainPackage({{"./a.txt", "alpha\n"}, {"src/ro.c", "int ro;\n", 1, 1000000000}, {"./" + raw, binary},
                            {"./a.txt", "alpha\n"}, {"./old.c", "1960", 0, 0}, {"./late.c", "2200", 0, 0xffffffff}}));
    EXPECT_EQ(modeOf(dir.file("p.pkg")), mode_t(0644)) << "a new file under umask 022";
    EXPECT_EQ(dir.read("out/a.txt"), "alpha\n");
    EXPECT_EQ(dir.read("out/" + raw), binary);
    EXPECT_EQ(mtimeOf(dir.file("out/a.txt")), 1294740900);
    EXPECT_EQ(mtimeOf(dir.file("out/src/ro.c")), 1000000000);
    EXPECT_EQ(modeOf(dir.file("out/src/ro.c")), mode_t(0400)) << "read-only and made under 0600";
    EXPECT_EQ(modeOf(dir.file("out/a.txt")), mode_t(0600));
    EXPECT_EQ(namesIn(dir.file("later")), QList<QByteArray>{"b1.txt"});
    EXPECT_FALSE(dir.exists("unused"));
    EXPECT_EQ(expandedPackage(dir.read("q.pkg")), plainPackage({{"./b1.txt", "x"}}));

    dir.write("out/a.txt", "changed");
    expectRuns(runner, {{{"-x", "p.pkg", "out"}, 0, "", ""}});
    EXPECT_EQ(dir.read("out/a.txt"), "alpha\n") << "extracting again replaces existing files, read-only ones too";
}

// The scratch names of earlier versions, "tmp" and the package's name with
// ".decompressed", are the user's own files to every command.
TEST_F(PackageCli, deleteAndReplaceKeepTheOrderWriteNothingOnAWarningAndLeaveScratchNamesAlone)
{
    dir.write("tmp", "the user's tmp");
    dir.write("p.pkg.decompressed", "the user's own file");
    writeFiles(dir, {{"a.txt", {}}, {"b.txt", {}}, {"c.txt", {}}, {"other.txt", {}}});
    expectRuns(runner, {{{"-c", "p.pkg", "a.txt", "b.txt", "c.txt"}, 0, "", ""}});
    ::chmod(dir.file("p.pkg").constData(), 0660);
    const QByteArray before = dir.read("p.pkg");
    expectRuns(runner, {{{"-d", "p.pkg", "b.txt", "other.txt"}, 0, "", warningLine("./other.txt not in archive.")}});
    EXPECT_EQ(dir.read("p.pkg"), before) << "nothing is deleted when one name is missing";

    writeFiles(dir, {{"a.txt", "a changed and longer"}});
    expectRuns(runner, {
        {{"-r", "p.pkg", "a.txt", "other.txt"}, 0, "", ""},
        {{"p.pkg"}, 0,
         "rw         5  Tue Jan 11 10:15:00 2011  ./b.txt\n"
         "rw         5  Tue Jan 11 10:15:00 2011  ./c.txt\n"
         "rw        20  Tue Jan 11 10:15:00 2011  ./a.txt\n"
         "rw         9  Tue Jan 11 10:15:00 2011  ./other.txt\n"
         "4 Files, 39 Bytes\n", ""},
        {{"-a", "p.pkg", "b.txt", "c.txt"}, 0, "", ""},
        {{"-x", "p.pkg", "out"}, 0, "", ""},
    });
    EXPECT_EQ(expandedPackage(dir.read("p.pkg")),
              plainPackage({{"./a.txt", "a changed and longer"}, {"./other.txt", "other.txt"}}));

    expectRuns(runner, {{{"-d", "p.pkg", "a.txt", "other.txt"}, 0, "", ""}});
    EXPECT_EQ(expandedPackage(dir.read("p.pkg")), plainPackage({}));
    EXPECT_EQ(dir.read("tmp"), "the user's tmp");
    EXPECT_EQ(dir.read("p.pkg.decompressed"), "the user's own file");
    EXPECT_EQ(modeOf(dir.file("p.pkg")), mode_t(0660)) << "a replaced package keeps its mode";
    EXPECT_EQ(namesIn(dir.path()), (QList<QByteArray>{"a.txt", "b.txt", "c.txt", "home", "other.txt", "out", "p.pkg",
                                                      "p.pkg.decompressed", "root", "tmp"}));
}

TEST_F(PackageCli, failuresAreReportedAndLeaveThePackageAndTheOutputSafe)
{
    writeFiles(dir, {{"a.txt", "a"}, {"ab.txt", {}}, {"file", "not a directory"}});
    // A package that may not be written is refused; the super-user may
    // write it, and it stays read-only.
    dir.write("ro.pkg", plainPackage({}));
    ::chmod(dir.file("ro.pkg").constData(), 0444);
    const bool root = ::geteuid() == 0;
    // The second entry claims more data than the package holds; compressed,
    // the entry whose data lie last does, in table order or not.
    const QByteArray cut = plainPackage({{"./first", "11"}, {"./second", "2222"}, {"./third", ""}}).chopped(2);
    const QList<PlainEntry> ab{{"./a.txt", QByteArray(5000, 'a')}, {"./b.txt", QByteArray(5000, 'b')}};
    const QByteArray inOrder = compressedPackage(plainPackage(ab).chopped(10));
    const QByteArray reversed = compressedPackage(plainPackage(ab, {1, 0}).chopped(10));
    dir.write("cut.pkg", cut);
    dir.write("in-order.pkg", inOrder);
    dir.write("reversed.pkg", reversed);

    const QByteArray endsEarly = ": the package's data ends before its end";
    // The longest name that fits, and one a byte longer.
    const QByteArray longest = QByteArray("./").repeated(509) + "a.txt";
    const QByteArray tooLong = QByteArray("./").repeated(509) + "ab.txt";
    expectRuns(runner, {
        {{"-c", "file/p.pkg", "a.txt"}, 0, "", errorLine("can't open file/p.pkg for writing: Not a directory")},
        {{"-c", "ro.pkg", "a.txt"}, 0, "", root ? "" : errorLine("can't open ro.pkg for writing: Permission denied")},
        {{"-c", "longest.pkg", longest}, 0, "", ""},
        {{"-c", "long.pkg", "a.txt", tooLong}, 0, "",
         errorLine("can't store " + tooLong + ": names of 1024 bytes or more do not fit in a package")},
        {{"-x", "cut.pkg"}, 0, "", errorLine("output directory not specified")},
        {{"-r", "cut.pkg", "a.txt"}, 0, "", errorLine("read error on cut.pkg: the data of ./second ends early")},
        {{"-x", "cut.pkg", "out"}, 0, "", errorLine("can't extract ./second" + endsEarly)},
        {{"-x", "cut.pkg", "file/out"}, 0, "", errorLine("can't open file/out/./first for writing")},
        {{"-r", "in-order.pkg", "file"}, 0, "",
         errorLine("read error on in-order.pkg.decompressed: the data of ./b.txt ends early")},
        {{"-r", "reversed.pkg", "file"}, 0, "",
         errorLine("read error on reversed.pkg.decompressed: the data of ./a.txt ends early")},
        {{"-x", "in-order.pkg", "in-order"}, 0, "", errorLine("can't extract ./b.txt" + endsEarly)},
        {{"-x", "reversed.pkg", "reversed"}, 0, "", errorLine("can't extract ./a.txt" + endsEarly)},
    });
    EXPECT_EQ(expandedPackage(dir.read("longest.pkg")), plainPackage({{longest, "a"}}));
    EXPECT_EQ(dir.read("ro.pkg") == plainPackage({}), !root);
    EXPECT_EQ(modeOf(dir.file("ro.pkg")), mode_t(0444));
    EXPECT_EQ(dir.read("cut.pkg"), cut) << "the package stays as it was";
    EXPECT_EQ(dir.read("in-order.pkg"), inOrder);
    EXPECT_EQ(dir.read("reversed.pkg"), reversed);
    EXPECT_EQ(namesIn(dir.file("out")), (QList<QByteArray>{"first", "third"})) << "no invented contents";
    EXPECT_EQ(namesIn(dir.file("in-order")), QList<QByteArray>{"a.txt"}) << "the other entry is extracted";
    EXPECT_EQ(namesIn(dir.file("reversed")), QList<QByteArray>{"b.txt"});
    EXPECT_EQ(dir.read("file"), "not a directory");
    EXPECT_EQ(namesIn(dir.path()), (QList<QByteArray>{"a.txt", "ab.txt", "cut.pkg", "file", "home", "in-order", "in-order.pkg",
                                                      "longest.pkg", "out", "reversed", "reversed.pkg", "ro.pkg", "root"}));
}

TEST_F(PackageCli, writesBeyondAFileSizeLimitFailCleanlyAndKeepWhatWasThere)
{
    const QByteArray big = noise(200000);
    dir.write("a.txt", "a");
    dir.write("noise.bin", big);
    dir.write("s.hzp", solutionFile("<file file_name=\"noise.bin\"/>", "s"));
    ASSERT_EQ(runner.run({"-c", "p.pkg", "a.txt"}).exitStatus, 0);
    ASSERT_EQ(runner.run({"-c", "big.pkg", "a.txt", "noise.bin"}).exitStatus, 0);
    ASSERT_EQ(runner.run({"-c", "s.hzr", "a.txt"}).exitStatus, 0);
    dir.write("plain.pkg", plainPackage({{"./a.txt", "a"}, {"./noise.bin", big}, {"./after", "z"}}));
    // Only a package whose data lie out of table order is expanded into a
    // nameless scratch file first.
    dir.write("layout.pkg", compressedPackage(plainPackage({{"./a.txt", "a"}, {"./noise.bin", big}}, {1, 0})));
    const QByteArray package = dir.read("p.pkg"), solutionPackage = dir.read("s.hzr");
    const QByteArray tooLarge = std::strerror(EFBIG);

    // The limit passes to the programs run; the test itself writes nothing meanwhile.
    const FileSizeLimit limit(64 * 1024);
    ASSERT_TRUE(limit.active());
    expectRuns(runner, {
        {{"-r", "p.pkg", "noise.bin"}, 0, "", errorLine("write error on p.pkg: " + tooLarge)},
        {{"-x", "plain.pkg", "out"}, 0, "", errorLine("write error on out/./noise.bin: " + tooLarge)},
        // A compressed package extracts as it inflates.
        {{"-x", "big.pkg", "out2"}, 0, "", errorLine("write error on out2/./noise.bin: " + tooLarge)},
        {{"-x", "layout.pkg", "out3"}, 1, "",
         errorLine("write error on layout.pkg.decompressed: " + tooLarge)
             + fatalLine("bad header in package layout.pkg.decompressed")},
        // A packaged solution fails like a full disk instead of killing the run.
        {{"-hzr", "s.hzp", "s.hzr"}, 0, "", errorLine("write error on s.hzr: " + tooLarge)},
    });
    EXPECT_EQ(dir.read("p.pkg"), package);
    EXPECT_EQ(dir.read("s.hzr"), solutionPackage);
    EXPECT_EQ(namesIn(dir.file("out")), QList<QByteArray>{"a.txt"}) << "the cut file goes and extraction stops";
    EXPECT_EQ(namesIn(dir.file("out2")), QList<QByteArray>{"a.txt"});
    EXPECT_EQ(namesIn(dir.path()), (QList<QByteArray>{"a.txt", "big.pkg", "home", "layout.pkg", "noise.bin", "out", "out2",
                                                      "p.pkg", "plain.pkg", "root", "s.hzp", "s.hzr"}))
        << "no scratch file stays";
}
