#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>

#include "CliRunner.h"
#include "PackageFiles.h"
#include "SolutionFiles.h"

// Packages from elsewhere and runs that are stopped half way: extraction
// stays below its output directory unless -P is given, a huge table of
// contents costs little memory, and a signal during a write leaves nothing
// behind.

namespace {

using HostilePackage = CliTest;

// Whether a name in the directory starts with the prefix.
std::function<bool()> appears(const QByteArray &directory, const QByteArray &prefix)
{
    return [=] { return ('/' + namesIn(directory).join('/')).contains('/' + prefix); };
}

} // namespace

TEST_F(HostilePackage, extractionStaysBelowTheOutputDirectoryUnlessDashPWritesNamesWhereTheyLead)
{
    // "out" holds the links "link" to the sibling directory "elsewhere" and
    // "flink" to the sibling file "victim"; "named" leads to "out".
    dir.write("victim", "the user's file");
    dir.write("elsewhere/.keep", {});
    dir.write("out/.keep", {});
    ASSERT_EQ(::symlink("../elsewhere", dir.file("out/link").constData()), 0);
    ASSERT_EQ(::symlink("../victim", dir.file("out/flink").constData()), 0);
    ASSERT_EQ(::symlink("out", dir.file("named").constData()), 0);
    const QByteArray outside = "the name leads outside the output directory (-P allows that)";
    const struct {
        QByteArray name;
        QByteArray landsAt; // below out/, empty when refused
        QByteArray refusal; // the reason given, when refused
    } rows[] = {
        {"./plain", "plain", {}},
        {"/etc/absolute", "etc/absolute", {}},
        {"a//./c//d", "a/c/d", {}},
        {"./a/../../up2", {}, outside},
        {"a/b/../../c", "c", {}},
        {"link/x", {}, "named/link is a symbolic link, not followed (-P follows links)"},
        {"./link/../y", {}, "named/./link is a symbolic link, not followed (-P follows links)"},
        {"flink", "flink", {}},
    };
    QList<PlainEntry> entries;
    QByteArray refusals;
    for (const auto &row : rows) {
        entries.append({row.name, "data of " + row.name});
        if (!row.refusal.isEmpty())
            refusals += errorLine("can't extract " + row.name + ": " + row.refusal);
    }
    // A file where a directory is needed stops the extraction, as any file
    // that cannot be made does.
    entries += {{"plain/x", "x"}, {"after", "never"}};
    dir.write("p.pkg", plainPackage(entries));
    expectRuns(runner, {{{"-x", "p.pkg", "named"}, 0, "", refusals + errorLine("can't open named/plain/x for writing")}});
    for (const auto &row : rows) {
        if (!row.landsAt.isEmpty()) {
            EXPECT_EQ(dir.read("out/" + row.landsAt), "data of " + row.name) << row.name.constData();
        }
    }
    EXPECT_EQ(dir.read("victim"), "the user's file") << "a link where a file goes is replaced, not written through";
    EXPECT_FALSE(isA(S_IFLNK, dir.file("out/flink")));
    EXPECT_TRUE(isA(S_IFLNK, dir.file("out/link")));
    EXPECT_EQ(namesIn(dir.file("elsewhere")), QList<QByteArray>{".keep"});
    EXPECT_EQ(namesIn(dir.path()), (QList<QByteArray>{"elsewhere", "home", "named", "out", "p.pkg", "root", "victim"}));
    EXPECT_EQ(namesIn(dir.file("out")), (QList<QByteArray>{".keep", "a", "c", "etc", "flink", "link", "plain"}));

    // -P, even after the package, writes names where they lead and follows links.
    dir.write("p.pkg", plainPackage({{"../up", "up"}, {"link/x", "x"}, {"flink", "f"}, {"link/../z", "z"}}));
    ASSERT_EQ(::unlink(dir.file("out/flink").constData()), 0);
    ASSERT_EQ(::symlink("../victim", dir.file("out/flink").constData()), 0);
    expectRuns(runner, {{{"-x", "p.pkg", "-P", "out"}, 0, "", ""}});
    EXPECT_EQ(dir.read("up"), "up");
    EXPECT_EQ(dir.read("elsewhere/x"), "x") << "the link is followed";
    EXPECT_EQ(dir.read("z"), "z") << "\"..\" after a link goes where the link leads";
    EXPECT_EQ(dir.read("out/flink"), "f");
    EXPECT_EQ(dir.read("victim"), "the user's file") << "an existing file at the path is removed first";
}

TEST_F(HostilePackage, aTableOfContentsCostsItsNamesNotItsNameFields)
{
    // 200,000 entries named ./a: a few megabytes compressed, 208 MB of records.
    constexpr quint32 Entries = 200000;
    const QByteArray record = plainPackage({{"./a", {}}}).mid(8); // its offset does not matter without data
    dir.write("bomb.pkg", repeatingPackage(plainPackage({}).left(4) + littleEndian(Entries), record, Entries,
                                                    8 + 1040 * Entries));
    dir.write("empty.pkg", plainPackage({}));
    const CliResult empty = runner.run({"-t", "empty.pkg"});
    const CliResult bomb = runner.run({"-t", "bomb.pkg"});
    ASSERT_EQ(bomb.exitStatus, 0) << bomb.err.constData();
    EXPECT_TRUE(bomb.out.endsWith("\n200000 Files, 0 Bytes\n"));
    const long perEntry = (bomb.peakResidentKiB - empty.peakResidentKiB) * 1024 / Entries;
#if defined(__SANITIZE_ADDRESS__)
    // Every allocation carries the sanitizer's red zones (about 310 bytes
    // per entry); a record's full name field would still exceed this.
    EXPECT_LT(perEntry, 512) << "bytes per entry";
#else
    EXPECT_LT(perEntry, 100) << "bytes per entry";
    EXPECT_LT(bomb.peakResidentKiB, 48 * 1024);
#endif
}

TEST_F(HostilePackage, aSignalDuringAWriteLeavesNothingBehindAndEndsTheRun)
{
    // Incompressible data takes the longest to write.
    const QByteArray big = noise(48 << 20, 7);
    dir.write("big.bin", big);
    dir.write("a.txt", "a");
    dir.write("sol/app.hzp", solutionFile("<project Name=\"p\"><file file_name=\"../big.bin\"/></project>", "app"));
    ASSERT_EQ(runner.run({"-c", "p.pkg", "a.txt"}).exitStatus, 0);
    ASSERT_EQ(runner.run({"-c", "bigp.pkg", "big.bin", "a.txt"}).exitStatus, 0);
    ASSERT_EQ(runner.run({"-hzr", "sol/app.hzp", "app.hzr"}).exitStatus, 0);
    const struct {
        QList<QByteArray> arguments;
        QByteArray package; // the file replaced, which stays as it was
        int signal;
    } rows[] = {
        {{"-c", "p.pkg", "big.bin"}, "p.pkg", SIGINT},
        {{"-d", "bigp.pkg", "a.txt"}, "bigp.pkg", SIGHUP},
        {{"-hzr", "sol/app.hzp", "app.hzr"}, "app.hzr", SIGTERM},
    };
    const QList<QByteArray> names = namesIn(dir.path());
    for (const auto &row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        const QByteArray before = dir.read(row.package);
        // The signal comes while the temporary file is written.
        const CliResult result = runner.runInterrupted(row.arguments, appears(dir.path(), "." + row.package + "."), row.signal);
        EXPECT_EQ(result.signal, row.signal);
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(dir.read(row.package), before);
        EXPECT_EQ(namesIn(dir.path()), names) << "the temporary file stays";
    }

    // Extraction: each entry's file is complete, or gone.
    QList<PlainEntry> entries;
    for (int i = 0; i < 12; ++i)
        entries.append({"part" + QByteArray::number(i), big.mid(i << 22, 4 << 20)});
    dir.write("parts.pkg", plainPackage(entries));
    int interrupted = 0;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        const CliResult result = runner.runInterrupted({"-x", "parts.pkg", "out"}, appears(dir.file("out"), "part"), signal);
        if (result.signal == 0)
            continue; // the run was done before the signal came
        ++interrupted;
        EXPECT_EQ(result.signal, signal);
        const QList<QByteArray> extracted = namesIn(dir.file("out"));
        for (const PlainEntry &entry : entries) {
            if (extracted.contains(entry.name)) {
                EXPECT_EQ(dir.read("out/" + entry.name), entry.data) << entry.name.constData() << " is cut short";
            }
        }
        ASSERT_EQ(::system(("rm -rf " + dir.file("out")).constData()), 0);
    }
    EXPECT_GT(interrupted, 0) << "no extraction was stopped while it ran";
}
