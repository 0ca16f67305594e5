#include "CliRunner.h"
#include "FileSizeLimit.h"
#include "StoredPackage.h"

#include <gtest/gtest.h>

#include <QFileInfo>

#include <sys/stat.h>
#include <utime.h>

#include <cerrno>
#include <cstring>

namespace {

const QByteArray kDoctype = "<!DOCTYPE Lanternwick_Project_File>\n";

// A solution tree in a fresh directory, packaged by running the program there.
class SolutionRoad : public ::testing::Test {
protected:
    CliRunner runner;
    TempDir &dir = runner.dir();

    void writeSolution(const QByteArray &name, const QByteArray &body) const
    {
        dir.write(name, kDoctype + body);
    }

    QByteArray absolute(const QByteArray &name) const { return dir.file(name); }

    // The entries of a written package, decoded with zlib alone.
    QList<StoredEntry> packaged(const QByteArray &name) const
    {
        const auto entries = decodeCompressedPackage(dir.read(name));
        EXPECT_TRUE(entries.has_value()) << name.constData() << " is no compressed package";
        return entries.value_or(QList<StoredEntry>{});
    }

    // The names in a directory below the run's one (the run's own directory
    // when empty), the user areas left out.
    QList<QByteArray> namesIn(const QByteArray &name = {}) const
    {
        QList<QByteArray> names = ::namesIn(name.isEmpty() ? dir.path() : absolute(name));
        names.removeAll("home");
        names.removeAll("root");
        return names;
    }
};

TEST_F(SolutionRoad, storesTheSolutionFileFirstThenProjectFilesRelativeToTheSolutionDirectory)
{
    writeSolution("sol/app.hzp",
                  "<solution Name=\"app\" version=\"2\">\n"
                  " <project Name=\"p\">\n"
                  "  <configuration Name=\"Common\" project_type=\"Executable\"/>\n"
                  "  <folder Name=\"Source Files\">\n"
                  "   <file file_name=\"main.c\"/>\n"
                  "   <file file_name=\"$(StudioDir)/source/crt0.s\"/>\n"
                  "   <file file_name=\"src/util.c\"/>\n"
                  "   <file file_name=\"./main.c\"/>\n"
                  "   <file file_name=\"app.hzp\"/>\n"
                  "   <file file_name=\"missing.c\"/>\n"
                  "   <file file_name=\"/dev/null\"/>\n"
                  "   <folder Name=\"Nested\"><file file_name=\"../top.h\"/></folder>\n"
                  "  </folder>\n"
                  "  <configuration Name=\"Debug\"><file file_name=\"debug_only.c\"/></configuration>\n"
                  " </project>\n"
                  "</solution>\n");
    dir.write("sol/main.c", "int main(void) { return 0; }\n");
    dir.write("sol/src/util.c", "int util;\n");
    dir.write("sol/debug_only.c", "int debug;\n");
    dir.write("top.h", "#define TOP 1\n");
    chmod(absolute("sol/src/util.c").constData(), 0444);
    const utimbuf stamp{1000000000, 1234567890};
    utime(absolute("sol/main.c").constData(), &stamp);

    const CliResult result = runner.run({"-hzr", "sol/app.hzp"});
    EXPECT_EQ(result.exitStatus, 0) << result.err.constData();
    EXPECT_EQ(result.err, QByteArray());
    EXPECT_EQ(result.out, QByteArray());
    const QList<StoredEntry> entries = packaged("app.hzr");
    ASSERT_EQ(entryNames(entries), (QList<QByteArray>{"app.hzp", "main.c", "src/util.c", "../top.h"}));
    EXPECT_EQ(entries[0].data, dir.read("sol/app.hzp"));
    EXPECT_EQ(entries[1].data, dir.read("sol/main.c"));
    EXPECT_EQ(entries[1].modified, 1234567890u);
    EXPECT_EQ(entries[1].readOnly, 0u);
    EXPECT_EQ(entries[2].readOnly, 1u);
    EXPECT_EQ(entries[3].data, QByteArray("#define TOP 1\n"));
    EXPECT_FALSE(dir.exists("tmp"));

    // The program's own reader sees the same table of contents.
    const CliResult listing = runner.run({"-t", "app.hzr"});
    EXPECT_EQ(listing.exitStatus, 0);
    const QList<QByteArray> lines = listing.out.split('\n');
    ASSERT_EQ(lines.size(), 6);
    EXPECT_TRUE(lines[0].startsWith("rw  ") && lines[0].endsWith("  app.hzp")) << lines[0].constData();
    EXPECT_TRUE(lines[2].startsWith("ro        10  ") && lines[2].endsWith("  src/util.c")) << lines[2].constData();
    EXPECT_TRUE(lines[3].endsWith("  ../top.h")) << lines[3].constData();
    EXPECT_TRUE(lines[4].startsWith("4 Files, ")) << lines[4].constData();

    // -v tells of every file node, packaged or left out, and why.
    const QByteArray studioDir = QFileInfo(QStringLiteral(MKPKG_BUILD_DIR)).canonicalFilePath().toLatin1();
    const CliResult verbose = runner.run({"-hzr", "-v", "sol/app.hzp"});
    EXPECT_EQ(verbose.exitStatus, 0);
    EXPECT_EQ(verbose.err, QByteArray());
    EXPECT_EQ(verbose.out, "Fernhollow for ARM Package Maintainer - Release 2.0.9.2011011101.9458\n"
                           "adding app.hzp\n"
                           "adding main.c\n"
                           "leaving out $(StudioDir)/source/crt0.s: its name holds a macro (it expands to "
                               + studioDir + "/source/crt0.s)\n"
                           "adding src/util.c\n"
                           "leaving out ./main.c: the package holds main.c already\n"
                           "leaving out app.hzp: the package holds app.hzp already\n"
                           "leaving out missing.c: " + absolute("sol/missing.c") + " does not exist\n"
                           "leaving out /dev/null: /dev/null shares no leading directory with " + absolute("sol") + "\n"
                           "adding ../top.h\n");
    EXPECT_EQ(entryNames(packaged("app.hzr")), entryNames(entries));
}

TEST_F(SolutionRoad, importedSolutionsComeBeforeTheirOwnFilesWithDotDotNamesAndTheFirstNameWins)
{
    writeSolution("work/sol/app.hzp",
                  "<solution Name=\"app\" version=\"2\">\n"
                  " <project Name=\"first\"><file file_name=\"a.c\"/></project>\n"
                  " <import file_name=\"../lib/lib.hzp\"/>\n"
                  " <project Name=\"last\"><file file_name=\"z.c\"/><file file_name=\"../lib/ring.c\"/></project>\n"
                  " <import file_name=\"../lib/lib.hzp\"/>\n"
                  "</solution>\n");
    writeSolution("work/lib/lib.hzp",
                  "<solution Name=\"lib\" version=\"2\">\n"
                  " <project Name=\"ring\">\n"
                  "  <configuration Name=\"Common\" project_directory=\"src\"/>\n"
                  "  <file file_name=\"../ring.c\"/>\n"
                  "  <file file_name=\"ring_impl.c\"/>\n"
                  " </project>\n"
                  "</solution>\n");
    for (const char *name : {"work/sol/a.c", "work/sol/z.c", "work/lib/ring.c", "work/lib/src/ring_impl.c"})
        dir.write(name, name);

    const CliResult result = runner.runIn(absolute("work"), {"-hzr", "sol/app.hzp", "out.hzr"});
    EXPECT_EQ(result.exitStatus, 0) << result.err.constData();
    const auto entries = decodeCompressedPackage(dir.read("work/out.hzr"));
    ASSERT_TRUE(entries.has_value());
    EXPECT_EQ(entryNames(*entries), (QList<QByteArray>{"app.hzp", "a.c", "../lib/lib.hzp", "../lib/ring.c",
                                                       "../lib/src/ring_impl.c", "z.c"}));
    EXPECT_EQ(entries->at(3).data, QByteArray("work/lib/ring.c"));
}

TEST_F(SolutionRoad, outputIsNamedAfterTheSolutionUpToItsFirstDotAndTheDescriptionFileComesLast)
{
    writeSolution("dir/my.app.hzp", "<solution Name=\"my\" version=\"2\"><file file_name=\"readme.txt\"/></solution>\n");
    dir.write("dir/readme.txt", "read me\n");
    dir.write("dir/my_package.xml", "<package/>\n");

    const CliResult result = runner.run({"-hzr", "dir/my.app.hzp"});
    EXPECT_EQ(result.exitStatus, 0) << result.err.constData();
    EXPECT_EQ(entryNames(packaged("my.hzr")), (QList<QByteArray>{"my.app.hzp", "readme.txt", "my_package.xml"}));
    EXPECT_FALSE(dir.exists("dir/my.hzr"));

    // Without a description file beside it, the package ends with the project files.
    writeSolution("s.hzp", "<solution Name=\"s\" version=\"2\"/>\n");
    const CliResult plain = runner.run({"-hzr", "s.hzp", "sub/out.hzr"});
    EXPECT_EQ(plain.exitStatus, 0);
    EXPECT_FALSE(dir.exists("sub/out.hzr"));   // the output directory is not created
    EXPECT_NE(plain.err, QByteArray());
    EXPECT_EQ(runner.run({"-hzr", "s.hzp", "out.hzr"}).exitStatus, 0);
    EXPECT_EQ(entryNames(packaged("out.hzr")), (QList<QByteArray>{"s.hzp"}));
}

TEST_F(SolutionRoad, loadFailuresPrintOneLineWithoutTheProgramNameAndWriteNothing)
{
    dir.write("wrongtype.hzp", "<!DOCTYPE Something_Else>\n<solution/>\n");
    dir.write("syntax.hzp", kDoctype + "<solution>\n <project Name=\"p\">\n </solution>\n");
    writeSolution("cycle.hzp", "<solution><import file_name=\"other.hzp\"/></solution>\n");
    writeSolution("other.hzp", "<solution><import file_name=\"cycle.hzp\"/></solution>\n");
    writeSolution("brokenimport.hzp", "<solution><import file_name=\"sub/none.hzp\"/></solution>\n");
    // Files rooted in a project or a folder have no solution node for their
    // projects' directories and the templates' configurations.
    writeSolution("projectroot.hzp", "<project Name=\"p\" template_name=\"Executable\"><file file_name=\"a.c\"/></project>\n");
    writeSolution("folderroot.hzp", "<folder Name=\"all\" path=\".\"/>\n");
    writeSolution("importsproject.hzp", "<solution><import file_name=\"projectroot.hzp\"/></solution>\n");

    struct Case {
        QByteArray file;
        QByteArray message;
    };
    const QList<Case> cases = {
        {"absent.hzp", absolute("absent.hzp") + " does not exist\n"},
        {"wrongtype.hzp", absolute("wrongtype.hzp") + " not a solution file\n"},
        {"syntax.hzp", absolute("syntax.hzp") + ": tagName mismatch (line 3)\n"},
        {"cycle.hzp", absolute("cycle.hzp") + " solution already loaded\n"},
        {"brokenimport.hzp", absolute("sub/none.hzp") + " does not exist\n"},
        {"projectroot.hzp", absolute("projectroot.hzp") + " holds no solution\n"},
        {"folderroot.hzp", absolute("folderroot.hzp") + " holds no solution\n"},
        {"importsproject.hzp", "projectroot.hzp holds no solution\n"},
    };
    for (const Case &c : cases) {
        const CliResult result = runner.run({"-hzr", c.file});
        EXPECT_EQ(result.exitStatus, 1) << c.file.constData();
        EXPECT_EQ(result.err, c.message) << c.file.constData();
        EXPECT_EQ(result.out, QByteArray()) << c.file.constData();
    }
    EXPECT_EQ(namesIn(), (QList<QByteArray>{"brokenimport.hzp", "cycle.hzp", "folderroot.hzp", "importsproject.hzp",
                                            "other.hzp", "projectroot.hzp", "syntax.hzp", "wrongtype.hzp"}));
}

TEST_F(SolutionRoad, theSolutionFileIsNeverOverwrittenByItsOwnPackage)
{
    writeSolution("s.hzp", "<solution Name=\"s\" version=\"2\"/>\n");
    const QByteArray before = dir.read("s.hzp");
    for (const QList<QByteArray> &args : {QList<QByteArray>{"s.hzp", "-hzr"}, QList<QByteArray>{"-hzr", "s.hzp", "./s.hzp"}}) {
        const CliResult result = runner.run(args);
        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_TRUE(result.err.contains(": error: ")) << result.err.constData();
        EXPECT_EQ(dir.read("s.hzp"), before);
    }
    EXPECT_EQ(namesIn(), QList<QByteArray>{"s.hzp"});
}

TEST_F(SolutionRoad, aFailedWriteReportsAnErrorAndLeavesTheOutputAndAUsersTmpFileAsTheyWere)
{
    writeSolution("s.hzp", "<solution Name=\"s\" version=\"2\"><file file_name=\"a.c\"/></solution>\n");
    dir.write("a.c", "a");
    dir.write("tmp", "the user's own file\n");
    dir.write("taken.hzr/inside", "kept\n");   // a directory where the package should go

    const CliResult result = runner.run({"-hzr", "s.hzp", "taken.hzr"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_TRUE(result.err.startsWith(CliRunner::program() + ": error: ")) << result.err.constData();
    EXPECT_EQ(dir.read("taken.hzr/inside"), QByteArray("kept\n"));
    EXPECT_EQ(namesIn(), (QList<QByteArray>{"a.c", "s.hzp", "taken.hzr", "tmp"}));
    EXPECT_EQ(namesIn("taken.hzr"), QList<QByteArray>{"inside"});
    EXPECT_EQ(dir.read("tmp"), QByteArray("the user's own file\n"));

    // A package that replaces an earlier one leaves nothing else behind.
    dir.write("old.hzr", "previous package\n");
    EXPECT_EQ(runner.run({"-hzr", "s.hzp", "old.hzr"}).exitStatus, 0);
    EXPECT_EQ(entryNames(packaged("old.hzr")), (QList<QByteArray>{"s.hzp", "a.c"}));
    EXPECT_EQ(namesIn(), (QList<QByteArray>{"a.c", "old.hzr", "s.hzp", "taken.hzr", "tmp"}));
    EXPECT_EQ(dir.read("tmp"), QByteArray("the user's own file\n"));

    // A file size limit fails the write like a full disk instead of killing
    // the run: noise does not compress, so the package outgrows the limit.
    QByteArray noise;
    for (quint32 seed = 1; noise.size() < 256 * 1024;) {
        seed = seed * 1103515245u + 12345u;
        noise.append(char(seed >> 24));
    }
    dir.write("a.c", noise);
    CliResult limitedRun;
    {
        const FileSizeLimit limit(64 * 1024);
        ASSERT_TRUE(limit.active());
        limitedRun = runner.run({"-hzr", "s.hzp", "old.hzr"});
    }
    EXPECT_EQ(limitedRun.exitStatus, 0);
    EXPECT_EQ(limitedRun.err, CliRunner::program() + ": error: write error on old.hzr: " + std::strerror(EFBIG) + "\n");
    EXPECT_EQ(entryNames(packaged("old.hzr")), (QList<QByteArray>{"s.hzp", "a.c"})) << "the earlier package stays";
    EXPECT_EQ(namesIn(), (QList<QByteArray>{"a.c", "old.hzr", "s.hzp", "taken.hzr", "tmp"}));
}

TEST_F(SolutionRoad, dynamicFoldersAndMacroNamedImportsContributeTheirFiles)
{
    // A global macro from the user's settings names the imported solution,
    // which is then left out while its projects' files are stored.
    dir.write("root/Fernhollow for ARM/settings.xml",
              "<!DOCTYPE Fernhollow_Settings_File>\n<settings>\n"
              "  <setting name=\"Environment/Macros/Global Macros\">LibDir=" + absolute("lib") + "</setting>\n"
              "</settings>\n");
    writeSolution("sol/app.hzp",
                  "<solution Name=\"app\" version=\"2\">\n"
                  " <project Name=\"dyn\">\n"
                  "  <folder Name=\"Generated\" path=\"gen\" filter=\"*.c\" recurse=\"Yes\"/>\n"
                  "  <folder Name=\"Flat\" path=\"gen\" filter=\"*.h\"/>\n"
                  " </project>\n"
                  " <import file_name=\"$(LibDir)/lib.hzp\"/>\n"
                  "</solution>\n");
    writeSolution("lib/lib.hzp", "<solution Name=\"lib\" version=\"2\"><project Name=\"ring\"><file file_name=\"ring.c\"/>"
                                 "<file file_name=\"$(LibDir)/ring.h\"/></project></solution>\n");
    for (const char *name : {"sol/gen/b.c", "sol/gen/A.c", "sol/gen/x.h", "sol/gen/sub/c.c", "sol/gen/sub/y.h",
                             "lib/ring.c", "lib/ring.h"})
        dir.write(name, name);

    const CliResult result = runner.run({"-hzr", "sol/app.hzp"});
    EXPECT_EQ(result.exitStatus, 0) << result.err.constData();
    EXPECT_EQ(entryNames(packaged("app.hzr")),
              (QList<QByteArray>{"app.hzp", "gen/A.c", "gen/b.c", "gen/sub/c.c", "gen/x.h", "../lib/ring.c"}));
}

TEST_F(SolutionRoad, namesWithAnyBytesTravelFromTheSolutionIntoThePackageUnchanged)
{
    const QByteArray utf8 = "\xc3\x9c" "bung.c";
    const QByteArray raw = "raw\xff.c";
    const QByteArray scanned = "d\xc3\xa9j\xe0.c";
    writeSolution("sol/s.hzp", "<solution Name=\"s\" version=\"2\"><project Name=\"p\">"
                               "<file file_name=\"" + utf8 + "\"/><file file_name=\"" + raw + "\"/>"
                               "<folder Name=\"g\" path=\"gen\" filter=\"*.c\"/></project>"
                               "<import file_name=\"\xc3\xa4/i.hzp\"/></solution>\n");
    writeSolution("sol/\xc3\xa4/i.hzp", "<solution Name=\"i\" version=\"2\"/>\n");
    dir.write("sol/" + utf8, "u");
    dir.write("sol/" + raw, "r");
    dir.write("sol/gen/" + scanned, "s");

    const CliResult result = runner.run({"-hzr", "sol/s.hzp"});
    EXPECT_EQ(result.exitStatus, 0) << result.err.constData();
    const QList<StoredEntry> entries = packaged("s.hzr");
    EXPECT_EQ(entryNames(entries), (QList<QByteArray>{"s.hzp", utf8, raw, "gen/" + scanned, "\xc3\xa4/i.hzp"}));
    ASSERT_EQ(entries.size(), 5);
    EXPECT_EQ(entries[3].data, QByteArray("s"));
}

TEST_F(SolutionRoad, templatesFromTheUsersTemplatesFileAndTheInstallationCompleteProjects)
{
    // The user's templates file lists its own template beside the installation's ones.
    dir.write("root/Fernhollow for ARM/packages/targets/project_templates.xml",
              "<!DOCTYPE Project_Templates_File>\n<projects>\n"
              "  <include filename=\"$(StudioDir)/targets/project_templates.xml\" no_root=\"1\" />\n"
              "  <project template_name=\"Mine\" type=\"Library\">\n"
              "    <folder name=\"Code\" filter=\"c\"><file name=\"$(ProjectName).c\"/>"
              "<file name=\"$(ProjectName).h\" expand=\"no\"/></folder>\n"
              "    <file name=\"generated.c\" source=\"skeleton.c\"/>\n"
              "  </project>\n"
              "</projects>\n");
    writeSolution("sol/app.hzp",
                  "<solution Name=\"app\" version=\"2\">\n"
                  " <project Name=\"mine\" template_name=\"Mine\"/>\n"
                  " <project Name=\"lib\" template_name=\"Library\">\n"
                  "  <folder Name=\"Source Files\"><file file_name=\"lib.c\"/></folder>\n"
                  " </project>\n"
                  "</solution>\n");
    for (const char *name : {"sol/mine.c", "sol/$(ProjectName).h", "sol/generated.c", "sol/lib.c"})
        dir.write(name, name);

    const CliResult result = runner.run({"-hzr", "sol/app.hzp"});
    EXPECT_EQ(result.exitStatus, 0) << result.err.constData();
    EXPECT_EQ(entryNames(packaged("app.hzr")), (QList<QByteArray>{"app.hzp", "mine.c", "lib.c"}));

    // Template failures end the load like any other failure.
    writeSolution("notemplate.hzp", "<solution><project Name=\"p\" template_name=\"\"/></solution>\n");
    writeSolution("unknown.hzp", "<solution><project Name=\"p\" template_name=\"No Such\"/></solution>\n");
    const CliResult empty = runner.run({"-hzr", "notemplate.hzp"});
    EXPECT_EQ(empty.exitStatus, 1);
    EXPECT_EQ(empty.err, QByteArray("no template for project p\n"));
    const CliResult unknown = runner.run({"-hzr", "unknown.hzp"});
    EXPECT_EQ(unknown.exitStatus, 1);
    EXPECT_EQ(unknown.err, QByteArray("No Such project template not found\n"));
    EXPECT_FALSE(dir.exists("notemplate.hzr"));
    EXPECT_FALSE(dir.exists("unknown.hzr"));
}

TEST_F(SolutionRoad, userFilesThatCannotBeCreatedEndTheRunWithAFatalMessage)
{
    writeSolution("s.hzp", "<solution Name=\"s\" version=\"2\"/>\n");
    dir.write("root/Fernhollow for ARM/packages/targets", "a file where the directory should be");
    const CliResult result = runner.run({"-hzr", "s.hzp"});
    EXPECT_NE(result.exitStatus, 0);
    EXPECT_EQ(result.err, CliRunner::program() + ": fatal: cannot create " +
                              absolute("root/Fernhollow for ARM/packages/targets/project_templates.xml") + "\n");
    EXPECT_FALSE(dir.exists("s.hzr"));
}

} // namespace
