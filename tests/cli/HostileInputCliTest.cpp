// Inputs made to hurt: directories and FIFOs where files belong, and
// templates and macros that grow at every step. Every run ends in bounded
// time and memory with the program's usual messages; a run that would wait
// for ever is killed (see CliRunner) and fails its test.

#include "CliRunner.h"
#include "SolutionFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

namespace {

const QByteArray userTemplates = "root/Fernhollow for ARM/packages/targets/project_templates.xml";
const QByteArray preprocessorWarning = "XmlPP::processConditionals(): ";

// A solution whose one project is completed from the template T.
const QByteArray templatedSolution = solutionFile("<project Name=\"P\" template_name=\"T\"/>\n");

// The user's templates file: the template T holding body.
QByteArray templatesWith(const QByteArray &body)
{
    return "<!DOCTYPE Project_Templates_File>\n<projects>\n<project template_name=\"T\" type=\"Executable\">\n" + body
        + "</project>\n</projects>\n";
}

using HostileInput = CliTest;

} // namespace

TEST_F(HostileInput, directoriesFifosAndLinkLoopsWhereFilesBelongCannotBeReadAndAreNeverWaitedFor)
{
    dir.write("main.hzp", solutionFile("<import file_name=\"fifo.hzp\"/>\n"));
    dir.write("dir.hzp/inside", "x");
    dir.write("a.txt", "a");
    // The user's templates file is a directory (start-up leaves it so).
    dir.write(userTemplates + "/.keep", {});
    ASSERT_EQ(::mkfifo(dir.file("fifo.hzp").constData(), 0644), 0);
    ASSERT_EQ(::symlink("loop", dir.file("loop").constData()), 0);
    QList<CliCase> cases = {
        {{"-hzr", "fifo.hzp"}, 1, "", dir.file("fifo.hzp") + " not a solution file\n"},
        {{"-hzr", "main.hzp"}, 1, "", "fifo.hzp not a solution file\n"},
        {{"-hzr", "dir.hzp"}, 1, "", dir.file("dir.hzp") + " cannot access\n"},
    };
    // A package that exists but cannot be opened is refused, and never replaced.
    const QByteArray refused = errorLine("can't open loop for reading: Too many levels of symbolic links");
    for (const QByteArray name : {"dir.hzp", "fifo.hzp", "loop"}) {
        const QByteArray badHeader = fatalLine("bad header in package " + name);
        for (const QList<QByteArray> &args :
             QList<QList<QByteArray>>{{"-t", name}, {"-x", name, "out"}, {"-d", name, "a.txt"}, {"-c", name, "a.txt"}})
            cases.append({args, name == "loop" ? 0 : 1, "", name == "loop" ? refused : badHeader});
    }
    expectRuns(runner, cases);
    EXPECT_TRUE(isA(S_IFIFO, dir.file("fifo.hzp")));
    char target[16] = {};
    EXPECT_EQ(::readlink(dir.file("loop").constData(), target, sizeof target - 1), 4);
    EXPECT_EQ(namesIn(dir.path()),
              (QList<QByteArray>{"a.txt", "dir.hzp", "fifo.hzp", "home", "loop", "main.hzp", "root"}));

    // A templates file that is a directory, or that includes one, is a file
    // that cannot be read: the template is then missing, or the include is
    // reported and the rest of the file is used. A FIFO without a writer
    // reads as empty. A name is reported with the bytes it has, UTF-8 or not.
    dir.write("s.hzp", templatedSolution);
    expectRuns(runner, {{{"-hzr", "s.hzp"}, 1, "", "T project template not found\n"}});
    ASSERT_EQ(::unlink(dir.file(userTemplates + "/.keep").constData()), 0);
    ASSERT_EQ(::rmdir(dir.file(userTemplates).constData()), 0);
    const QByteArray gone = dir.file("gone\xe9.xml");
    dir.write(userTemplates, templatesWith("<include filename=\"/tmp\"/>\n<include filename=\"" + dir.file("fifo.hzp")
                                           + "\" no_root=\"1\"/>\n<include filename=\"" + gone + "\"/>\n"));
    expectRuns(runner, {{{"-hzr", "s.hzp"}, 0, "",
                         preprocessorWarning + "error \"couldn't read /tmp\" in include file /tmp line:0\n"
                             + preprocessorWarning + "error: include file '" + dir.file("fifo.hzp") + "' is empty\n"
                             + preprocessorWarning + "error \"couldn't read " + gone + "\" in include file " + gone
                             + " line:0\n"}});
    EXPECT_TRUE(dir.exists("s.hzr"));
}

TEST_F(HostileInput, templatesAndMacrosThatGrowAtEveryStepStopWithinBounds)
{
    // A <for> that would make too many copies has its row in the preprocessor's tests.
    dir.write("s.hzp", templatedSolution);
    // Pastes nested 30 deep, each pasting the next twice, would make 2^30
    // copies; the pass stops adding at its bound and says so once.
    QByteArray fragments = "<xmldef name=\"F30\"><file name=\"leaf.c\"/></xmldef>\n";
    for (int i = 29; i >= 0; --i) {
        const QByteArray next = "F" + QByteArray::number(i + 1);
        fragments += "<xmldef name=\"F" + QByteArray::number(i) + "\"><xmlput name=\"" + next + "\"/><xmlput name=\""
            + next + "\"/></xmldef>\n";
    }
    dir.write(userTemplates, templatesWith(fragments + "<xmlput name=\"F0\"/>\n"));
    const CliResult pastes = runner.run({"-hzr", "s.hzp"});
    EXPECT_EQ(pastes.exitStatus, 0);
    EXPECT_EQ(pastes.err.count("has grown by 16 MiB"), 1) << pastes.err.left(400).constData();

    // Macros of the "Common" configuration that double at every pass.
    dir.write(userTemplates, templatesWith("<file name=\"$(IntDir)/x.c\"/>\n"));
    dir.write("s.hzp", solutionFile("<project Name=\"P\" template_name=\"T\">\n"
                                    "<configuration Name=\"Common\" macros=\"D=$(D)$(D)$(\" "
                                    "build_intermediate_directory=\"$(D)$($)\"/>\n</project>\n"));
    const CliResult macros = runner.run({"-hzr", "s.hzp"});
    EXPECT_EQ(macros.exitStatus, 0) << macros.err.left(400).constData();
}

TEST_F(HostileInput, aLongChainOfImportedSolutionsLoadsInLinearTime)
{
    constexpr int files = 40;
    for (int i = 0; i < files; ++i) {
        const QByteArray n = QByteArray::number(i), next = QByteArray::number(i + 1);
        const QByteArray import = i + 1 < files ? "<import file_name=\"s" + next + ".hzp\"/>\n" : "";
        dir.write("s" + n + ".hzp", solutionFile(import + "<project Name=\"p\"/>\n", "S" + n));
    }
    const auto start = std::chrono::steady_clock::now();
    const CliResult result = runner.run({"-hzr", "s0.hzp"});
    EXPECT_EQ(result.exitStatus, 0) << result.err.constData();
    // Time doubling with each level would take hours here.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}
