// The classes each layer defines, in order, and how look-ups by name meet the
// names defined twice.

#include "properties/PropertyClass.h"
#include "properties/PropertyClassList.h"
#include "targets/ARMBuildSystem.h"
#include "targets/ARMProjectSystem.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// The first and last names of each layer's rows and how many rows it has:
// a row moved across a layer boundary, lost or doubled shows here.
struct Layer {
    qsizetype count;
    const char *first;
    const char *last;
};

void expectLayer(const QList<PropertyClass *> &classes, qsizetype from, const Layer &layer)
{
    ASSERT_GE(classes.size(), from + layer.count) << layer.first;
    EXPECT_EQ(classes[from]->name().toStdString(), layer.first);
    EXPECT_EQ(classes[from + layer.count - 1]->name().toStdString(), layer.last);
}

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

TEST(DefinitionOrder, eachLayerDefinesItsClassesInOrderAndReachesEachDirectly)
{
    const ARMProjectSystem projectSystem;
    const ARMBuildSystem buildSystem;

    ASSERT_EQ(projectSystem.propertyClasses().size(), 24);
    expectLayer(projectSystem.propertyClasses(), 0, {24, "date_created", "num_elements"});
    EXPECT_EQ(byReference(projectSystem, ProjectSystem::ProjectSystemPropertyCount),
              projectSystem.propertyClasses());

    // The layers define their classes base first.
    const QList<PropertyClass *> classes = buildSystem.propertyClasses();
    ASSERT_EQ(classes.size(), 23 + 84 + 5 + 60);
    expectLayer(classes, 0, {23, "build_treat_warnings_as_errors", "combine_set_readonly"});
    expectLayer(classes, 23, {84, "link_include_standard_libraries", "debug_startup_completion_point"});
    expectLayer(classes, 107, {5, "gcc_optimization_level", "gcc_emit_assembler_cfi"});
    expectLayer(classes, 112, {60, "arm_instruction_set", "arm_linker_process_stack_size"});
    const QList<PropertyClass *> referenced =
        byReference(buildSystem, BuildSystem::BuildSystemPropertyCount)
        + byReference(buildSystem, StandardBuildSystem::StandardBuildSystemPropertyCount)
        + byReference(buildSystem, GCCBuildSystem::GCCBuildSystemPropertyCount)
        + byReference(buildSystem, ARMBuildSystem::ARMBuildSystemPropertyCount);
    EXPECT_EQ(referenced, classes);
}

TEST(DefinitionOrder, everyClassJoinsTheProcessWideListInCreationOrderAndLeavesItWithItsOwner)
{
    PropertyClassList &global = PropertyClassList::global();
    const qsizetype before = global.size();
    {
        const ARMProjectSystem projectSystem;
        const ARMBuildSystem buildSystem;
        ASSERT_EQ(global.size(), before + 24 + 172);
        EXPECT_EQ(global.mid(before, 24), projectSystem.propertyClasses());
        EXPECT_EQ(global.mid(before + 24), buildSystem.propertyClasses());
    }
    EXPECT_EQ(global.size(), before);
}

TEST(DefinitionOrder, namesDefinedTwiceAreDistinctClassesAndLookUpsFindTheFirst)
{
    const ARMProjectSystem projectSystem;
    const ARMBuildSystem buildSystem;

    // The first of two classes of one name is the one a look-up finds; only
    // linker_keep_symbols is defined twice alike.
    const struct {
        const PropertyClass *first;
        const PropertyClass *second;
        const PropertyClass *found;
        bool alike;
    } pairs[] = {
        {buildSystem.propertyClass(BuildSystem::BuildExecutableFileName),
         buildSystem.propertyClass(BuildSystem::BuildLibraryFileName),
         BuildSystem::findPropertyClass("build_output_file_name"), false},
        {projectSystem.propertyClass(ProjectSystem::FolderFilter),
         projectSystem.propertyClass(ProjectSystem::DynamicFolderFilter), projectSystem.findPropertyClass("filter"),
         false},
        {buildSystem.propertyClass(ARMBuildSystem::ArmLinkerStackSize),
         buildSystem.propertyClass(ARMBuildSystem::ArmLinkerMainStackSize),
         BuildSystem::findPropertyClass("arm_linker_stack_size"), false},
        {buildSystem.propertyClass(StandardBuildSystem::LinkerKeepSymbols),
         buildSystem.propertyClass(StandardBuildSystem::LinkerKeepSymbolsRepeated),
         BuildSystem::findPropertyClass("linker_keep_symbols"), true},
    };
    for (const auto &pair : pairs) {
        SCOPED_TRACE(pair.first->name().toStdString());
        EXPECT_NE(pair.first, pair.second);
        EXPECT_EQ(pair.first->name(), pair.second->name());
        EXPECT_EQ(pair.first->shortTitle() == pair.second->shortTitle(), pair.alike);
        EXPECT_EQ(pair.first->longText() == pair.second->longText(), pair.alike);
        EXPECT_EQ(pair.found, pair.first);
    }
    EXPECT_EQ(projectSystem.propertyClass(ProjectSystem::FolderFilter)->type(), PropertyClass::StringList);
    EXPECT_EQ(projectSystem.propertyClass(ProjectSystem::DynamicFolderFilter)->type(), PropertyClass::String);
    EXPECT_EQ(BuildSystem::findPropertyClass("no_such_property"), nullptr);
}

TEST(DefinitionOrder, aLookUpFindsTheClassesOfTheFirstSystemMadeWhileItLives)
{
    auto first = std::make_unique<ARMBuildSystem>();
    const PropertyClass *firstArchitecture = first->propertyClass(ARMBuildSystem::ArmArchitecture);
    {
        const ARMBuildSystem second;
        EXPECT_NE(second.propertyClass(ARMBuildSystem::ArmArchitecture), firstArchitecture);
        EXPECT_EQ(BuildSystem::findPropertyClass("arm_architecture"), firstArchitecture);
    }
    EXPECT_EQ(BuildSystem::findPropertyClass("arm_architecture"), firstArchitecture);

    // When the first goes, a look-up finds the next system's class.
    const ARMBuildSystem third;
    first.reset();
    EXPECT_EQ(BuildSystem::findPropertyClass("arm_architecture"), third.propertyClass(ARMBuildSystem::ArmArchitecture));
}

} // namespace
