#include <gtest/gtest.h>

#include <utime.h>

#include <cerrno>
#include <cstring>

#include "CliPackages.h"
#include "CliRunner.h"
#include "FileSizeLimit.h"

namespace {

// A compressed package whose data area holds the entries' data in the given
// order (indexes into entries), with gap bytes before each one; the table
// stays in entry order and its offsets point at the data wherever it lies.
// shorten cuts bytes off the end of the plain package.
QByteArray compressedWithLayout(const QList<PlainEntry> &entries, const QList<int> &order, int gap,
                                int shorten = 0)
{
    QList<quint32> offsets(entries.size());
    QByteArray data;
    const quint32 start = 8 + 1040 * quint32(entries.size());
    for (int index : order) {
        data += QByteArray(gap, '#');
        offsets[index] = start + quint32(data.size());
        data += entries[index].data;
    }
    QByteArray plain;
    appendWord(plain, 0x4152C3C8);
    appendWord(plain, quint32(entries.size()));
    for (int i = 0; i < entries.size(); ++i) {
        plain += entries[i].name + QByteArray(1024 - entries[i].name.size(), '\0');
        appendWord(plain, offsets[i]);
        appendWord(plain, quint32(entries[i].data.size()));
        appendWord(plain, entries[i].readOnly);
        appendWord(plain, entries[i].time);
    }
    plain = (plain + data).left(plain.size() + data.size() - shorten);
    uLongf size = compressBound(uLong(plain.size()));
    QByteArray packed(qsizetype(size), '\0');
    compress2(reinterpret_cast<Bytef *>(packed.data()), &size, reinterpret_cast<const Bytef *>(plain.constData()),
              uLong(plain.size()), 6);
    packed.truncate(qsizetype(size));
    QByteArray head("\x7A\xF4\x31\xB2\x01\x00\x00\x00", 8);
    for (int shift = 24; shift >= 0; shift -= 8)
        head.append(char((plain.size() >> shift) & 0xff));
    return head + packed;
}

} // namespace

TEST(PackageLayoutCli, everyCommandCopiesEntryDataWhereverThePackageLaysItOut)
{
    const PlainEntry a{"./a.txt", QByteArray(70000, 'a') + "end of a"};
    const PlainEntry b{"./b.txt", "bravo", 1};
    const PlainEntry c{"./c.txt", QByteArray(3000, 'c')};
    const PlainEntry empty{"./e.txt", ""};
    const PlainEntry newA{"./a.txt", "a replaced"};
    struct Layout {
        const char *what;
        QList<int> order; // of a, b, c, e in the data area
        int gap;
    } layouts[] = {
        {"dense, in table order", {0, 1, 2, 3}, 0},
        {"in table order with gaps", {0, 1, 2, 3}, 17},
        {"in reverse order", {3, 2, 1, 0}, 0},
        {"a before c before b", {0, 2, 1, 3}, 5},
    };
    const struct {
        QList<QByteArray> args;
        QList<PlainEntry> result;
    } commands[] = {
        {{"-d", "p.pkg", "b.txt"}, {a, c, empty}},
        {{"-d", "p.pkg", "a.txt", "e.txt"}, {b, c}},
        {{"-r", "p.pkg", "a.txt"}, {b, c, empty, newA}},
    };
    for (const Layout &layout : layouts) {
        CliRunner extraction;
        extraction.dir().write("p.pkg", compressedWithLayout({a, b, c, empty}, layout.order, layout.gap));
        const CliResult extracted = extraction.run({"-x", "p.pkg", "out"});
        EXPECT_EQ(extracted.err, "") << layout.what << ", -x";
        for (const PlainEntry &entry : {a, b, c, empty})
            EXPECT_EQ(extraction.dir().read("out/" + entry.name), entry.data) << layout.what << ", -x " << entry.name.constData();
        EXPECT_EQ(modeOf(extraction.dir().file("out/b.txt")) & 0200, 0u) << layout.what << ", -x keeps b.txt read-only";

        for (const auto &command : commands) {
            CliRunner runner;
            TempDir &dir = runner.dir();
            for (const char *name : {"a.txt", "b.txt", "e.txt"})
                dir.write(name, name);
            dir.write("a.txt", newA.data);
            utimbuf times{time_t(newA.time), time_t(newA.time)};
            ::utime(dir.file("a.txt").constData(), &times);
            dir.write("p.pkg", compressedWithLayout({a, b, c, empty}, layout.order, layout.gap));
            const CliResult result = runner.run(command.args);
            EXPECT_EQ(result.err, "") << layout.what << ", " << command.args[0].constData();
            EXPECT_EQ(expandedPackage(dir.read("p.pkg")), plainPackage(command.result))
                << layout.what << ", " << command.args.join(' ').constData();
        }
    }
}

TEST(PackageLayoutCli, dataAreaShorterThanTheTableSaysIsAReadErrorInAnyLayout)
{
    const PlainEntry a{"./a.txt", QByteArray(5000, 'a')};
    const PlainEntry b{"./b.txt", QByteArray(5000, 'b')};
    const QByteArray program = CliRunner::program();
    for (const QList<int> &order : {QList<int>{0, 1}, QList<int>{1, 0}}) {
        CliRunner runner;
        TempDir &dir = runner.dir();
        dir.write("z.txt", "z");
        const QByteArray before = compressedWithLayout({a, b}, order, 0, 10);
        dir.write("p.pkg", before);
        const CliResult result = runner.run({"-r", "p.pkg", "z.txt"});
        const QByteArray last = order[1] == 0 ? "./a.txt" : "./b.txt";
        const QByteArray first = order[1] == 0 ? "./b.txt" : "./a.txt";
        EXPECT_EQ(result.err, program + ": error: read error on p.pkg.decompressed: the data of " + last + " ends early\n")
            << "last in the data area: " << last.constData();
        EXPECT_EQ(dir.read("p.pkg"), before);
        const CliResult extracted = runner.run({"-x", "p.pkg", "out"});
        EXPECT_EQ(extracted.err, program + ": error: can't extract " + last + ": the package's data ends before its end\n");
        EXPECT_EQ(namesIn(dir.file("out")), QList<QByteArray>{first.mid(2)}) << "the other entry is extracted";
    }
}

TEST(PackageLayoutCli, anExpandedCopyBeyondAFileSizeLimitFailsCleanly)
{
    // Only a package whose data lie out of table order is expanded into a
    // nameless scratch file first; a file size limit stops that copy.
    QByteArray noise;
    quint32 seed = 1;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1103515245u + 12345u;
        noise.append(char(seed >> 24));
    }
    CliRunner runner;
    TempDir &dir = runner.dir();
    dir.write("p.pkg", compressedWithLayout({{"./a.txt", "a"}, {"./noise.bin", noise}}, {1, 0}, 0));
    CliResult result;
    {
        const FileSizeLimit limit(64 * 1024);
        ASSERT_TRUE(limit.active());
        result = runner.run({"-x", "p.pkg", "out"});
    }
    const QByteArray program = CliRunner::program();
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, program + ": error: write error on p.pkg.decompressed: " + std::strerror(EFBIG) + "\n"
                              + program + ": fatal: bad header in package p.pkg.decompressed\n");
    EXPECT_FALSE(dir.exists("out"));
}
