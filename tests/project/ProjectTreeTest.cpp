// The project tree: property look-ups through its levels and the macros of
// its nodes in a hand-built tree, and the files its folders collect or list.

#include "ProjectFixtures.h"

#include "macros/MacroTable.h"
#include "platform/FileSystem.h"
#include "project/ProjectNodeValue.h"
#include "properties/PropertyClass.h"

#include <QMap>

#include <unistd.h>

namespace {

using PS = ProjectSystem;

// A solution file /work/sol/app.v1.hzp holding a project "blinky" (directory
// "proj") holding a folder holding a file, each level able to carry
// configurations, with the tool's project and build systems.
struct ProjectTree {
    ProjectTree()
    {
        projects.setBuildSystem(&builds);
        solution->setSolutionFile("/work/sol/app.v1.hzp", QDateTime());
        solution->addChild(project);
        project->addChild(folder);
        folder->addChild(file);
        project->storeProperty("Name", "blinky");
        PS::setConfigurationValue(project, "project_directory", "Common", "proj", false);
        file->storeProperty("file_name", "src/main.tar.c");
    }
    ARMProjectSystem projects;
    ARMBuildSystem builds;
    std::unique_ptr<ProjectNode> solution = std::make_unique<ProjectNode>(NodeKind::Solution);
    ProjectNode *project = new ProjectNode(NodeKind::Project);
    ProjectNode *folder = new ProjectNode(NodeKind::Folder);
    ProjectNode *file = new ProjectNode(NodeKind::File);
};

PropertyClass stringClass("P", PropertyClass::String, {}, {}, {}, {}, "default");
PropertyClass listClass("L", PropertyClass::StringList, {}, {}, {}, {}, "listdefault");

} // namespace

TEST(PropertyLookup, nearestNodeWinsInItsConfigurationsListOrderThenCommonThenTheDefault)
{
    ProjectTree tree;
    for (const auto &[configuration, list] : {std::pair("ARM Debug", ";ARM;;Debug"), {"ARM", "Thumb"}, {"Debug", "Base"}})
        PS::setConfigurationValue(tree.solution.get(), "inherited_configurations", configuration, list, false);
    PS::rebuildInheritedConfigurations(tree.solution.get());

    // Each value is set on top of the ones before it; found are the file's
    // values in "ARM Debug", "ARM", "Debug", "Release" and "Common". Only the
    // asked configuration's own list is followed: what "ARM" inherits plays
    // no part in a look-up of "ARM Debug". Asking for "Common" never looks at
    // named configurations; a value present but empty hides all above it.
    const struct { ProjectNode *node; const char *configuration, *value; QStringList found; } steps[] = {
        {tree.solution.get(), "Common", "sc", {"sc", "sc", "sc", "sc", "sc"}},
        {tree.project, "Debug", "pd", {"pd", "sc", "pd", "sc", "sc"}},
        {tree.project, "Common", "pc", {"pd", "pc", "pd", "pc", "pc"}},
        {tree.project, "ARM", "pa", {"pa", "pa", "pd", "pc", "pc"}},
        {tree.project, "ARM Debug", "pad", {"pad", "pa", "pd", "pc", "pc"}},
        {tree.file, "Thumb", "ft", {"pad", "ft", "pd", "pc", "pc"}},
        {tree.file, "Debug", "fd", {"fd", "ft", "fd", "pc", "pc"}},
        {tree.folder, "Release", "", {"fd", "ft", "fd", "", "pc"}},
    };
    for (const auto &step : steps) {
        PS::setConfigurationValue(step.node, "P", step.configuration, step.value, false);
        QStringList found;
        for (const char *configuration : {"ARM Debug", "ARM", "Debug", "Release", "Common"})
            found.append(PS::getPropertyValue(tree.file, &stringClass, configuration));
        EXPECT_EQ(found, step.found) << step.value;
    }
    EXPECT_FALSE(PS::getPropertyValue(tree.file, &stringClass, "Release").isNull());

    // A second configuration of a name is the one found.
    PS::addConfiguration(tree.project, "Twice", true);
    ProjectNode *second = PS::addConfiguration(tree.project, "Twice", false);
    EXPECT_EQ(tree.project->findConfiguration("Twice"), second);

    // String lists collect every level, most specific first.
    PS::setConfigurationValue(tree.file, "L", "Debug", "f", false);
    PS::setConfigurationValue(tree.project, "L", "Debug", "p", false);
    PS::setConfigurationValue(tree.project, "L", "Base", "pb", false);
    PS::setConfigurationValue(tree.project, "L", "Common", "pc", false);
    PS::setConfigurationValue(tree.solution.get(), "L", "Debug", "s", false);

    ValueTrace trace;
    EXPECT_EQ(PS::getPropertyValue(tree.file, &listClass, "Debug", &trace), "f;p;pb;pc;s");
    EXPECT_EQ(PS::getPropertyValue(tree.file, &listClass, "Release", &trace), "pc");
    EXPECT_EQ(PS::getPropertyValue(tree.solution.get(), &listClass, "Release", &trace), "listdefault");
    // The trace names each supplying configuration except "Common", and a
    // default with neither configuration nor node.
    ASSERT_EQ(trace.size(), 5);
    EXPECT_EQ(trace[0].value, "f");
    EXPECT_EQ(trace[0].node, tree.file);
    EXPECT_EQ(trace[2].configuration, "Base");
    EXPECT_EQ(trace[3].node, tree.solution.get());
    EXPECT_EQ(trace[4].value, "listdefault");
    EXPECT_TRUE(trace[4].configuration.isEmpty());
    EXPECT_EQ(trace[4].node, nullptr);

    // A node value reads through the tree and writes the node's own
    // configuration.
    ProjectNodeValue text(&stringClass, "Release", tree.project);
    EXPECT_TRUE(text.isInherited());
    EXPECT_EQ(text.value(), "pc");
    text.setValue(QStringLiteral("own"));
    EXPECT_FALSE(text.isInherited());
    EXPECT_EQ(tree.project->findConfiguration("Release")->getProperty("P"), "own");

    // A list answers with the node's own text only; its typed read falls
    // back to the default.
    ProjectNodeValue list(&listClass, "Release", tree.project);
    EXPECT_TRUE(list.value().isNull());
    EXPECT_EQ(list.stringList(false), QStringList{"listdefault"});
    list.setValue(QStringList{"a;b", "c"});
    EXPECT_EQ(list.value(), "a\\;b;c");

    // A class kept per node, not per configuration, always lands in "Common".
    PropertyClass common(QStringLiteral("C"), PropertyClass::String);
    common.setPerConfiguration(false);
    ProjectNodeValue always(&common, "Debug", tree.project, true);
    always.setValue(QStringLiteral("x"));
    EXPECT_EQ(tree.project->findConfiguration("Common")->getProperty("C"), "x");
    EXPECT_TRUE(tree.project->findConfiguration("Common")->propertyFlag("C"));
}

TEST(ProjectMacros, describeTheNodeItsProjectItsSolutionItsBuildDirectoriesAndItsLibraries)
{
    ProjectTree tree;
    PS::setConfigurationValue(tree.project, "macros", "Common", "Board=lpc;ProjectName=hidden;Configuration=x", false);
    const QMap<QString, QString> macros = tree.builds.projectMacros(tree.file, "Debug");

    // Fixed entries win over the project's own macros; the intermediate
    // directory's default names the configuration.
    const QMap<QString, QString> expected{
        {"Board", "lpc"}, {"ProjectNodeName", "main.tar.c"}, {"ProjectDir", "/work/sol/proj"},
        {"ProjectName", "blinky"}, {"Configuration", "Debug"}, {"SolutionDir", "/work/sol"},
        {"SolutionName", "app"}, {"SolutionFileName", "app.v1.hzp"}, {"SolutionPath", "/work/sol/app.v1.hzp"},
        {"SolutionExt", "v1.hzp"}, {"InputDir", "src"}, {"InputName", "main.tar"}, {"InputFileName", "main.tar.c"},
        {"InputExt", "c"}, {"InputPath", "/work/sol/proj/src/main.tar.c"}, {"RelInputPath", "src/main.tar.c"},
        {"OBJ", ".o"}, {"EXE", ".elf"}, {"LIB", ".a"}, {"PackageExt", "hzq"}, {"IntDir", "Debug"},
    };
    for (auto entry = expected.cbegin(); entry != expected.cend(); ++entry)
        EXPECT_EQ(macros.value(entry.key()), entry.value()) << qPrintable(entry.key());
    EXPECT_TRUE(macros.contains("Date"));

    // Project macros apply to the project, not its file, in file-less form.
    const QMap<QString, QString> projectMacros = tree.builds.projectMacros(tree.project, "Debug");
    EXPECT_FALSE(projectMacros.contains("InputName"));
    EXPECT_FALSE(macros.contains("LibExt"));
    EXPECT_EQ(projectMacros.value("ProjectNodeName"), "blinky");
    EXPECT_FALSE(tree.builds.projectMacros(tree.solution.get(), "Debug").contains("ProjectDir"));

    // Output directories expand against the entries before them: the
    // intermediate, root and output directory as set; IntDir, OutDir and
    // RootRelativeOutDir as they come (null: not set).
    const struct { const char *intermediate, *root, *output, *intDir, *outDir, *rootRelative; } directories[] = {
        {"$(Configuration)/obj", "$(SolutionDir)/out", "$(SolutionDir)/out/$(ProjectName)", "Debug/obj",
         "/work/sol/out/blinky", "blinky"},
        {"", "", "", ".", ".", nullptr},
        {"x", "/a/b/c", "/a/d", "x", "/a/d", "../../d"},
        {"x", "out", "out", "x", "out", "."},
        {"x", "/abs", "rel", "x", "rel", nullptr},
        {"x", "$(IntDir)", "$(IntDir)/bin", "x", "x/bin", "bin"},
    };
    for (const auto &row : directories) {
        ProjectTree fresh;
        PS::setConfigurationValue(fresh.project, "build_intermediate_directory", "Common", row.intermediate, false);
        PS::setConfigurationValue(fresh.project, "build_root_output_directory", "Common", row.root, false);
        PS::setConfigurationValue(fresh.project, "build_output_directory", "Common", row.output, false);
        const QMap<QString, QString> found = fresh.builds.projectMacros(fresh.file, "Debug");
        EXPECT_EQ(found.value("IntDir"), row.intDir) << row.output;
        EXPECT_EQ(found.value("OutDir"), row.outDir) << row.output;
        EXPECT_EQ(found.value("RootRelativeOutDir", "(not set)"), row.rootRelative ? row.rootRelative : "(not set)")
            << row.output;
    }

    // The library suffix and the loader type follow the project's properties.
    const struct { QMap<QString, QString> properties; const char *libExt, *loaderType; } libraries[] = {
        {{{"arm_architecture", "v5TE"}, {"arm_fp_abi", "SoftFP"}, {"arm_endian", "Big"}}, "_v5te_vfp_a_be", "dcc"},
        {{{"arm_architecture", "v5T"}}, "_v4t_a_le", "dcc"},
        {{{"arm_architecture", "v7M"}, {"arm_target_flash_loader_type", "RAM Loader"}}, "_v7m_a_le", "ram"},
        {{{"arm_architecture", "v7A"}, {"arm_target_flash_loader_type", "KESTRA RPC Loader"}}, "__a_le", "rpc"},
        {{{"arm_target_flash_loader_type", "Other"}}, "_v4t_a_le", ""},
        // An executable links with libraries of the library instruction set...
        {{{"arm_library_instruction_set", "Thumb"}, {"arm_instruction_set", "ARM"}}, "_v4t_t_le", "dcc"},
        // ...any other project is built for its own.
        {{{"project_type", "Library"}, {"arm_library_instruction_set", "ARM"}, {"arm_instruction_set", "Thumb"}}, "_v4t_t_le", "dcc"},
        // Interworking and threading do not show in this tool's names.
        {{{"arm_interwork", "No"}, {"link_use_multi_threaded_libraries", "Yes"}}, "_v4t_a_le", "dcc"},
    };
    for (const auto &row : libraries) {
        ProjectTree fresh;
        for (auto property = row.properties.cbegin(); property != row.properties.cend(); ++property)
            PS::setConfigurationValue(fresh.project, property.key(), "Release", property.value(), false);
        const QMap<QString, QString> found = fresh.builds.projectMacros(fresh.project, "Release");
        EXPECT_EQ(found.value("LibExt"), row.libExt) << row.libExt;
        EXPECT_EQ(found.value("LoaderType"), row.loaderType) << row.libExt;
    }
}

TEST_F(SolutionFixture, foldersListTheMatchingFilesOfTheirDirectoryAndProjectsPutNewFilesInTheFolderOfTheirExtension)
{
    for (const char *name : {"src/b.c", "src/A.c", "src/a.h", "src/.hidden.c", "src/sub/z.c", "src/sub/deeper/y.c",
                             "src/Sub2/x.c", "src/c.C", "elsewhere/board.c", "loop/a.c", "shared/s.c"})
        dir.write(name, "");
    // A directory linked back into itself is scanned once, but two links to
    // one directory are both listed; a link to a file is listed, one to
    // nothing is not.
    for (const auto &[target, link] : {std::pair{".", "loop/back"}, {"../shared", "loop/one"}, {"../shared", "loop/two"},
                                       {"a.c", "loop/linked.c"}, {"gone.c", "loop/dangling.c"}})
        ASSERT_EQ(symlink(target, dir.file(link).constData()), 0);
    MacroTable::instance().setMacro("BoardDir", dir.qpath() + "/elsewhere");
    // Outside any project a relative path starts at the root directory, not
    // at the solution's directory.
    const QByteArray fromRoot = absoluteFilePath(dir.qpath()).mid(1).toLatin1() + "/src/sub";

    // Dynamic folders 1 to 7: a file already in the folder keeps its place;
    // without recurse only the directory itself is listed; no filter lets
    // every file through; a macro path is scanned expanded and kept
    // unexpanded in the names.
    dir.write("s.hzp", solutionFile("<project Name=\"p\">\n"
                                    "<folder Name=\"Headers\" filter=\"h\"/>\n"
                                    "<folder Name=\"Source Files\" filter=\"\"><configuration Name=\"Common\" filter=\"c,CPP; s;asm\"/>"
                                    "<folder Name=\"Nested\" filter=\"x\"/></folder>\n"
                                    "<folder Name=\"1\" path=\"src\" filter=\"*.c\" recurse=\"Yes\"><file file_name=\"src/b.c\"/></folder>\n"
                                    "<folder Name=\"2\" path=\"src\" filter=\"*.h; *.C\"/>\n"
                                    "<folder Name=\"3\" path=\"src/sub\"/>\n"
                                    "<folder Name=\"4\" path=\"nowhere\"/>\n"
                                    "<folder Name=\"5\" path=\"$(BoardDir)\" recurse=\"No\"/>\n"
                                    "<folder Name=\"6\" path=\"loop\" recurse=\"Yes\"/>\n"
                                    "</project><folder Name=\"7\" path=\"" + fromRoot + "\"/>\n"));
    ProjectNode *root = load("s.hzp");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(outline(root), "project:p(folder:Headers folder:Source Files(configuration:Common folder:Nested) "
                             "folder:1(file:src/b.c file:src/A.c file:src/sub/z.c file:src/sub/deeper/y.c file:src/Sub2/x.c) "
                             "folder:2(file:src/a.h file:src/c.C) "
                             "folder:3(file:src/sub/z.c) "
                             "folder:4 "
                             "folder:5(file:$(BoardDir)/board.c) "
                             "folder:6(file:loop/a.c file:loop/linked.c file:loop/one/s.c file:loop/two/s.c)) "
                             "folder:7(file:" + fromRoot + "/z.c)");

    ProjectNode *project = root->firstChild(), *headers = project->firstChild(), *sources = headers->nextSibling();
    ProjectNode *nested = sources->firstChild()->nextSibling();
    const struct { const char *fileName; ProjectNode *home; } cases[] = {
        {"main.c", sources},
        {"boot.ASM", sources},
        {"dir.h/util.cpp", project},   // filter parts are compared as written
        {"start.s", project},
        {"api.h", headers},
        {"Makefile", project},
        {"deep.x", project},   // only direct folders are considered
    };
    for (const auto &row : cases) {
        ProjectNode *file = system->addFileNode(project, row.fileName, true);
        EXPECT_EQ(file->parent(), row.home) << row.fileName;
        EXPECT_TRUE(file->createdFlag()) << row.fileName;
        EXPECT_EQ(ProjectSystem::findFileChild(row.home, row.fileName), file) << row.fileName;
    }
    // A folder takes every file given to it, whatever its extension.
    EXPECT_EQ(system->addFileNode(nested, "any.c", false)->parent(), nested);
    EXPECT_EQ(ProjectSystem::findFileChild(sources, "any.c"), nullptr);
}
