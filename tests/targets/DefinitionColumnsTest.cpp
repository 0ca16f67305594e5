// What the definition columns make of values: the flags of the general
// definitions, Boolean defaults, ranges and the positions of choices.

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

class DefinitionColumns : public testing::Test {
protected:
    const ARMProjectSystem projects;
    const ARMBuildSystem builds;
};

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
