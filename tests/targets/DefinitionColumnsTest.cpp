// The columns of the definitions whose every column matters: types, pages,
// groups, titles, defaults, choices, ranges and flags.

#include "properties/PropertyClass.h"
#include "properties/PropertyValue.h"
#include "targets/ARMBuildSystem.h"
#include "targets/ARMProjectSystem.h"

#include <gtest/gtest.h>

#include <QSet>

namespace {

using enum PropertyClass::Type;
using PS = ProjectSystem;
using B = ARMBuildSystem;

struct Columns {
    const PropertyClass *propertyClass;
    PropertyClass::Type type;
    const char *page;
    const char *group;
    const char *shortTitle;
    const char *defaultValue;
    QStringList choices = {};
    int minimum = 0;
    int maximum = 0;
    const char *suffix = "";
    const char *specialValue = "";
    const char *longText = nullptr;   // checked when given
};

void expectColumns(const Columns &row)
{
    ASSERT_NE(row.propertyClass, nullptr);
    SCOPED_TRACE(row.propertyClass->name().toStdString() + " / " + row.shortTitle);
    EXPECT_EQ(row.propertyClass->type(), row.type);
    EXPECT_EQ(row.propertyClass->page(), row.page);
    EXPECT_EQ(row.propertyClass->group(), row.group);
    EXPECT_EQ(row.propertyClass->shortTitle(), row.shortTitle);
    EXPECT_EQ(row.propertyClass->defaultValue(), row.defaultValue);
    EXPECT_EQ(row.propertyClass->enumerateTexts(), row.choices);
    EXPECT_EQ(row.propertyClass->minimum(), row.minimum);
    EXPECT_EQ(row.propertyClass->maximum(), row.maximum);
    EXPECT_EQ(row.propertyClass->suffix(), row.suffix);
    EXPECT_EQ(row.propertyClass->specialValue(), row.specialValue);
    if (row.longText) {
        EXPECT_EQ(row.propertyClass->longText(), row.longText);
    }
}

class DefinitionColumns : public testing::Test {
protected:
    const ARMProjectSystem projects;
    const ARMBuildSystem builds;
};

TEST_F(DefinitionColumns, rowsOfEveryLayerCarryTheirColumnsExactly)
{
    const char *const cc = "C/C++";
    const char *const codeGeneration = "Code Generation Options";
    const int largest = 2147483647;
    const Columns rows[] = {
        {projects.propertyClass(PS::ProjectType), Enumeration, "Build", "Build Options", "Project Type", "Executable",
         {"Executable", "Library", "Object file", "Staging", "Combining", "Externally Built Executable"}},
        {projects.propertyClass(PS::FileType), Enumeration, "General", "File Options", "File Type", "Default",
         {"Default", "C", "C++", "Basic", "Assembly", "Section Placement", "Memory Map", "Target Definitions",
          "Threads Script", "Target Script", "Reset Script", "Linker Script", "Executable", "Library", "Object file"},
         0, 0, "", "", "The type of file. Default setting uses the file extension to determine file type."},
        {projects.propertyClass(PS::FileOpenWith), Enumeration, "General", "File Options", "File Open Action", "Default",
         {"Default", "Text Editor", "Binary Editor", "Datasheet Viewer", "Web Browser", "Run File"}},
        {projects.propertyClass(PS::FileTag), Enumeration, "General", "File Options", "Tag", "None",
         {"None", "Red", "Orange", "Yellow", "Green", "Blue", "Purple", "Dark Red"}},
        {projects.propertyClass(PS::InheritedConfigurations), StringList, "Build", "General Options",
         "Inherited Configurations", "", {}, 0, 0, "", "",
         "The list of configurations that are inherited by this configuration."},
        {builds.propertyClass(B::BuildIntermediateDirectory), FileName, "Build", "Build Options", "Intermediate Directory",
         "$(Configuration)", {}, 0, 0, "", "",
         "Specifies a relative path to the intermediate file directory. This property will have macro expansion "
         "applied to it. The macro $(IntDir) is set to this value."},
        {builds.propertyClass(B::BuildObjectFileName), FileName, cc, "Compiler Options", "Object File Name",
         "$(IntDir)/$(InputName)$(OBJ)"},
        {builds.propertyClass(B::BuildLibraryFileName), FileName, "Library", "Library Options", "Library File Name",
         "$(OutDir)/$(ProjectName)$(LIB)"},
        {builds.propertyClass(B::StageCommand), String, "Staging", "Staging Options", "Stage Command",
         "cp \"$(RelInputPath)\" \"$(StageOutputFilePath)\""},
        {builds.propertyClass(B::LinkIOLibraryName), Enumeration, "Linker", "Library Options", "I/O Library Name",
         "target", {"debug", "target", "none"}, 0, 0, "", "", "Specifies the IO library (printf etc) to use."},
        {builds.propertyClass(B::CSystemIncludeDirectories), StringList, cc, "Preprocessor Options",
         "System Include Directories", "$(StudioDir)/include;$(PackagesDir)/include"},
        {builds.propertyClass(B::DefaultVectorSection), String, cc, "Section Options", "Vector Section Name",
         ".vectors"},
        {builds.propertyClass(B::LinkerSectionPlacementFile), ProjFileName, "Linker", "Linker Options",
         "Section Placement File", "$(StudioDir)/targets/section_placement.xml", {}, 0, 0, "", "XML (*.xml)"},
        {builds.propertyClass(B::ArmLinkerJtagPadPreIr), IntegerRange, "Debugger", "JTAG Chain Options",
         "JTAG Instruction Bits Before", "0", {}, 0, 1024, "bits"},
        {builds.propertyClass(B::GccOptimizationLevel), Enumeration, cc, codeGeneration, "Optimization Level", "None",
         {"None", "Level 1", "Level 2", "Level 3", "Optimize For Size"}},
        {builds.propertyClass(B::GccEntryPoint), String, "Linker", "Linker Options", "Entry Point", "0x00000000"},
        {builds.propertyClass(B::ArmCoreType), Enumeration, cc, codeGeneration, "ARM Core Type", "None",
         {"ARM7TDMI", "ARM7TDMI-S", "ARM720T", "ARM920T", "ARM946E-S", "ARM966E-S", "ARM926EJ-S", "Cortex-M0",
          "Cortex-M1", "Cortex-M3", "XScale", "None"}},
        {builds.propertyClass(B::ArmFpFormat), Enumeration, "Debugger", "Debugger Options", "ARM Floating Point Format",
         "Software VFP", {"Software VFP", "Software FPA"}},
        {builds.propertyClass(B::ArmTargetDebugInterfaceType), Enumeration, "Debugger", "Target Control Options",
         "ARM Debug Interface", "ARM7TDI", {"ARM7DI", "ARM7TDI", "ARM9TDI", "XScale", "XScale7BitIR", "ADIv5", "Feroceon"}},
        {builds.propertyClass(B::ArmTargetFlashLoaderType), Enumeration, "Debugger", "Target Loader Options",
         "Loader File Type", "Comms Channel Loader",
         {"Comms Channel Loader", "Fast Comms Channel Loader", "RAM Loader", "KESTRA RPC Loader"}},
        {builds.propertyClass(B::ArmTargetReadWriteSoftwareBreakpoints), Enumeration, "Debugger", "Debugger Options",
         "Read-write Software Breakpoints", "Dynamic", {"Disabled", "Permanent", "Dynamic"}},
        {builds.propertyClass(B::ArmLinkerHeapSize), IntegerRange, "Linker", "Runtime Memory Area Options", "Heap Size",
         "1024", {}, 0, largest},
        {builds.propertyClass(B::ArmLinkDebugioType), Enumeration, "Linker", "Linker Options", "DebugIO Implementation",
         "Default", {"Default", "Breakpoint", "DCC", "Memory Poll"}},
        {builds.propertyClass(B::ArmLinkerGapFill), IntegerHex, "Linker", "Linker Options", "Gap Fill Value", "0x00", {},
         0, 255},
    };
    for (const Columns &row : rows)
        expectColumns(row);
}

TEST_F(DefinitionColumns, onlyTheNamedGeneralDefinitionsChangeTheirFlags)
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

TEST_F(DefinitionColumns, booleansDefaultToYesOrNoAndReadNoWhereNoDefaultIsGiven)
{
    // Every Boolean of every layer defaults to "No" or "Yes", never to
    // nothing, and an unset value reads as that default.
    for (const PropertyClass *propertyClass : projects.propertyClasses() + builds.propertyClasses()) {
        if (propertyClass->type() != Boolean)
            continue;
        SCOPED_TRACE(propertyClass->name().toStdString());
        EXPECT_TRUE(propertyClass->defaultValue() == "No" || propertyClass->defaultValue() == "Yes");
        const SimplePropertyValue unset(const_cast<PropertyClass *>(propertyClass));
        EXPECT_EQ(unset.boolValue(), propertyClass->defaultValue() == "Yes");
    }
    EXPECT_EQ(builds.propertyClass(B::CppEnableExceptions)->defaultValue(), "No");
}

TEST_F(DefinitionColumns, rangesAndChoicesBoundWhatAValueHolds)
{
    // The gap fill is one byte, written with two hexadecimal digits.
    SimplePropertyValue gapFill(builds.propertyClass(B::ArmLinkerGapFill));
    EXPECT_EQ(gapFill.intValue(), 0);
    gapFill.setValue(255);
    EXPECT_EQ(gapFill.value(), "0xff");
    EXPECT_EQ(gapFill.intValue(), 255);

    // An enumeration value reads as its position among the choices, and an
    // unset one as the position of its default.
    SimplePropertyValue architecture(builds.propertyClass(B::ArmArchitecture));
    EXPECT_EQ(architecture.intValue(), 0);
    architecture.setValue(5);
    EXPECT_EQ(architecture.value(), "v7M");
    SimplePropertyValue core(builds.propertyClass(B::ArmCoreType));
    EXPECT_EQ(core.intValue(), 11);

    // The encodings offered for a file are the ones the tool can convert.
    QStringList codecs = projects.propertyClass(PS::FileCodec)->enumerates();
    EXPECT_EQ(projects.propertyClass(PS::FileCodec)->defaultValue(), "Default");
    ASSERT_FALSE(codecs.isEmpty());
    EXPECT_EQ(codecs.first(), "Default");
    EXPECT_TRUE(codecs.contains("UTF-8"));
    EXPECT_TRUE(codecs.contains("ISO-8859-1"));
    EXPECT_EQ(codecs.removeDuplicates(), 0);
}

} // namespace
