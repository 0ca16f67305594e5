// What the layers above the definitions add: type lists, file extensions,
// the GCC tool directory, the command-line mode, the platform, the tool
// chain root of the environment settings, and the defaults a fresh project
// sees.

#include "settings/EnvironmentPropertyValue.h"
#include "settings/EnvironmentSettings.h"
#include "project/ProjectNode.h"
#include "properties/PropertyClass.h"
#include "targets/ARMBuildSystem.h"
#include "targets/ARMProjectSystem.h"

#include <gtest/gtest.h>

namespace {

const QString toolChainRoot = QStringLiteral("Environment/Build/Tool Chain Root Directory");

TEST(TargetSystems, eachProjectSystemLayerAnswersItsTypesExtensionsAndPlatform)
{
    const StandardProjectSystem standard;
    const ARMProjectSystem arm;
    for (const ProjectSystem *system : {static_cast<const ProjectSystem *>(&standard),
                                        static_cast<const ProjectSystem *>(&arm)}) {
        EXPECT_EQ(system->projectTypes(), (QStringList{"Executable", "Library", "Object file", "Staging", "Combining",
                                                       "Externally Built Executable"}));
        EXPECT_EQ(system->fileTypes().size(), 14);
        EXPECT_EQ(system->fileTypes().first(), "C");
        EXPECT_EQ(system->fileTypes().last(), "Object file");
        EXPECT_EQ(system->objectFileExtension(), ".o");
        EXPECT_EQ(system->libraryFileExtension(), ".a");
    }
    EXPECT_EQ(standard.executableFileExtension(), "");
    EXPECT_EQ(arm.executableFileExtension(), ".elf");
    EXPECT_EQ(GCCProjectSystem(".out").executableFileExtension(), ".out");

    // The platform belongs to the ARM layer; the classes of the standard
    // system stay as they were defined.
    EXPECT_EQ(arm.propertyClass(ProjectSystem::PlatformName)->defaultValue(), "ARM");
    EXPECT_EQ(standard.propertyClass(ProjectSystem::PlatformName)->defaultValue(), "");
}

TEST(TargetSystems, theArmBuildSystemRunsTheGccToolsInModeThree)
{
    const ARMBuildSystem arm;
    EXPECT_EQ(arm.toolDirectory(), "$(StudioDir)/gcc/bin");
    EXPECT_EQ(arm.commandLineMode(), 3);
    EXPECT_EQ(GCCBuildSystem("/opt/gcc/bin").toolDirectory(), "/opt/gcc/bin");
}

TEST(TargetSystems, theArmBuildSystemMovesTheToolChainRootToItsGccTools)
{
    // Without current settings there is nothing to change.
    ASSERT_EQ(EnvironmentSettings::current(), nullptr);
    { const ARMBuildSystem alone; }

    ARMLanternwickEnvironmentSettings settings;
    settings.setSaveEnabled(false);
    settings.defineProperties();
    EnvironmentSettings::setCurrent(&settings);
    EnvironmentPropertyValue *root = settings.setting(toolChainRoot);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->propertyClass()->defaultValue(), "$(StudioDir)");

    const GCCBuildSystem gcc("$(StudioDir)/gcc/bin");
    EXPECT_EQ(root->propertyClass()->defaultValue(), "$(StudioDir)");
    const ARMBuildSystem arm;
    EXPECT_EQ(root->propertyClass()->defaultValue(), "$(StudioDir)/gcc");
    EXPECT_EQ(root->value(), "$(StudioDir)/gcc");
    EnvironmentSettings::setCurrent(nullptr);
}

TEST(TargetSystems, aFreshArmProjectSeesTheDefaultsOfItsTarget)
{
    const ARMProjectSystem projects;
    const ARMBuildSystem builds;
    ProjectNode solution(NodeKind::Solution);
    auto *project = new ProjectNode(NodeKind::Project);
    solution.addChild(project);

    const auto seen = [&](const char *name) {
        const PropertyClass *propertyClass = BuildSystem::findPropertyClass(QString::fromLatin1(name));
        return propertyClass ? ProjectSystem::getPropertyValue(project, propertyClass, QStringLiteral("Debug"))
                             : QStringLiteral("<undefined>");
    };
    const struct {
        const char *name;
        const char *value;
    } defaults[] = {
        {"project_type", "Executable"},
        {"Platform", "ARM"},
        {"arm_architecture", "v4T"},
        {"arm_core_type", "None"},
        {"arm_endian", "Little"},
        {"arm_fp_abi", "Soft"},
        {"arm_linker_stack_size", "1024"},
        {"arm_linker_irq_stack_size", "256"},
        {"arm_linker_fiq_stack_size", "256"},
        {"arm_linker_svc_stack_size", "0"},
        {"arm_linker_abt_stack_size", "0"},
        {"arm_linker_und_stack_size", "0"},
        {"arm_linker_heap_size", "1024"},
        {"build_quietly", "Yes"},
        {"build_treat_warnings_as_errors", "No"},
        {"arm_interwork", "Yes"},
        {"arm_use_gcc_libraries", "Yes"},
        {"arm_long_calls", "No"},
        {"gcc_entry_point", "0x00000000"},
        {"build_output_file_name", "$(OutDir)/$(ProjectName)$(EXE)"},
    };
    for (const auto &row : defaults)
        EXPECT_EQ(seen(row.name), row.value) << row.name;
}

} // namespace
