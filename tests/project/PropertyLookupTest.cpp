#include "ProjectFixtures.h"

#include "project/ProjectNodeValue.h"
#include "properties/PropertyClass.h"

namespace {

using PS = ProjectSystem;

PropertyClass stringClass(QStringLiteral("P"), PropertyClass::String, QString(), QString(), QString(), QString(),
                          QStringLiteral("default"));
PropertyClass listClass(QStringLiteral("L"), PropertyClass::StringList, QString(), QString(), QString(), QString(),
                        QStringLiteral("listdefault"));

TEST(PropertyLookup, nearestNodeWinsThenSolutionCommonThenDefault)
{
    ProjectTree tree;
    PS::setConfigurationValue(tree.project, "P", "Debug", "project debug", false);
    PS::setConfigurationValue(tree.solution.get(), "P", "Common", "solution common", false);

    EXPECT_EQ(PS::getPropertyValue(tree.file, &stringClass, "Debug"), "project debug");
    EXPECT_EQ(PS::getPropertyValue(tree.file, &stringClass, "Release"), "solution common");
    EXPECT_EQ(PS::getPropertyValue(tree.file, &listClass, "Release"), "listdefault");

    // A value present but empty is found and hides everything above it.
    PS::setConfigurationValue(tree.folder, "P", "Release", "", false);
    const QString hidden = PS::getPropertyValue(tree.file, &stringClass, "Release");
    EXPECT_TRUE(hidden.isEmpty());
    EXPECT_FALSE(hidden.isNull());

    // Asking for "Common" itself never looks at named configurations.
    EXPECT_EQ(PS::getPropertyValue(tree.file, &stringClass, "Common"), "solution common");
    EXPECT_EQ(PS::getOwnPropertyValue(tree.project, &stringClass, "Debug"), "project debug");
    EXPECT_TRUE(PS::getOwnPropertyValue(tree.file, &stringClass, "Debug").isNull());
}

TEST(PropertyLookup, inheritedConfigurationsComeInListOrderBeforeCommon)
{
    ProjectTree tree;
    tree.inherit("ARM Debug", ";ARM;;Debug");
    tree.inherit("ARM", "Thumb");
    EXPECT_EQ(tree.solution->inheritedConfigurations().value("ARM Debug"), (QStringList{"ARM", "Debug"}));

    // Each value is set on top of the ones before it. Only the asked
    // configuration's own list is followed: what "ARM" inherits plays no part
    // in a look-up of "ARM Debug".
    const struct { ProjectNode *node; const char *configuration, *value, *armDebug, *arm; } steps[] = {
        {tree.project, "Common", "project common", "project common", "project common"},
        {tree.project, "Debug", "project debug", "project debug", "project common"},
        {tree.project, "ARM", "project arm", "project arm", "project arm"},
        {tree.project, "ARM Debug", "project arm debug", "project arm debug", "project arm"},
        {tree.file, "Thumb", "file thumb", "project arm debug", "file thumb"},
        {tree.file, "Debug", "file debug", "file debug", "file thumb"},
    };
    for (const auto &step : steps) {
        PS::setConfigurationValue(step.node, "P", step.configuration, step.value, false);
        EXPECT_EQ(PS::getPropertyValue(tree.file, &stringClass, "ARM Debug"), step.armDebug) << step.value;
        EXPECT_EQ(PS::getPropertyValue(tree.file, &stringClass, "ARM"), step.arm) << step.value;
    }
}

TEST(PropertyLookup, stringListsCollectEveryLevelMostSpecificFirst)
{
    ProjectTree tree;
    tree.inherit("Debug", "Base");
    PS::setConfigurationValue(tree.file, "L", "Debug", "f", false);
    PS::setConfigurationValue(tree.project, "L", "Debug", "p", false);
    PS::setConfigurationValue(tree.project, "L", "Base", "pb", false);
    PS::setConfigurationValue(tree.project, "L", "Common", "pc", false);
    PS::setConfigurationValue(tree.solution.get(), "L", "Debug", "s", false);

    ValueTrace trace;
    EXPECT_EQ(PS::getPropertyValue(tree.file, &listClass, "Debug", &trace), "f;p;pb;pc;s");
    // The trace names each supplying configuration except "Common".
    ASSERT_EQ(trace.size(), 4);
    EXPECT_EQ(trace[0].value, "f");
    EXPECT_EQ(trace[0].node, tree.file);
    EXPECT_EQ(trace[2].configuration, "Base");
    EXPECT_EQ(trace[3].node, tree.solution.get());

    ValueTrace defaultTrace;
    EXPECT_EQ(PS::getPropertyValue(tree.file, &listClass, "Release", &defaultTrace), "pc");
    EXPECT_EQ(PS::getPropertyValue(tree.folder, &stringClass, "Release", &defaultTrace), "default");
    ASSERT_EQ(defaultTrace.size(), 1);
    EXPECT_EQ(defaultTrace[0].value, "default");
    EXPECT_TRUE(defaultTrace[0].configuration.isEmpty());
    EXPECT_EQ(defaultTrace[0].node, nullptr);
}

TEST(PropertyLookup, theLastConfigurationOfANameIsTheOneFound)
{
    ProjectTree tree;
    ProjectNode *first = PS::addConfiguration(tree.project, "Debug", true);
    ProjectNode *second = PS::addConfiguration(tree.project, "Debug", false);
    EXPECT_TRUE(first->createdFlag());
    EXPECT_TRUE(first->propertyFlag("Name"));
    EXPECT_EQ(tree.project->findConfiguration("Debug"), second);
    EXPECT_EQ(first->nextSibling(), second);
}

TEST(PropertyLookup, aNodeValueReadsThroughTheTreeAndWritesTheNodesOwnConfiguration)
{
    ProjectTree tree;
    PropertyClass common(QStringLiteral("C"), PropertyClass::String);
    common.setPerConfiguration(false);
    PS::setConfigurationValue(tree.solution.get(), "P", "Debug", "from solution", false);
    PS::setConfigurationValue(tree.solution.get(), "L", "Debug", "s1", false);

    ProjectNodeValue text(&stringClass, "Debug", tree.project);
    EXPECT_TRUE(text.isInherited());
    EXPECT_EQ(text.value(), "from solution");
    text.setValue(QStringLiteral("own"));
    EXPECT_FALSE(text.isInherited());
    EXPECT_EQ(tree.project->findConfiguration("Debug")->getProperty("P"), "own");
    EXPECT_FALSE(tree.project->findConfiguration("Debug")->propertyFlag("P"));
    EXPECT_EQ(ProjectNodeValue(&stringClass, "Release", tree.project).value(), "default");

    // A list answers with the node's own text only; its typed read falls
    // back to the default.
    ProjectNodeValue list(&listClass, "Debug", tree.project);
    EXPECT_TRUE(list.value().isNull());
    EXPECT_EQ(list.stringList(false), QStringList{"listdefault"});
    list.setValue(QStringList{"a;b", "c"});
    EXPECT_EQ(list.value(), "a\\;b;c");

    // A class kept per node, not per configuration, always lands in "Common".
    ProjectNodeValue always(&common, "Debug", tree.project, true);
    EXPECT_EQ(always.configuration(), "Common");
    always.setValue(QStringLiteral("x"));
    EXPECT_EQ(tree.project->findConfiguration("Common")->getProperty("C"), "x");
    EXPECT_TRUE(tree.project->findConfiguration("Common")->propertyFlag("C"));
}

TEST(ProjectNode, aNodeWithoutANameIsCalledNull)
{
    ProjectNode node(NodeKind::Folder);
    EXPECT_EQ(node.nodeName(), "<NULL>");
    node.storeProperty("Name", "");
    EXPECT_EQ(node.nodeName(), "<NULL>");
    node.storeProperty("Name", "Source Files");
    EXPECT_EQ(node.nodeName(), "Source Files");
}

} // namespace
