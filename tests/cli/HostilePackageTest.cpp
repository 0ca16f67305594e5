#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <zlib.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>

#include "CliPackages.h"
#include "CliRunner.h"

// Packages from elsewhere and runs that are stopped half way: extraction
// stays below its output directory unless -P is given, a huge table of
// contents costs little memory, and a signal during a write leaves nothing
// behind.

namespace {

bool isSymbolicLink(const QByteArray &path)
{
    struct stat info;
    return ::lstat(path.constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

QByteArray noise(qsizetype size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes) {
        seed = seed * 1103515245u + 12345u;
        byte = char(seed >> 24);
    }
    return bytes;
}

// The compressed form of a package whose count entries all carry the same
// name and no data, deflated record by record so that the plain package is
// never held whole.
QByteArray compressedNameBomb(const QByteArray &name, quint32 count)
{
    QByteArray plainHeader = plainPackage({}).left(4);
    appendWord(plainHeader, count);
    const QByteArray record = plainPackage({{name, {}}}).mid(8); // its offset does not matter without data
    const quint64 plainLength = 8 + quint64(record.size()) * count;
    QByteArray out("\x7A\xF4\x31\xB2\x01\x00\x00\x00", 8);
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((plainLength >> shift) & 0xff));
    z_stream zlib{};
    deflateInit(&zlib, Z_DEFAULT_COMPRESSION);
    char buffer[65536];
    const auto feed = [&](const QByteArray &bytes, int flush) {
        zlib.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.constData()));
        zlib.avail_in = uInt(bytes.size());
        do {
            zlib.next_out = reinterpret_cast<Bytef *>(buffer);
            zlib.avail_out = sizeof buffer;
            deflate(&zlib, flush);
            out.append(buffer, qsizetype(sizeof buffer - zlib.avail_out));
        } while (zlib.avail_out == 0);
    };
    feed(plainHeader, Z_NO_FLUSH);
    for (quint32 i = 0; i < count; ++i)
        feed(record, Z_NO_FLUSH);
    feed({}, Z_FINISH);
    deflateEnd(&zlib);
    return out;
}

} // namespace

TEST(HostilePackage, extractionStaysBelowTheOutputDirectoryAndRefusesWhatWouldLeaveIt)
{
    CliRunner runner;
    TempDir &dir = runner.dir();
    const QByteArray program = CliRunner::program();
    dir.write("victim", "the user's file");
    dir.write("elsewhere/.keep", {});
    dir.write("out/.keep", {});
    ASSERT_EQ(::symlink("../elsewhere", dir.file("out/link").constData()), 0);
    ASSERT_EQ(::symlink("../victim", dir.file("out/flink").constData()), 0);
    ASSERT_EQ(::symlink("out", dir.file("named").constData()), 0);

    struct Row {
        QByteArray name;
        QByteArray landsAt; // below out/, empty when refused
        QByteArray refusal; // the reason given, when refused
    } rows[] = {
        {"./plain", "plain", {}},
        {"../up", {}, "the name leads outside the output directory (-P allows that)"},
        {"a/../b", "b", {}},
        {"/etc/absolute", "etc/absolute", {}},
        {"a//./c//d", "a/c/d", {}},
        {"..", {}, "the name leads outside the output directory (-P allows that)"},
        {"./a/../../up2", {}, "the name leads outside the output directory (-P allows that)"},
        {"a/b/../../c", "c", {}},
        {"link/x", {}, "named/link is a symbolic link, not followed (-P follows links)"},
        {"./link/../y", {}, "named/./link is a symbolic link, not followed (-P follows links)"},
        {"flink", "flink", {}},
        {"deep/er/file", "deep/er/file", {}},
    };
    QList<PlainEntry> entries;
    QByteArray expectedErr;
    for (const Row &row : rows) {
        entries.append({row.name, "data of " + row.name, 0, 1000000000});
        if (!row.refusal.isEmpty())
            expectedErr += program + ": error: can't extract " + row.name + ": " + row.refusal + "\n";
    }
    entries.append({"ro", "read-only", 1, 1234567890});
    // A file where a directory is needed stops the extraction, as any file
    // that cannot be made does.
    entries.append({"plain/x", "x", 0, 0});
    entries.append({"after", "never", 0, 0});
    dir.write("p.pkg", plainPackage(entries));
    expectedErr += program + ": error: can't open named/plain/x for writing\n";

    const CliResult result = runner.run({"-x", "p.pkg", "named"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.err, expectedErr);
    for (const Row &row : rows) {
        if (!row.landsAt.isEmpty()) {
            EXPECT_EQ(dir.read("out/" + row.landsAt), "data of " + row.name) << row.name.constData();
        }
    }
    EXPECT_EQ(dir.read("victim"), "the user's file") << "a link where a file goes is replaced, not written through";
    EXPECT_FALSE(isSymbolicLink(dir.file("out/flink")));
    EXPECT_TRUE(isSymbolicLink(dir.file("out/link")));
    EXPECT_EQ(namesIn(dir.file("elsewhere")), QList<QByteArray>{".keep"});
    EXPECT_EQ(namesIn(dir.path()), (QList<QByteArray>{"elsewhere", "home", "named", "out", "p.pkg", "root", "victim"}));
    EXPECT_EQ(namesIn(dir.file("out")), (QList<QByteArray>{".keep", "a", "b", "c", "deep", "etc", "flink", "link",
                                                           "plain", "ro"}));
    EXPECT_EQ(mtimeOf(dir.file("out/ro")), 1234567890);
    EXPECT_EQ(modeOf(dir.file("out/ro")), mode_t(0400));
    EXPECT_EQ(mtimeOf(dir.file("out/deep/er/file")), 1000000000);
}

TEST(HostilePackage, dashPWritesNamesWhereTheyLeadAndFollowsLinks)
{
    CliRunner runner;
    TempDir &dir = runner.dir();
    dir.write("victim", "the user's file");
    dir.write("elsewhere/.keep", {});
    dir.write("out/.keep", {});
    ASSERT_EQ(::symlink("../elsewhere", dir.file("out/link").constData()), 0);
    ASSERT_EQ(::symlink("../victim", dir.file("out/flink").constData()), 0);
    dir.write("p.pkg", plainPackage({{"../up", "up"}, {"link/x", "x"}, {"flink", "f"}, {"link/../z", "z"}}));

    for (const QList<QByteArray> &arguments : QList<QList<QByteArray>>{{"-P", "-x", "p.pkg", "out"},
                                                                       {"-x", "p.pkg", "-P", "out"}}) {
        const CliResult result = runner.run(arguments);
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_EQ(result.err, "") << arguments.join(' ').constData();
        EXPECT_EQ(dir.read("up"), "up");
        EXPECT_EQ(dir.read("elsewhere/x"), "x") << "the link is followed";
        EXPECT_EQ(dir.read("z"), "z") << "\"..\" after a link goes where the link leads";
        EXPECT_EQ(dir.read("out/flink"), "f");
        EXPECT_EQ(dir.read("victim"), "the user's file") << "an existing file at the path is removed first";
        ASSERT_EQ(::unlink(dir.file("up").constData()), 0);
    }
}

TEST(HostilePackage, aTableOfContentsCostsItsNamesNotItsNameFields)
{
    // 200,000 entries named ./a: about 490 KB compressed, 208 MB of records.
    constexpr quint32 Entries = 200000;
    CliRunner runner;
    TempDir &dir = runner.dir();
    dir.write("bomb.pkg", compressedNameBomb("./a", Entries));
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

namespace {

// Starts a run that writes a file, waits until the file it writes appears
// (a name in directory starting with prefix), then sends the signal.
// Nothing when the run ended before the file was seen.
std::optional<CliResult> interruptWhileWriting(const CliRunner &runner, const QList<QByteArray> &arguments,
                                               const QByteArray &directory, const QByteArray &prefix, int signal)
{
    CliProcess process = runner.start(arguments);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        for (const QByteArray &name : namesIn(directory)) {
            if (name.startsWith(prefix)) {
                ::kill(process.pid(), signal);
                return process.finish();
            }
        }
        siginfo_t ended{};
        if (::waitid(P_PID, id_t(process.pid()), &ended, WEXITED | WNOHANG | WNOWAIT) != 0 || ended.si_pid != 0)
            break;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    process.finish();
    return std::nullopt;
}

} // namespace

TEST(HostilePackage, aSignalDuringAWriteLeavesNothingBehindAndEndsTheRun)
{
    CliRunner runner;
    TempDir &dir = runner.dir();
    // Incompressible data takes the longest to write.
    const QByteArray big = noise(48 << 20, 7);
    dir.write("big.bin", big);
    dir.write("a.txt", "a");
    dir.write("sol/app.hzp", "<!DOCTYPE Lanternwick_Project_File>\n"
                             "<solution Name=\"app\"><project Name=\"p\"><file file_name=\"../big.bin\"/></project>"
                             "</solution>\n");
    ASSERT_EQ(runner.run({"-c", "p.pkg", "a.txt"}).exitStatus, 0);
    ASSERT_EQ(runner.run({"-c", "bigp.pkg", "big.bin", "a.txt"}).exitStatus, 0);
    ASSERT_EQ(runner.run({"-hzr", "sol/app.hzp", "app.hzr"}).exitStatus, 0);

    struct Row {
        QList<QByteArray> arguments;
        QByteArray package; // the file replaced, which stays as it was
        int signal;
    } rows[] = {
        {{"-c", "p.pkg", "big.bin"}, "p.pkg", SIGTERM},
        {{"-r", "p.pkg", "big.bin"}, "p.pkg", SIGINT},
        {{"-d", "bigp.pkg", "a.txt"}, "bigp.pkg", SIGHUP},
        {{"-hzr", "sol/app.hzp", "app.hzr"}, "app.hzr", SIGTERM},
    };
    const QList<QByteArray> names = namesIn(dir.path());
    for (const Row &row : rows) {
        const QByteArray what = row.arguments.join(' ');
        const QByteArray before = dir.read(row.package);
        const std::optional<CliResult> result =
            interruptWhileWriting(runner, row.arguments, dir.path(), "." + row.package + ".", row.signal);
        ASSERT_TRUE(result.has_value()) << what.constData() << ": no temporary file was seen";
        EXPECT_EQ(result->signal, row.signal) << what.constData();
        EXPECT_EQ(result->err, "") << what.constData();
        EXPECT_EQ(dir.read(row.package), before) << what.constData();
        EXPECT_EQ(namesIn(dir.path()), names) << what.constData() << ": the temporary file stays";
    }

    // Extraction: each entry's file is complete, or gone.
    QList<PlainEntry> entries;
    for (int i = 0; i < 12; ++i)
        entries.append({"part" + QByteArray::number(i), big.mid(i << 22, 4 << 20)});
    dir.write("parts.pkg", plainPackage(entries));
    int interrupted = 0;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        const std::optional<CliResult> result =
            interruptWhileWriting(runner, {"-x", "parts.pkg", "out"}, dir.file("out"), "part", signal);
        if (!result || result->signal == 0)
            continue; // the run was done before the signal came
        ++interrupted;
        EXPECT_EQ(result->signal, signal);
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
