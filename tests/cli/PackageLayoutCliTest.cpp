#include <gtest/gtest.h>

#include "CliRunner.h"
#include "PackageFiles.h"

// Packages from other writers may lay the entries' data out in any order,
// with gaps between them; the table of contents says where each lies.

TEST(PackageLayoutCli, everyCommandCopiesEntryDataWhereverThePackageLaysItOut)
{
    const PlainEntry a{"./a.txt", QByteArray(70000, 'a') + "end of a"};
    const PlainEntry b{"./b.txt", "bravo", 1};
    const PlainEntry c{"./c.txt", QByteArray(3000, 'c')};
    const PlainEntry empty{"./e.txt", ""};
    const PlainEntry newA{"./a.txt", "a replaced"};
    const struct {
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
    for (const auto &layout : layouts) {
        SCOPED_TRACE(layout.what);
        const QByteArray package = compressedPackage(plainPackage({a, b, c, empty}, layout.order, layout.gap));
        CliRunner extraction;
        extraction.dir().write("p.pkg", package);
        expectRuns(extraction, {{{"-x", "p.pkg", "out"}, 0, "", ""}});
        for (const PlainEntry &entry : {a, b, c, empty})
            EXPECT_EQ(extraction.dir().read("out/" + entry.name), entry.data) << entry.name.constData();
        EXPECT_EQ(modeOf(extraction.dir().file("out/b.txt")) & 0200, 0u) << "b.txt stays read-only";

        for (const auto &command : commands) {
            CliRunner runner;
            runner.dir().write("p.pkg", package);
            // Only names of files that exist are deleted.
            runner.dir().write("b.txt", "b");
            runner.dir().write("e.txt", "e");
            runner.dir().write("a.txt", newA.data);
            setMtime(runner.dir().file("a.txt"), newA.time);
            expectRuns(runner, {{command.args, 0, "", ""}});
            EXPECT_EQ(expandedPackage(runner.dir().read("p.pkg")), plainPackage(command.result));
        }
    }
}

TEST(PackageLayoutCli, dataAreaShorterThanTheTableSaysIsAReadErrorInAnyLayout)
{
    const PlainEntry a{"./a.txt", QByteArray(5000, 'a')};
    const PlainEntry b{"./b.txt", QByteArray(5000, 'b')};
    for (const auto &[order, first, last] : {std::tuple{QList<int>{0, 1}, "a.txt", "./b.txt"}, {{1, 0}, "b.txt", "./a.txt"}}) {
        SCOPED_TRACE(last);
        CliRunner runner;
        runner.dir().write("z.txt", "z");
        const QByteArray before = compressedPackage(plainPackage({a, b}, order).chopped(10));
        runner.dir().write("p.pkg", before);
        expectRuns(runner, {
            {{"-r", "p.pkg", "z.txt"}, 0, "",
             programMessage("error", "read error on p.pkg.decompressed: the data of " + QByteArray(last) + " ends early")},
            {{"-x", "p.pkg", "out"}, 0, "",
             programMessage("error", "can't extract " + QByteArray(last) + ": the package's data ends before its end")},
        });
        EXPECT_EQ(runner.dir().read("p.pkg"), before);
        EXPECT_EQ(namesIn(runner.dir().file("out")), QList<QByteArray>{first}) << "the other entry is extracted";
    }
}
