// The property classes of the ARM project and build systems: their layers and
// order, look-ups by name, what the definition columns make of values, and
// what the layers above the definitions add.

#include "project/ProjectNode.h"
#include "properties/PropertyClass.h"
#include "properties/PropertyValue.h"
#include "settings/EnvironmentPropertyValue.h"
#include "settings/EnvironmentSettings.h"
#include "targets/ARMBuildSystem.h"
#include "targets/ARMProjectSystem.h"

#include <gtest/gtest.h>

#include <QSet>

#include <memory>

namespace {

using PS = ProjectSystem;
using B = ARMBuildSystem;

// The classes that a direct reference reaches, from the first id to the
// last, so that a reference to the wrong row shows as a name out of place.
template <typename System, typename Id>
QList<PropertyClass *> byReference(const System &system, Id count)
{
    QList<PropertyClass *> classes;
    for (int id = 0; id < count; ++id)
        classes.append(system.propertyClass(Id(id)));
    return classes;
}

class TargetDefinitions : public testing::Test {
protected:
    const ARMProjectSystem projects;
    const ARMBuildSystem builds;
};

} // namespace

TEST_F(TargetDefinitions, eachLayerDefinesItsClassesInOrderAndReachesEachDirectly)
{
    const QList<PropertyClass *> general = projects.propertyClasses(), build = builds.propertyClasses();
    ASSERT_EQ(general.size(), 24);
    ASSERT_EQ(build.size(), 23 + 84 + 5 + 60);
    // The first and last names of each layer's rows, base layer first: a row
    // moved across a layer boundary, lost or doubled shows here.
    const struct { const QList<PropertyClass *> &classes; qsizetype from, count; const char *first, *last; } layers[] = {
        {general, 0, 24, "date_created", "num_elements"},
        {build, 0, 23, "build_treat_warnings_as_errors", "combine_set_readonly"},
        {build, 23, 84, "link_include_standard_libraries", "debug_startup_completion_point"},
        {build, 107, 5, "gcc_optimization_level", "gcc_emit_assembler_cfi"},
        {build, 112, 60, "arm_instruction_set", "arm_linker_process_stack_size"},
    };
    for (const auto &layer : layers) {
        EXPECT_EQ(layer.classes[layer.from]->name(), layer.first);
        EXPECT_EQ(layer.classes[layer.from + layer.count - 1]->name(), layer.last);
    }
    EXPECT_EQ(byReference(projects, PS::ProjectSystemPropertyCount), general);
    EXPECT_EQ(byReference(builds, BuildSystem::BuildSystemPropertyCount)
                  + byReference(builds, StandardBuildSystem::StandardBuildSystemPropertyCount)
                  + byReference(builds, GCCBuildSystem::GCCBuildSystemPropertyCount)
                  + byReference(builds, ARMBuildSystem::ARMBuildSystemPropertyCount),
              build);
}

TEST_F(TargetDefinitions, namesDefinedTwiceAreDistinctClassesAndLookUpsFindTheFirst)
{
    // Only linker_keep_symbols is defined twice alike.
    const struct { const PropertyClass *first, *second, *found; bool alike; } pairs[] = {
        {builds.propertyClass(B::BuildExecutableFileName), builds.propertyClass(B::BuildLibraryFileName),
         B::findPropertyClass("build_output_file_name"), false},
        {projects.propertyClass(PS::FolderFilter), projects.propertyClass(PS::DynamicFolderFilter),
         projects.findPropertyClass("filter"), false},
        {builds.propertyClass(B::ArmLinkerStackSize), builds.propertyClass(B::ArmLinkerMainStackSize),
         B::findPropertyClass("arm_linker_stack_size"), false},
        {builds.propertyClass(B::LinkerKeepSymbols), builds.propertyClass(B::LinkerKeepSymbolsRepeated),
         B::findPropertyClass("linker_keep_symbols"), true},
    };
    for (const auto &pair : pairs) {
        SCOPED_TRACE(pair.first->name().toStdString());
        EXPECT_NE(pair.first, pair.second);
        EXPECT_EQ(pair.first->name(), pair.second->name());
        EXPECT_EQ(pair.first->shortTitle() == pair.second->shortTitle(), pair.alike);
        EXPECT_EQ(pair.first->longText() == pair.second->longText(), pair.alike);
        EXPECT_EQ(pair.found, pair.first);
    }
    EXPECT_EQ(projects.propertyClass(PS::FolderFilter)->type(), PropertyClass::StringList);
    EXPECT_EQ(projects.propertyClass(PS::DynamicFolderFilter)->type(), PropertyClass::String);
    EXPECT_EQ(B::findPropertyClass("no_such_property"), nullptr);
}

TEST(TargetDefinitionLookUp, findsTheClassesOfTheFirstSystemMadeWhileItLives)
{
    auto first = std::make_unique<ARMBuildSystem>();
    const PropertyClass *firstArchitecture = first->propertyClass(B::ArmArchitecture);
    {
        const ARMBuildSystem second;
        EXPECT_NE(second.propertyClass(B::ArmArchitecture), firstArchitecture);
        EXPECT_EQ(B::findPropertyClass("arm_architecture"), firstArchitecture);
    }
    EXPECT_EQ(B::findPropertyClass("arm_architecture"), firstArchitecture);
    // When the first goes, a look-up finds the next system's class.
    const ARMBuildSystem third;
    first.reset();
    EXPECT_EQ(B::findPropertyClass("arm_architecture"), third.propertyClass(B::ArmArchitecture));
}

TEST_F(TargetDefinitions, onlyTheNamedGeneralDefinitionsChangeTheirFlags)
{
    const QSet<PS::Property> readOnly{PS::DateCreated, PS::DateModified, PS::PlatformName, PS::FullPath,
                                      PS::RelativePath, PS::NodeName, PS::FileName, PS::DynamicFolderPath,
                                      PS::DynamicFolderFilter, PS::DynamicFolderRecurse, PS::ProjectName,
                                      PS::ProjectDirectory, PS::FullProjectDirectory, PS::NumElements};
    const QSet<PS::Property> commonOnly{PS::FileCodec, PS::FileOpenWith, PS::FileType, PS::FileTag,
                                        PS::FolderFilter, PS::ProjectType, PS::BatchBuildConfigurations};
    for (int id = 0; id < PS::ProjectSystemPropertyCount; ++id) {
        const PropertyClass *propertyClass = projects.propertyClass(PS::Property(id));
        SCOPED_TRACE(propertyClass->name().toStdString());
        EXPECT_EQ(propertyClass->isReadOnly(), readOnly.contains(PS::Property(id)));
        EXPECT_EQ(propertyClass->isPerConfiguration(), !commonOnly.contains(PS::Property(id)));
    }
    for (const PropertyClass *propertyClass : builds.propertyClasses()) {
        SCOPED_TRACE(propertyClass->name().toStdString());
        EXPECT_FALSE(propertyClass->isReadOnly());
        EXPECT_TRUE(propertyClass->isPerConfiguration());
    }
}

TEST_F(TargetDefinitions, valuesReadAsTheirColumnsSay)
{
    // Every Boolean of every layer defaults to "No" or "Yes", never to
    // nothing, and an unset value reads as that default.
    for (const PropertyClass *propertyClass : projects.propertyClasses() + builds.propertyClasses()) {
        if (propertyClass->type() != PropertyClass::Boolean)
            continue;
        SCOPED_TRACE(propertyClass->name().toStdString());
        EXPECT_TRUE(propertyClass->defaultValue() == "No" || propertyClass->defaultValue() == "Yes");
        EXPECT_EQ(SimplePropertyValue(const_cast<PropertyClass *>(propertyClass)).boolValue(),
                  propertyClass->defaultValue() == "Yes");
    }
    EXPECT_EQ(builds.propertyClass(B::CppEnableExceptions)->defaultValue(), "No");

    // The gap fill is one byte, written with two hexadecimal digits.
    SimplePropertyValue gapFill(builds.propertyClass(B::ArmLinkerGapFill));
    EXPECT_EQ(gapFill.intValue(), 0);
    gapFill.setValue(255);
    EXPECT_EQ(std::pair(gapFill.value(), gapFill.intValue()), std::pair(QStringLiteral("0xff"), 255));

    // An enumeration value reads as its position among the choices, and an
    // unset one as the position of its default.
    SimplePropertyValue architecture(builds.propertyClass(B::ArmArchitecture));
    EXPECT_EQ(architecture.intValue(), 0);
    architecture.setValue(5);
    EXPECT_EQ(architecture.value(), "v7M");
    EXPECT_EQ(SimplePropertyValue(builds.propertyClass(B::ArmCoreType)).intValue(), 11);

    // The encodings offered for a file are the ones the tool can convert.
    QStringList codecs = projects.propertyClass(PS::FileCodec)->enumerates();
    EXPECT_EQ(projects.propertyClass(PS::FileCodec)->defaultValue(), "Default");
    ASSERT_FALSE(codecs.isEmpty());
    EXPECT_EQ(codecs.first(), "Default");
    EXPECT_TRUE(codecs.contains("UTF-8") && codecs.contains("ISO-8859-1"));
    EXPECT_EQ(codecs.removeDuplicates(), 0);
}

TEST(TargetSystems, eachProjectSystemLayerAnswersItsTypesExtensionsAndPlatform)
{
    const StandardProjectSystem standard;
    const GCCProjectSystem gcc(".out");
    const ARMProjectSystem arm;
    const struct { const ProjectSystem &system; const char *executable, *platform; } layers[] = {
        {standard, "", ""}, {gcc, ".out", ""}, {arm, ".elf", "ARM"}};
    for (const auto &layer : layers) {
        SCOPED_TRACE(layer.executable);
        EXPECT_EQ(layer.system.projectTypes(), (QStringList{"Executable", "Library", "Object file", "Staging",
                                                             "Combining", "Externally Built Executable"}));
        EXPECT_EQ(layer.system.fileTypes().size(), 14);
        EXPECT_EQ(QStringList({layer.system.fileTypes().first(), layer.system.fileTypes().last(),
                               layer.system.objectFileExtension(), layer.system.libraryFileExtension(),
                               layer.system.executableFileExtension()}),
                  QStringList({"C", "Object file", ".o", ".a", layer.executable}));
        // The platform belongs to the ARM layer; the classes below stay as
        // they were defined.
        EXPECT_EQ(layer.system.propertyClass(PS::PlatformName)->defaultValue(), layer.platform);
    }
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
    EnvironmentPropertyValue *root = settings.setting("Environment/Build/Tool Chain Root Directory");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->propertyClass()->defaultValue(), "$(StudioDir)");
    const GCCBuildSystem gcc("$(StudioDir)/gcc/bin");
    EXPECT_EQ(root->propertyClass()->defaultValue(), "$(StudioDir)");
    const ARMBuildSystem arm;
    EXPECT_EQ(root->propertyClass()->defaultValue(), "$(StudioDir)/gcc");
    EXPECT_EQ(root->value(), "$(StudioDir)/gcc");
    EnvironmentSettings::setCurrent(nullptr);
}

TEST_F(TargetDefinitions, aFreshArmProjectSeesTheDefaultsOfItsTarget)
{
    ProjectNode solution(NodeKind::Solution);
    auto *project = new ProjectNode(NodeKind::Project);
    solution.addChild(project);
    // Representative rows of each layer and the defaults written as numbers
    // or built from macros.
    const struct { const char *name, *value; } defaults[] = {
        {"project_type", "Executable"},  {"Platform", "ARM"},           {"arm_architecture", "v4T"},
        {"arm_core_type", "None"},       {"arm_endian", "Little"},      {"arm_fp_abi", "Soft"},
        {"arm_linker_stack_size", "1024"}, {"arm_linker_svc_stack_size", "0"}, {"build_quietly", "Yes"},
        {"build_treat_warnings_as_errors", "No"}, {"arm_interwork", "Yes"}, {"gcc_entry_point", "0x00000000"},
        {"build_output_file_name", "$(OutDir)/$(ProjectName)$(EXE)"},
    };
    for (const auto &row : defaults) {
        const PropertyClass *propertyClass = B::findPropertyClass(row.name);
        ASSERT_NE(propertyClass, nullptr) << row.name;
        EXPECT_EQ(PS::getPropertyValue(project, propertyClass, "Debug"), row.value) << row.name;
    }
}
