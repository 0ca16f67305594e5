// The property classes of the ARM project and build systems: their layers and
// order, look-ups by name, what the definition columns make of values, and
// what the layers above the definitions add.

#include "properties/PropertyClass.h"
#include "properties/PropertyValue.h"
#include "settings/EnvironmentPropertyValue.h"
#include "settings/EnvironmentSettings.h"
#include "targets/ARMBuildSystem.h"
#include "targets/ARMProjectSystem.h"

#include <gtest/gtest.h>

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

} // namespace

TEST(TargetDefinitions, layersDefineTheirClassesInOrderSayHowValuesReadAndMoveTheToolChainRoot)
{
    // The ARM build system moves the tool chain root of the current settings
    // to its GCC tools. A look-up finds the classes of the first system made
    // while it lives; when it goes, those of the next (the look-ups below).
    ARMLanternwickEnvironmentSettings settings;
    settings.setSaveEnabled(false);
    settings.defineProperties();
    EnvironmentSettings::setCurrent(&settings);
    EnvironmentPropertyValue *root = settings.setting("Environment/Build/Tool Chain Root Directory");
    ASSERT_NE(root, nullptr);
    auto gccTools = std::make_unique<GCCBuildSystem>("$(StudioDir)/gcc/bin");
    EXPECT_EQ(root->propertyClass()->defaultValue(), "$(StudioDir)");
    const ARMBuildSystem builds;
    EXPECT_EQ(root->propertyClass()->defaultValue(), "$(StudioDir)/gcc");
    EXPECT_EQ(root->value(), "$(StudioDir)/gcc");
    {
        const ARMBuildSystem later;
        EXPECT_NE(later.propertyClass(B::ArmArchitecture), builds.propertyClass(B::ArmArchitecture));
        EXPECT_EQ(B::findPropertyClass("arm_architecture"), builds.propertyClass(B::ArmArchitecture));
    }
    EXPECT_EQ(B::findPropertyClass("build_output_file_name"), gccTools->propertyClass(B::BuildExecutableFileName));
    gccTools.reset();

    const StandardProjectSystem standard;
    const GCCProjectSystem gcc(".out");
    const ARMProjectSystem projects;
    const QList<PropertyClass *> general = projects.propertyClasses(), build = builds.propertyClasses();
    ASSERT_EQ(general.size(), 24);
    ASSERT_EQ(build.size(), 23 + 84 + 5 + 60);
    // A row lost, doubled or moved across a layer boundary changes a count or
    // puts a reference out of step with the list.
    EXPECT_EQ(byReference(projects, PS::ProjectSystemPropertyCount), general);
    EXPECT_EQ(byReference(builds, BuildSystem::BuildSystemPropertyCount)
                  + byReference(builds, StandardBuildSystem::StandardBuildSystemPropertyCount)
                  + byReference(builds, GCCBuildSystem::GCCBuildSystemPropertyCount)
                  + byReference(builds, ARMBuildSystem::ARMBuildSystemPropertyCount),
              build);

    // The platform belongs to the ARM layer; the classes below stay as they
    // were defined.
    const struct { const ProjectSystem &system; const char *executable, *platform; } layers[] = {
        {standard, "", ""}, {gcc, ".out", ""}, {projects, ".elf", "ARM"}};
    for (const auto &layer : layers) {
        EXPECT_EQ(layer.system.executableFileExtension(), layer.executable);
        EXPECT_EQ(layer.system.propertyClass(PS::PlatformName)->defaultValue(), layer.platform) << layer.executable;
    }

    // Names defined twice are distinct classes; a look-up finds the first.
    const struct { const PropertyClass *first, *second, *found; } pairs[] = {
        {builds.propertyClass(B::BuildExecutableFileName), builds.propertyClass(B::BuildLibraryFileName),
         B::findPropertyClass("build_output_file_name")},
        {projects.propertyClass(PS::FolderFilter), projects.propertyClass(PS::DynamicFolderFilter),
         projects.findPropertyClass("filter")},
    };
    for (const auto &pair : pairs) {
        SCOPED_TRACE(pair.first->name().toStdString());
        EXPECT_NE(pair.first, pair.second);
        EXPECT_EQ(pair.first->name(), pair.second->name());
        EXPECT_EQ(pair.found, pair.first);
    }
    EXPECT_EQ(projects.propertyClass(PS::FolderFilter)->type(), PropertyClass::StringList);
    EXPECT_EQ(projects.propertyClass(PS::DynamicFolderFilter)->type(), PropertyClass::String);
    EXPECT_EQ(B::findPropertyClass("no_such_property"), nullptr);

    // Every Boolean of every layer defaults to "No" or "Yes", never to
    // nothing, and an unset value reads as that default.
    for (const PropertyClass *propertyClass : general + build) {
        if (propertyClass->type() != PropertyClass::Boolean)
            continue;
        SCOPED_TRACE(propertyClass->name().toStdString());
        EXPECT_TRUE(propertyClass->defaultValue() == "No" || propertyClass->defaultValue() == "Yes");
        EXPECT_EQ(SimplePropertyValue(const_cast<PropertyClass *>(propertyClass)).boolValue(),
                  propertyClass->defaultValue() == "Yes");
    }

    // The gap fill is one byte, written with two hexadecimal digits.
    SimplePropertyValue gapFill(builds.propertyClass(B::ArmLinkerGapFill));
    gapFill.setValue(255);
    EXPECT_EQ(std::pair(gapFill.value(), gapFill.intValue()), std::pair(QStringLiteral("0xff"), 255));

    // The encodings offered for a file are the ones the tool can convert.
    QStringList codecs = projects.propertyClass(PS::FileCodec)->enumerates();
    EXPECT_EQ(codecs.value(0), "Default");
    EXPECT_TRUE(codecs.contains("UTF-8") && codecs.contains("ISO-8859-1"));
    EXPECT_EQ(codecs.removeDuplicates(), 0);
}
