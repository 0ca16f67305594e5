#include "CliRunner.h"
#include "PackageFiles.h"
#include "SolutionFiles.h"

#include <gtest/gtest.h>

#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

namespace {

const QByteArray kDoctype = "<!DOCTYPE Lanternwick_Project_File>\n";
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

// A solution tree in a fresh directory, packaged by running the program there.
class SolutionRoad : public CliTest {
protected:
    // Checks that the package, expanded with zlib alone, holds exactly the
    // named files in that order, each stored under its name relative to the
    // solution directory with its bytes, read-only state and time.
    void expectPackage(const QByteArray &package, const QByteArray &solutionDirectory, const QList<QByteArray> &names) const
    {
        QList<PlainEntry> entries;
        for (const QByteArray &name : names) {
            const QByteArray path = dir.file(solutionDirectory + '/' + name);
            entries.append({name, readFile(path), (modeOf(path) & 0200) == 0, quint32(mtimeOf(path))});
        }
        EXPECT_EQ(expandedPackage(dir.read(package)), plainPackage(entries)) << names.join(", ").constData();
    }

    // The names in the run's directory, the user areas left out.
    QList<QByteArray> names() const
    {
        QList<QByteArray> names = namesIn(dir.path());
        names.removeAll("home");
        names.removeAll("root");
        return names;
    }
};

TEST_F(SolutionRoad, storesTheSolutionFileFirstThenProjectFilesRelativeToTheSolutionDirectory)
{
    QByteArray longName; // 1,030 bytes: too long for a package name
    for (char c : {'d', 'e', 'f', 'g'})
        longName += QByteArray(255, c) + '/';
    longName += "long.c";
    dir.write("sol/app.hzp",
              solutionFile(" <project Name=\"p\">\n"
                           "  <configuration Name=\"Common\" project_type=\"Executable\"/>\n"
                           "  <folder Name=\"Source Files\">\n"
                           "   <file file_name=\"main.c\"/><file file_name=\"$(StudioDir)/source/crt0.s\"/>\n"
                           "   <file file_name=\"src/util.c\"/>\n"
                           "   <file file_name=\"./main.c\"/><file file_name=\"app.hzp\"/><file file_name=\"missing.c\"/>\n"
                           "   <file file_name=\"src\"/><file file_name=\"pipe\"/>\n"
                           "   <file file_name=\"/dev/null\"/><file file_name=\"" + longName + "\"/>\n"
                           "   <folder Name=\"Nested\"><file file_name=\"../top.h\"/></folder>\n"
                           "  </folder>\n"
                           "  <configuration Name=\"Debug\"><file file_name=\"debug_only.c\"/></configuration>\n"
                           " </project>\n", "app"));
    dir.write("sol/main.c", "int main(void) { return 0; }\n");
    dir.write("sol/src/util.c", "int util;\n");
    dir.write("sol/debug_only.c", "int debug;\n");
    dir.write("top.h", "#define TOP 1\n");
    dir.write("sol/" + longName, "int lost;\n");
    ASSERT_EQ(::mkfifo(dir.file("sol/pipe").constData(), 0644), 0);
    chmod(dir.file("sol/src/util.c").constData(), 0444);
    setMtime(dir.file("sol/main.c"), 1234567890);
    // -v tells of every file node, packaged or left out, and why.
    const QByteArray studioDir = QFileInfo(QStringLiteral(MKPKG_BUILD_DIR)).canonicalFilePath().toLatin1();
    expectRuns(runner, {{{"-hzr", "-v", "sol/app.hzp"}, 0,
                         Banner + "adding app.hzp\n"
                         "adding main.c\n"
                         "leaving out $(StudioDir)/source/crt0.s: its name holds a macro (it expands to "
                             + studioDir + "/source/crt0.s)\n"
                         "adding src/util.c\n"
                         "leaving out ./main.c: the package holds main.c already\n"
                         "leaving out app.hzp: the package holds app.hzp already\n"
                         "leaving out missing.c: " + dir.file("sol/missing.c") + " does not exist\n"
                         "leaving out src: " + dir.file("sol/src") + " is a directory\n"
                         "leaving out pipe: " + dir.file("sol/pipe") + " is no regular file\n"
                         "leaving out /dev/null: /dev/null shares no leading directory with " + dir.file("sol") + "\n"
                         "leaving out " + longName + ": its name in the package would be 1030 bytes "
                         "(names of 1024 bytes or more do not fit in a package)\n"
                         "adding ../top.h\n",
                         ""}});
    expectPackage("app.hzr", "sol", {"app.hzp", "main.c", "src/util.c", "../top.h"});
}

// Where the system has German messages and a German locale can be built,
// the runs have it: system error texts must still come out in English.
TEST_F(SolutionRoad, outputIsNamedAfterTheSolutionAndAFailedOrRefusedWriteLeavesEveryFileAsItWas)
{
    const QByteArray locales = dir.file("home/locales");
    const bool german = QFileInfo::exists("/usr/share/locale/de/LC_MESSAGES/libc.mo") && ::mkdir(locales.constData(), 0755) == 0
        && std::system(("localedef -i de_DE -f UTF-8 " + locales + "/de_DE.UTF-8 >/dev/null 2>&1").constData()) == 0;
    if (german) {
        ::setenv("LOCPATH", locales.constData(), 1);
        ::setenv("LC_ALL", "de_DE.UTF-8", 1);
    }
    dir.write("dir/my.app.hzp", solutionFile("<file file_name=\"readme.txt\"/>", "my"));
    dir.write("dir/readme.txt", "read me\n");
    dir.write("dir/my_package.xml", "<package/>\n");
    dir.write("s.hzp", solutionFile("<file file_name=\"a.c\"/>", "s"));
    dir.write("a.c", "a");
    dir.write("tmp", "the user's own file\n");
    dir.write("taken.hzr/inside", "kept\n"); // a directory where the package should go
    dir.write("old.hzr", "previous package\n");
    const QByteArray solution = dir.read("s.hzp");
    const QByteArray refusal =
        " would replace the solution file s.hzp; nothing written (name the solution file right after -hzr)";
    // The package is named after the solution up to its first dot, and ends
    // with the description file beside it, if any. The output's directory
    // is not created.
    expectRuns(runner, {
        {{"-hzr", "dir/my.app.hzp"}, 0, "", ""},
        {{"-hzr", "s.hzp", "sub/out.hzr"}, 0, "", errorLine("can't open sub/out.hzr for writing: No such file or directory")},
        {{"-hzr", "s.hzp", "taken.hzr"}, 0, "", errorLine("can't open taken.hzr for writing: Is a directory")},
        {{"s.hzp", "-hzr"}, 1, "", fatalLine("the packaged solution s.hzp" + refusal)},
        {{"-hzr", "s.hzp", "./s.hzp"}, 1, "", fatalLine("the packaged solution ./s.hzp" + refusal)},
        // A package that replaces an earlier one leaves nothing else behind.
        {{"-hzr", "s.hzp", "old.hzr"}, 0, "", ""},
    });
    ::unsetenv("LC_ALL");
    ::unsetenv("LOCPATH");
    expectPackage("my.hzr", "dir", {"my.app.hzp", "readme.txt", "my_package.xml"});
    expectPackage("old.hzr", ".", {"s.hzp", "a.c"});
    EXPECT_EQ(namesIn(dir.file("taken.hzr")), QList<QByteArray>{"inside"});
    EXPECT_EQ(dir.read("s.hzp"), solution);
    EXPECT_EQ(dir.read("tmp"), "the user's own file\n");
    EXPECT_EQ(names(), (QList<QByteArray>{"a.c", "dir", "my.hzr", "old.hzr", "s.hzp", "taken.hzr", "tmp"}));
    EXPECT_EQ(namesIn(dir.file("dir")), (QList<QByteArray>{"my.app.hzp", "my_package.xml", "readme.txt"}));
}

// Imported solutions are stored before their own files, ahead of the
// importing file's later ones, with "../" names where they lie beside the
// solution's directory; the first occurrence of a name wins. A relative
// import is read beside the importer, even where the current directory
// holds a file of that name.
TEST_F(SolutionRoad, dynamicFoldersImportsAndNamesWithAnyBytesContributeTheirFilesUnchanged)
{
    // A global macro from the user's settings names an import, which is
    // then left out while its projects' files are stored.
    dir.write("root/Fernhollow for ARM/settings.xml",
              "<!DOCTYPE Fernhollow_Settings_File>\n<settings>\n"
              "  <setting name=\"Environment/Macros/Global Macros\">LibDir=" + dir.file("lib") + "</setting>\n"
              "</settings>\n");
    const QByteArray utf8 = "\xc3\x9c" "bung.c";
    const QByteArray raw = "raw\xff.c";
    const QByteArray scanned = "gen/d\xc3\xa9j\xe0.c";
    dir.write("sol/app.hzp",
              solutionFile(" <project Name=\"dyn\">\n"
                           "  <file file_name=\"" + utf8 + "\"/><file file_name=\"" + raw + "\"/>\n"
                           "  <folder Name=\"Generated\" path=\"gen\" filter=\"*.c\"/>\n"
                           " </project>\n"
                           " <import file_name=\"$(LibDir)/lib.hzp\"/>\n"
                           " <project Name=\"lib\" template_name=\"Library\">\n"
                           "  <folder Name=\"Source Files\"><file file_name=\"lib.c\"/>"
                           "<file file_name=\"../lib/ring.c\"/></folder>\n"
                           " </project>\n"
                           " <import file_name=\"../lib/lib.hzp\"/><import file_name=\"\xc3\xa4/i.hzp\"/>\n", "app"));
    dir.write("lib/lib.hzp", solutionFile("<project Name=\"ring\"><configuration Name=\"Common\" project_directory=\"src\"/>\n"
                                          "<file file_name=\"../ring.c\"/><file file_name=\"ring_impl.c\"/></project>", "lib"));
    dir.write("sol/\xc3\xa4/i.hzp", solutionFile("<project Name=\"i\"><file file_name=\"i.c\"/></project>", "i"));
    dir.write("\xc3\xa4/i.hzp", solutionFile("<project Name=\"cwd\"><file file_name=\"cwd.c\"/></project>", "cwd"));
    for (const QByteArray &name : QList<QByteArray>{"sol/gen/b.c", "sol/gen/A.c", "sol/gen/x.h", "sol/" + scanned,
                                                    "sol/" + utf8, "sol/" + raw, "lib/ring.c", "lib/src/ring_impl.c",
                                                    "sol/lib.c", "sol/\xc3\xa4/i.c"})
        dir.write(name, name);
    expectRuns(runner, {{{"-hzr", "sol/app.hzp"}, 0, "", ""}});
    expectPackage("app.hzr", "sol", {"app.hzp", utf8, raw, "gen/A.c", "gen/b.c", scanned, "../lib/ring.c",
                                     "../lib/src/ring_impl.c", "lib.c", "../lib/lib.hzp", "\xc3\xa4/i.hzp", "\xc3\xa4/i.c"});
}

// The user's files are created at start-up, where a link to nothing points;
// one that cannot be created ends the run before anything is written.
TEST_F(SolutionRoad, userFilesAreCreatedWhereTheirLinksPointOrEndTheRunWithAFatalMessage)
{
    const QByteArray targets = "root/Fernhollow for ARM/packages/targets";
    dir.write(targets + "/.keep", {});
    dir.write("elsewhere/.keep", {});
    const QByteArray templates = dir.file(targets + "/project_templates.xml");
    ASSERT_EQ(::symlink(dir.file("elsewhere/templates.xml").constData(), templates.constData()), 0);
    dir.write("app.hzp", solutionFile("<project Name=\"p\" template_name=\"Library\"/>\n"));
    expectRuns(runner, {{{"-hzr", "app.hzp"}, 0, "", ""}});
    EXPECT_TRUE(dir.read("elsewhere/templates.xml").startsWith("<!DOCTYPE Project_Templates_File>"));
    const QByteArray package = dir.read("app.hzr");

    const QByteArray frequencies = dir.file(targets + "/frequencies.xml");
    ASSERT_EQ(::unlink(frequencies.constData()), 0);
    ASSERT_EQ(::symlink(dir.file("missing/frequencies.xml").constData(), frequencies.constData()), 0);
    expectRuns(runner, {{{"-hzr", "app.hzp"}, 1, "", fatalLine("cannot create " + frequencies)}});
    EXPECT_EQ(dir.read("app.hzr"), package);
    EXPECT_EQ(names(), (QList<QByteArray>{"app.hzp", "app.hzr", "elsewhere"}));
}

// Inputs made to hurt: directories and FIFOs where files belong, inputs
// that grow at every step. Every run ends in bounded time and memory with
// the usual messages; one that would wait for ever is killed (see CliRunner).
using HostileInput = CliTest;

// Every kind of load failure, each printed as one line without the program's
// name; an imported file is named as the import writes it.
TEST_F(HostileInput, badSolutionsDirectoriesFifosAndLinkLoopsFailWithOneLineAndAreNeverWaitedFor)
{
    dir.write("syntax.hzp", kDoctype + "<solution>\n <project Name=\"p\">\n </solution>\n");
    // A file rooted in a project has no solution node for its projects'
    // directories and the templates' configurations.
    dir.write("projectroot.hzp", kDoctype + "<project Name=\"p\" template_name=\"Executable\"><file file_name=\"a.c\"/>"
                                            "</project>\n");
    dir.write("importsproject.hzp", kDoctype + "<solution><import file_name=\"projectroot.hzp\"/></solution>\n");
    dir.write("other.hzp", "<!DOCTYPE Something_Else>\n<solution/>\n");
    dir.write("a.hzp", solutionFile("<import file_name=\"b.hzp\"/>"));
    dir.write("b.hzp", solutionFile("<folder Name=\"f\"><import file_name=\"a.hzp\"/></folder>"));
    // A link makes every round of the cycle a new spelling of the same file.
    dir.write("linked.hzp", solutionFile("<import file_name=\"link/linked.hzp\"/>"));
    ASSERT_EQ(::symlink(".", dir.file("link").constData()), 0);
    dir.write("deep.hzp", solutionFile(QByteArray("<folder>").repeated(10002) + QByteArray("</folder>").repeated(10002)));
    dir.write("dir.hzp/inside", "x");
    dir.write("a.txt", "a");
    // The user's templates file is a directory (start-up leaves it so).
    dir.write(userTemplates + "/.keep", {});
    ASSERT_EQ(::mkfifo(dir.file("fifo.hzp").constData(), 0644), 0);
    ASSERT_EQ(::symlink("loop", dir.file("loop").constData()), 0);
    const QList<QByteArray> before = namesIn(dir.path());
    QList<CliCase> cases = {
        {{"-hzr", "absent.hzp"}, 1, "", dir.file("absent.hzp") + " does not exist\n"},
        {{"-hzr", "syntax.hzp"}, 1, "", dir.file("syntax.hzp") + ": tagName mismatch (line 3)\n"},
        {{"-hzr", "projectroot.hzp"}, 1, "", dir.file("projectroot.hzp") + " holds no solution\n"},
        {{"-hzr", "importsproject.hzp"}, 1, "", "projectroot.hzp holds no solution\n"},
        {{"-hzr", "fifo.hzp"}, 1, "", dir.file("fifo.hzp") + " not a solution file\n"},
        {{"-hzr", "other.hzp"}, 1, "", dir.file("other.hzp") + " not a solution file\n"},
        {{"-hzr", "dir.hzp"}, 1, "", dir.file("dir.hzp") + " cannot access\n"},
        {{"-hzr", "a.hzp"}, 1, "", dir.file("a.hzp") + " solution already loaded\n"},
        {{"-hzr", "linked.hzp"}, 1, "", dir.file("link/linked.hzp") + " solution already loaded\n"},
        {{"-hzr", "deep.hzp"}, 1, "", dir.file("deep.hzp") + " is nested too deeply\n"},
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
    EXPECT_EQ(namesIn(dir.path()), before);

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

TEST_F(HostileInput, templatesMacrosAndImportsThatGrowAtEveryStepStopWithinBounds)
{
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

    // A long chain of imported solutions loads in linear time: doubling with
    // each level would take hours here.
    constexpr int files = 40;
    for (int i = 0; i < files; ++i) {
        const QByteArray n = QByteArray::number(i), next = QByteArray::number(i + 1);
        const QByteArray import = i + 1 < files ? "<import file_name=\"c" + next + ".hzp\"/>\n" : "";
        dir.write("c" + n + ".hzp", solutionFile(import + "<project Name=\"p\"/>\n", "C" + n));
    }
    const auto start = std::chrono::steady_clock::now();
    const CliResult chain = runner.run({"-hzr", "c0.hzp"});
    EXPECT_EQ(chain.exitStatus, 0) << chain.err.constData();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

} // namespace
