#include "ProjectFixtures.h"

#include "platform/FileSystem.h"
#include "macros/MacroTable.h"
#include "project/ProjectTemplates.h"

#include <gtest/gtest.h>

TEST_F(SolutionFixture, elementsBecomeNodesInDocumentOrderAndFilesResolveAgainstTheirProjectDirectory)
{
    dir.write("s/s.hzp", solutionFile("<project Name=\"rel\"><configuration Name=\"Common\" project_directory=\"sub/../p\""
                                      " odd=\"a&amp;b\"/>"
                                      "<file file_name=\"a.c\"/><file file_name=\"../up/b.c\"/><file file_name=\"$(Where)/c.c\"/>"
                                      "</project><project Name=\"here\"><file file_name=\"d/e.c\"/></project>"
                                      "<project Name=\"abs\"><configuration Name=\"Common\" project_directory=\"/opt/x\"/>"
                                      "<file file_name=\"/tmp/./f.c\"/></project>"
                                      "<folder Name=\"loose\"><file file_name=\"g.c\"/><notes><file file_name=\"x.c\"/></notes>"
                                      "</folder><folder/><folder Name=\"\"/>"));
    MacroTable::instance().setMacro("Where", "w");
    ProjectNode *root = load("s/s.hzp");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(loadedSignals, 1);
    // An element of unknown tag is skipped with everything inside it; a node
    // without a name is called <NULL>.
    EXPECT_EQ(outline(root, true), "project:rel(configuration:Common[odd=a&b,project_directory=sub/../p] file:a.c "
                                   "file:../up/b.c file:$(Where)/c.c) project:here(file:d/e.c) project:abs(configuration:"
                                   "Common[project_directory=/opt/x] file:/tmp/./f.c) folder:loose(file:g.c) folder:<NULL> "
                                   "folder:<NULL>");

    ProjectNode *rel = root->firstChild(), *here = rel->nextSibling(), *abs = here->nextSibling();
    ProjectNode *a = rel->firstChild()->nextSibling();
    // A file outside any project lies below its solution file's directory.
    ProjectNode *loose = abs->nextSibling()->firstChild();
    const QString s = absoluteFilePath(dir.qpath()) + "/s";
    const struct { ProjectNode *file; QString projectDirectory, localName, filePath; bool in, under; } rows[] = {
        {a, s + "/p", "a.c", s + "/p/a.c", true, true},
        {a->nextSibling(), s + "/p", "../up/b.c", s + "/up/b.c", false, false},
        {a->nextSibling()->nextSibling(), s + "/p", "w/c.c", s + "/p/w/c.c", false, true},
        {here->firstChild(), s, "d/e.c", s + "/d/e.c", false, true},
        {abs->firstChild()->nextSibling(), "/opt/x", "/tmp/f.c", "/tmp/f.c", false, false},
        {loose, s, "g.c", s + "/g.c", true, true},
    };
    for (const auto &row : rows) {
        row.file->resolveFileInfo();
        SCOPED_TRACE(qPrintable(row.file->getProperty("file_name")));
        EXPECT_EQ(row.file->projectDirectory(), row.projectDirectory);
        EXPECT_EQ(row.file->localName(), row.localName);
        EXPECT_EQ(row.file->filePath(), row.filePath);
        EXPECT_EQ(row.file->inProjectDirectory(), row.in);
        EXPECT_EQ(row.file->underProjectDirectory(), row.under);
    }

    // The location is kept until the file name changes.
    loose->setFileName("h.c", false);
    EXPECT_FALSE(loose->locationValid());
    EXPECT_EQ(loose->nodeName(), "h.c");
}

// A handler that goes on past a missing file and names the template "Lib"
// for a project whose own is missing; it records what it is asked about.
struct GoingOnHandler : ProjectFileNotFoundErrorHandler, TemplateNotFoundErrorHandler {
    QStringList asked;
    bool fileNotFound(const QString &fileName) override
    {
        asked.append(fileName);
        return true;
    }
    bool templateNotFound(ProjectTemplates &templates, const QString &projectName, QString &templateName) override
    {
        asked.append(projectName);
        templateName = QStringLiteral("Lib");
        return templates.find(templateName) != nullptr;
    }
};

TEST_F(SolutionFixture, importsFollowTheImportingFileKeepTheWrittenNameAndAFailedOneLeavesNoSolution)
{
    dir.write("top/main.hzp", solutionFile("<import file_name=\"../lib/lib.hzp\"/><import file_name=\"$(LibDir)/lib.hzp\"/>"
                                           "<project Name=\"app\"/>"));
    dir.write("lib/lib.hzp", solutionFile("<project Name=\"ring\"/><import file_name=\"inner/inner.hzp\"/>", "L", false));
    dir.write("lib/inner/inner.hzp", solutionFile("<project Name=\"deep\"/>", "I", false));
    MacroTable::instance().setMacro("LibDir", "../lib");
    ProjectNode *root = load("top/main.hzp");
    ASSERT_NE(root, nullptr);

    // The same file imported twice is loaded twice.
    EXPECT_EQ(outline(root), "solution:L(project:ring solution:I(project:deep)) "
                             "solution:L(project:ring solution:I(project:deep)) project:app");
    ProjectNode *first = root->firstChild(), *second = first->nextSibling();
    EXPECT_TRUE(first->isImported());
    EXPECT_EQ(first->getProperty("file_name"), "../lib/lib.hzp");
    EXPECT_EQ(second->getProperty("file_name"), "$(LibDir)/lib.hzp");
    EXPECT_EQ(first->filePath(), absoluteFilePath(dir.qpath() + "/lib/lib.hzp"));
    // The nested import is relative to the file that holds it.
    EXPECT_EQ(first->firstChild()->nextSibling()->filePath(), absoluteFilePath(dir.qpath() + "/lib/inner/inner.hzp"));

    // Projects of imported files are keyed by the chain of solution names.
    EXPECT_EQ(system->projectNames(), (QStringList{"app", "deep(L,I)", "ring(L)"}));
    EXPECT_EQ(system->solutionNames(), (QStringList{"I", "L", "L,I", "S"}));
    EXPECT_EQ(first->projectIndex().keys(), (QStringList{"deep(I)", "ring"}));
    // A key entered again names the solution entered last: the second import.
    EXPECT_EQ(system->findSolution("L"), second);
    EXPECT_EQ(system->findSolution("L,I"), second->firstChild()->nextSibling());

    // The walk enters the direct import "X" first; the import below "A" that
    // is also named "X" is entered later under the same key, as its own
    // solution's walk keys it.
    dir.write("main.hzp", solutionFile("<import file_name=\"x.hzp\"/><import file_name=\"a.hzp\"/>"));
    dir.write("x.hzp", solutionFile("", "X", false));
    dir.write("a.hzp", solutionFile("<import file_name=\"x.hzp\"/>", "A", false));
    root = load("main.hzp");
    ASSERT_NE(root, nullptr);
    ProjectNode *deeper = root->firstChild()->nextSibling()->firstChild();
    EXPECT_EQ(system->solutionNames(), (QStringList{"A", "A,X", "S", "X"}));
    EXPECT_EQ(system->findSolution("X"), deeper);
    EXPECT_EQ(system->findSolution("A,X"), deeper);

    // A handler that goes on past a missing import meets the unreadable
    // file; the failure takes the solution loaded before with it.
    dir.write("bad.hzp", solutionFile("<import file_name=\"gone.hzp\"/>"));
    GoingOnHandler handler;
    const SolutionLoadError accepted = loadError(dir.qpath() + "/bad.hzp", &handler);
    EXPECT_EQ(std::pair(accepted.subject, accepted.detail), std::pair(dir.qpath() + "/gone.hzp", QString(" cannot access")));
    EXPECT_EQ(handler.asked, QStringList{dir.qpath() + "/gone.hzp"});
    EXPECT_TRUE(system->projectNames().isEmpty());
}

TEST_F(SolutionFixture, solutionFilesOfOlderVersionsMoveInstallationPathsToThePackagesArea)
{
    const struct { const char *property, *value, *upgraded; } cases[] = {
        {"linker_memory_map_file", "$(StudioDir)/targets/Board/flash.xml", "$(TargetsDir)/Board/flash.xml"},
        {"linker_section_placement_file", "x;$(StudioDir)/targets/A/B/p.xml", "x;$(TargetsDir)/A/B/p.xml"},
        {"property_groups_file_path", "$(StudioDir)/targets/groups.xml", "$(StudioDir)/targets/groups.xml"},
        {"arm_target_flash_loader_file_path", "$(studiodir)/targets/B/l.elf", "$(studiodir)/targets/B/l.elf"},
        // '*' matches any text, line breaks too: the first occurrence is the match.
        {"linker_memory_map_file", "$(StudioDir)/targets/A\n/m.xml;$(StudioDir)/targets/B/m.xml",
         "$(TargetsDir)/A\n/m.xml;$(StudioDir)/targets/B/m.xml"},
        {"linker_additional_files", "$(StudioDir)/lib/liblpc2000.a;$(StudioDir)/lib/libstr71x.a;$(StudioDir)/lib/libc.a",
         "$(PackagesDir)/lib/liblpc2000.a;$(PackagesDir)/lib/libstr71x.a;$(StudioDir)/lib/libc.a"},
        {"linker_additional_files", "$(StudioDir)/lib/libat91a.a;$(StudioDir)/lib/libat91b.a",
         "$(PackagesDir)/lib/libat91a.a;$(StudioDir)/lib/libat91b.a"},
    };
    QByteArray project = "<project Name=\"p\">";
    for (const auto &c : cases)
        project += "<configuration Name=\"Common\" " + QByteArray(c.property) + "=\"" + c.value + "\"/>";
    project += "</project>";
    // Files of version 2 are left as they are.
    for (const char *version : {"", " version=\"1\"", " version=\"2\""}) {
        dir.write("s.hzp", "<!DOCTYPE Lanternwick_Project_File>\n<solution" + QByteArray(version) + ">" + project + "</solution>");
        ProjectNode *root = load("s.hzp");
        ASSERT_NE(root, nullptr);
        SCOPED_TRACE(version);
        EXPECT_EQ(root->getProperty("version"), "2");
        EXPECT_FALSE(root->isModified());
        const bool current = qstrcmp(version, " version=\"2\"") == 0;
        const ProjectNode *configuration = root->firstChild()->firstChild();
        for (const auto &c : cases) {
            EXPECT_EQ(configuration->getProperty(c.property), current ? c.value : c.upgraded) << c.value;
            configuration = configuration->nextSibling();
        }
    }
}

namespace {

// The user's templates file includes the installation's, as start-up writes it.
const QByteArray userTemplates = "<!DOCTYPE Project_Templates_File>\n<projects>\n"
                                 "  <include filename=\"installed.xml\" no_root=\"1\" />\n"
                                 "  <project template_name=\"Lib\" type=\"Library\"/>\n"
                                 "</projects>\n";

const QByteArray installedTemplates =
    "<projects>\n"
    "<project template_name=\"Lib\" type=\"Executable\"/>\n"
    "<project template_name=\"App\" type=\"Executable\">\n"
    "  <configuration name=\"ARM Debug\"/>\n"
    "  <property name=\"c_preprocessor_definitions\" value=\"DIR=$(ProjectDir)\" expand=\"yes\"/>\n"
    "  <property name=\"c_user_include_directories\" value=\"$(ProjectDir)/inc\"/>\n"
    "  <property name=\"arm_endian\" value=\"Big\" configuration=\"Release\"/>\n"
    "  <property name=\"build_quietly\" value=\"No\"/>\n"
    "  <property name=\"no_value\"/>\n"
    "  <folder name=\"Source Files\" filter=\"c;s\">\n"
    "    <file name=\"$(ProjectName)_main.c\"><property name=\"file_tag\" value=\"Red\"/></file>\n"
    "    <file name=\"$(ProjectName)_raw.c\" expand=\"No\"/>\n"
    "    <file name=\"kept.c\"/>\n"
    "    <file name=\"copied.c\" source=\"somewhere/copied.c\"/>\n"
    "    <folder name=\"Inner\"/>\n"
    "  </folder>\n"
    "  <folder name=\"Headers\" filter=\"h\"/>\n"
    "  <folder name=\"Docs\"/>\n"
    "  <unknown name=\"ignored\"/>\n"
    "  <file name=\"loose.h\"/>\n"
    "  <propertygroup name=\"Board\" value=\"B\"/>\n"
    "</project>\n"
    "<configurations>\n"
    "  <set name=\"ARM Debug\"><item name=\"inherited_configurations\" value=\"ARM;Debug\"/>"
    "<item name=\"arm_instruction_set\" value=\"ARM\"/></set>\n"
    "  <set name=\"ARM\"><item name=\"arm_instruction_set\" value=\"ARM\"/><item name=\"empty\" value=\"\"/></set>\n"
    "  <set name=\"Debug\"><item name=\"build_debug_information\" value=\"Yes\"/>"
    "<item name=\"inherited_configurations\" value=\"Debug;ARM Debug\"/></set>\n"
    "</configurations>\n"
    "</projects>\n";

const QByteArray groupFile = "<groups>\n"
                             "<group name=\"Board\" default=\"A\">\n"
                             "  <groupEntry name=\"A\"><property name=\"x\" value=\"1\"/></groupEntry>\n"
                             "  <groupEntry name=\"B\"><property name=\"x\" value=\"2\" configuration=\"Debug\"/></groupEntry>\n"
                             "</group>\n"
                             "</groups>\n";

TEST_F(SolutionFixture, aTemplateCompletesItsProjectWithEveryItemKindAndAMissingOneFailsUnlessTheHandlerNamesOne)
{
    dir.write("targets/project_templates.xml", userTemplates);
    dir.write("targets/installed.xml", installedTemplates);
    dir.write("targets/groups.xml", groupFile);
    MacroTable::instance().setMacro("TargetsDir", dir.qpath() + "/targets");
    system->setBuildSystem(buildSystem.get());
    dir.write("s/s.hzp",
              solutionFile("<configuration Name=\"ARM\" arm_instruction_set=\"Thumb\"/>\n"
                           "<project Name=\"blinky\" template_name=\"App\">\n"
                           "  <configuration Name=\"Common\" build_quietly=\"Yes\""
                           " property_groups_file_path=\"$(TargetsDir)/groups.xml\"/>\n"
                           "  <folder Name=\"Source Files\"><configuration Name=\"Common\" filter=\"cpp\"/>"
                           "<file file_name=\"kept.c\"/></folder>\n"
                           "  <folder Name=\"Docs\"/>\n"
                           "</project>\n"));
    ProjectNode *root = load("s/s.hzp");
    ASSERT_NE(root, nullptr);
    // The template's items join the project: the existing folder is reused
    // and keeps its filter; a new folder gets the item's filter in its
    // "Common" configuration; a file given to the project goes to the folder
    // of its extension; the property group sets its member in the entry's
    // configuration; an existing folder without a filter takes the item's,
    // even an empty one. The configuration sets make three solution
    // configurations, the set that comes back to itself applied once; a
    // differing value stays with the solution while the project gets its
    // own, and an empty one is left out.
    EXPECT_EQ(outline(root, true),
              "configuration:ARM[arm_instruction_set=Thumb] project:blinky(configuration:Common[Board=B,build_quietly=Yes,"
              "c_preprocessor_definitions=DIR=" + absoluteFilePath(dir.qpath() + "/s").toLatin1()
                  + ",c_user_include_directories=$(ProjectDir)/inc,project_type=Executable,"
                    "property_groups_file_path=$(TargetsDir)/groups.xml] folder:Source Files(configuration:Common[filter=cpp] "
                    "file:kept.c file:blinky_main.c(configuration:Common[file_tag=Red]) file:$(ProjectName)_raw.c folder:Inner) "
                    "folder:Docs(configuration:Common[filter=]) configuration:ARM[arm_instruction_set=ARM] configuration:Release[arm_endian=Big] "
                    "folder:Headers(configuration:Common[filter=h] file:loose.h) configuration:Debug[x=2]) "
                    "configuration:ARM Debug[arm_instruction_set=ARM,inherited_configurations=ARM;Debug] "
                    "configuration:Debug[build_debug_information=Yes,inherited_configurations=Debug;ARM Debug]");
    EXPECT_EQ(root->inheritedConfigurations().value("ARM Debug"), (QStringList{"ARM", "Debug"}));

    // A missing template fails and leaves no solution unless the handler
    // names one.
    dir.write("empty.hzp", solutionFile("<project Name=\"nameless\" template_name=\"\"/>"
                                        "<folder Name=\"both\" template_name=\"Lib\" path=\"src\"/>"));
    dir.write("src/a.c", "");

    const SolutionLoadError empty = loadError(dir.qpath() + "/empty.hzp");
    EXPECT_EQ(empty.subject, "no template for project ");
    EXPECT_EQ(empty.detail, "nameless");
    EXPECT_EQ(system->solution(), nullptr);

    GoingOnHandler handler;
    system->loadSolution(dir.qpath() + "/empty.hzp", nullptr, &handler);
    EXPECT_EQ(handler.asked, QStringList{"nameless"});
    ASSERT_NE(system->solution(), nullptr);
    // The user's template of a name replaces the installation's one; a node
    // that names a template is not also a dynamic folder.
    EXPECT_EQ(outline(system->solution(), true), "project:nameless(configuration:Common[project_type=Library]) "
                                                 "folder:both[path=src](configuration:Common[project_type=Library])");
}

} // namespace
