#include "ProjectFixtures.h"

#include <QMap>

namespace {

using PS = ProjectSystem;

// A solution file /work/sol/app.v1.hzp with a project (directory "proj")
// whose folder holds a file.
struct MacroTree : ProjectTree {
    MacroTree()
    {
        project->storeProperty("Name", "blinky");
        PS::setConfigurationValue(project, "project_directory", "Common", "proj", false);
        file->storeProperty("file_name", "src/main.tar.c");
    }
};

TEST(ProjectMacros, describeTheNodeItsProjectAndItsSolution)
{
    MacroTree tree;
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
    EXPECT_EQ(projectMacros.value("ProjectNodeName"), "blinky");
    EXPECT_FALSE(tree.builds.projectMacros(tree.solution.get(), "Debug").contains("ProjectDir"));
}

TEST(ProjectMacros, outputDirectoriesExpandAgainstTheEntriesBeforeThem)
{
    // intermediate, root and output directory as set; IntDir, OutDir and
    // RootRelativeOutDir as they come (null: not set).
    const struct { const char *intermediate, *root, *output, *intDir, *outDir, *rootRelative; } cases[] = {
        {"$(Configuration)/obj", "$(SolutionDir)/out", "$(SolutionDir)/out/$(ProjectName)", "Debug/obj",
         "/work/sol/out/blinky", "blinky"},
        {"", "", "", ".", ".", nullptr},
        {"x", "/a/b/c", "/a/d", "x", "/a/d", "../../d"},
        {"x", "out", "out", "x", "out", "."},
        {"x", "/abs", "rel", "x", "rel", nullptr},
        {"x", "$(IntDir)", "$(IntDir)/bin", "x", "x/bin", "bin"},
    };
    for (const auto &row : cases) {
        MacroTree tree;
        PS::setConfigurationValue(tree.project, "build_intermediate_directory", "Common", row.intermediate, false);
        PS::setConfigurationValue(tree.project, "build_root_output_directory", "Common", row.root, false);
        PS::setConfigurationValue(tree.project, "build_output_directory", "Common", row.output, false);
        const QMap<QString, QString> macros = tree.builds.projectMacros(tree.file, "Debug");
        EXPECT_EQ(macros.value("IntDir"), row.intDir) << row.output;
        EXPECT_EQ(macros.value("OutDir"), row.outDir) << row.output;
        EXPECT_EQ(macros.value("RootRelativeOutDir", "(not set)"), row.rootRelative ? row.rootRelative : "(not set)")
            << row.output;
    }
}

TEST(ProjectMacros, armLibrarySuffixAndLoaderTypeFollowTheProjectsProperties)
{
    const struct { QMap<QString, QString> properties; const char *libExt, *loaderType; } cases[] = {
        {{}, "_v4t_a_le", "dcc"},
        {{{"arm_architecture", "v5TE"}, {"arm_fp_abi", "SoftFP"}, {"arm_endian", "Big"}}, "_v5te_vfp_a_be", "dcc"},
        {{{"arm_architecture", "ARM4T"}}, "_v4t_a_le", "dcc"},
        {{{"arm_architecture", "v5T"}}, "_v4t_a_le", "dcc"},
        {{{"arm_architecture", "v6"}}, "_v6_a_le", "dcc"},
        {{{"arm_architecture", "v6T2"}}, "_v6t2_a_le", "dcc"},
        {{{"arm_architecture", "v6M"}}, "_v6m_a_le", "dcc"},
        {{{"arm_architecture", "v7M"}, {"arm_target_flash_loader_type", "RAM Loader"}}, "_v7m_a_le", "ram"},
        {{{"arm_architecture", "v7A"}, {"arm_target_flash_loader_type", "KESTRA RPC Loader"}}, "__a_le", "rpc"},
        {{{"arm_target_flash_loader_type", "Fast Comms Channel Loader"}}, "_v4t_a_le", "dcc"},
        {{{"arm_target_flash_loader_type", "Other"}}, "_v4t_a_le", ""},
        // An executable links with libraries of the library instruction set...
        {{{"arm_library_instruction_set", "Thumb"}, {"arm_instruction_set", "ARM"}}, "_v4t_t_le", "dcc"},
        // ...any other project is built for its own.
        {{{"project_type", "Library"}, {"arm_library_instruction_set", "Thumb"}}, "_v4t_a_le", "dcc"},
        {{{"project_type", "Library"}, {"arm_instruction_set", "Thumb"}}, "_v4t_t_le", "dcc"},
        // Interworking and threading do not show in this tool's names.
        {{{"arm_interwork", "No"}, {"link_use_multi_threaded_libraries", "Yes"}}, "_v4t_a_le", "dcc"},
    };
    for (const auto &row : cases) {
        MacroTree tree;
        for (auto property = row.properties.cbegin(); property != row.properties.cend(); ++property)
            PS::setConfigurationValue(tree.project, property.key(), "Release", property.value(), false);
        const QMap<QString, QString> macros = tree.builds.projectMacros(tree.project, "Release");
        EXPECT_EQ(macros.value("LibExt"), row.libExt) << row.libExt;
        EXPECT_EQ(macros.value("LoaderType"), row.loaderType) << row.libExt;
        EXPECT_FALSE(tree.builds.projectMacros(tree.file, "Release").contains("LibExt"));
    }
}

} // namespace
