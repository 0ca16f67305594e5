#include <gtest/gtest.h>

#include <unistd.h>

#include "CapturedDiagnostics.h"
#include "TempDir.h"
#include "driver/HarArgParse.h"
#include "driver/ToolState.h"

namespace {

// Runs the tool's parser in a directory and gives back the resulting state.
struct ParsedLine {
    ParsedLine(const QByteArray &directory, const QList<QByteArray> &arguments)
    {
        char *previous = ::getcwd(nullptr, 0);
        EXPECT_EQ(::chdir(directory.constData()), 0);
        HarArgParse parser(state, captured.diagnostics);
        parser.registerToolOptions();
        parser.parse(arguments, 1);
        EXPECT_EQ(::chdir(previous), 0);
        std::free(previous);
    }
    CapturedDiagnostics captured;
    ToolState state;
};

} // namespace

TEST(HarArgParse, commandOptionsStoreTheirCommandAndTheLastOneWins)
{
    TempDir dir;
    struct Row {
        QList<QByteArray> arguments;
        PackageCommand command;
    } rows[] = {
        {{}, PackageCommand::List},         {{"-c"}, PackageCommand::Create},
        {{"-a"}, PackageCommand::Delete},   {{"-d"}, PackageCommand::Delete},
        {{"-r"}, PackageCommand::Replace},  {{"-x"}, PackageCommand::Extract},
        {{"-c", "-t"}, PackageCommand::List}, {{"-x", "-r", "-c"}, PackageCommand::Create},
    };
    for (const Row &row : rows)
        EXPECT_EQ(ParsedLine(dir.path(), row.arguments).state.command, row.command) << row.arguments.join(' ').constData();
    ParsedLine flags(dir.path(), {"-v", "-hzr", "-P"});
    EXPECT_TRUE(flags.state.verbose);
    EXPECT_TRUE(flags.state.solutionMode);
    EXPECT_EQ(flags.state.extractPaths, ExtractPaths::Preserved);
    EXPECT_EQ(ParsedLine(dir.path(), {"-x"}).state.extractPaths, ExtractPaths::Confined);
}

TEST(HarArgParse, positionalArgumentsNameThePackageTheOutputAndTheFiles)
{
    TempDir dir;
    dir.write("a.txt", "a");
    dir.write("src/foo.c", "f");
    ParsedLine list(dir.path(), {"p.pkg", "a.txt", "src/foo.c", "./a.txt"});
    EXPECT_EQ(list.state.packageName, "p.pkg");
    EXPECT_EQ(list.state.outputName, "p.pkg");
    EXPECT_EQ(list.state.fileList, (QList<QByteArray>{"./a.txt", "src/foo.c", "./a.txt"}));

    ParsedLine extract(dir.path(), {"-x", "p.pkg", "out", "later"});
    EXPECT_EQ(extract.state.packageName, "p.pkg");
    EXPECT_EQ(extract.state.outputName, "later") << "a third argument replaces the second";
    EXPECT_TRUE(extract.state.fileList.isEmpty());

    ParsedLine solution(dir.path(), {"-hzr", "blinky.hzp"});
    EXPECT_EQ(solution.state.packageName, "blinky.hzp");
    EXPECT_TRUE(solution.state.outputName.isNull());

    ParsedLine none(dir.path(), {"-v"});
    EXPECT_TRUE(none.state.packageName.isNull());

    ParsedLine absent(dir.path(), {"-d", "p.pkg", "not-there.txt"});
    EXPECT_TRUE(absent.state.fileList.isEmpty()) << "a missing file in an existing directory adds nothing";
    EXPECT_EQ(absent.captured.text(), "");
}

TEST(HarArgParse, directoriesAreWalkedDepthFirstInNameOrderIgnoringCase)
{
    TempDir dir;
    for (const char *name : {"tree/b.c", "tree/A.h", "tree/.hidden", "tree/.git/config", "tree/sub/z",
                             "tree/Sub2/y", "tree/c/deep/x"})
        dir.write(name, "x");
    ParsedLine walked(dir.path(), {"p.pkg", "tree/"});
    EXPECT_EQ(walked.state.fileList, (QList<QByteArray>{"tree/A.h", "tree/b.c", "tree/c/deep/x", "tree/sub/z",
                                                        "tree/Sub2/y"}));
}

TEST(HarArgParse, patternsMatchVisiblePlainFilesOfTheirDirectory)
{
    TempDir dir;
    for (const char *name : {"src/main.c", "src/Board.C", "src/.secret.c", "src/util.h", "src/dir.c/inner", "b1.txt",
                             "b22.txt"})
        dir.write(name, "x");
    struct Row {
        QByteArray pattern;
        QList<QByteArray> files;
    } rows[] = {
        {"src/*.c", {"src/main.c"}},
        {"src/*.[cC]", {"src/Board.C", "src/main.c"}},
        {"src/*", {"src/Board.C", "src/main.c", "src/util.h"}},
        {"b?.txt", {"./b1.txt"}},
        {"*.none", {}},
    };
    for (const Row &row : rows)
        EXPECT_EQ(ParsedLine(dir.path(), {"p.pkg", row.pattern}).state.fileList, row.files) << row.pattern.constData();
}
