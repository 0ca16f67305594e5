#include "project/ProjectNode.h"
#include "project/ProjectNodeValue.h"
#include "project/ProjectSystem.h"
#include "properties/PropertyClass.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using PS = ProjectSystem;

// A solution with one project holding one folder holding one file; each level
// can carry configurations.
struct Tree {
    std::unique_ptr<ProjectNode> solution = std::make_unique<ProjectNode>(NodeKind::Solution);
    ProjectNode *project = new ProjectNode(NodeKind::Project);
    ProjectNode *folder = new ProjectNode(NodeKind::Folder);
    ProjectNode *file = new ProjectNode(NodeKind::File);

    Tree()
    {
        solution->addChild(project);
        project->addChild(folder);
        folder->addChild(file);
    }
    void inherit(const QString &configuration, const QString &list)
    {
        PS::setConfigurationValue(solution.get(), QStringLiteral("inherited_configurations"), configuration, list, false);
        PS::rebuildInheritedConfigurations(solution.get());
    }
};

PropertyClass stringClass(QStringLiteral("P"), PropertyClass::String, QString(), QString(), QString(), QString(),
                          QStringLiteral("default"));
PropertyClass listClass(QStringLiteral("L"), PropertyClass::StringList, QString(), QString(), QString(), QString(),
                        QStringLiteral("listdefault"));

TEST(PropertyLookup, nearestNodeWinsThenSolutionCommonThenDefault)
{
    Tree tree;
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
    Tree tree;
    tree.inherit("ARM Debug", ";ARM;;Debug");
    EXPECT_EQ(tree.solution->inheritedConfigurations().value("ARM Debug"), (QStringList{"ARM", "Debug"}));

    PS::setConfigurationValue(tree.project, "P", "Common", "project common", false);
    EXPECT_EQ(PS::getPropertyValue(tree.file, &stringClass, "ARM Debug"), "project common");
    PS::setConfigurationValue(tree.project, "P", "Debug", "project debug", false);
    EXPECT_EQ(PS::getPropertyValue(tree.file, &stringClass, "ARM Debug"), "project debug");
    PS::setConfigurationValue(tree.project, "P", "ARM", "project arm", false);
    EXPECT_EQ(PS::getPropertyValue(tree.file, &stringClass, "ARM Debug"), "project arm");
    PS::setConfigurationValue(tree.project, "P", "ARM Debug", "project arm debug", false);
    EXPECT_EQ(PS::getPropertyValue(tree.file, &stringClass, "ARM Debug"), "project arm debug");

    // Only the asked configuration's own list is followed: what "ARM"
    // inherits plays no part in a look-up of "ARM Debug".
    tree.inherit("ARM", "Thumb");
    PS::setConfigurationValue(tree.file, "P", "Thumb", "file thumb", false);
    EXPECT_EQ(PS::getPropertyValue(tree.file, &stringClass, "ARM Debug"), "project arm debug");
    EXPECT_EQ(PS::getPropertyValue(tree.file, &stringClass, "ARM"), "file thumb");
    PS::setConfigurationValue(tree.file, "P", "Debug", "file debug", false);
    EXPECT_EQ(PS::getPropertyValue(tree.file, &stringClass, "ARM Debug"), "file debug");
}

TEST(PropertyLookup, stringListsCollectEveryLevelMostSpecificFirst)
{
    Tree tree;
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

TEST(PropertyLookup, configurationIndexAndInheritedListsFollowEdits)
{
    Tree tree;
    ProjectNode *first = PS::addConfiguration(tree.project, "Debug", true);
    ProjectNode *second = PS::addConfiguration(tree.project, "Debug", false);
    EXPECT_TRUE(first->createdFlag());
    EXPECT_TRUE(first->propertyFlag("Name"));
    EXPECT_EQ(tree.project->findConfiguration("Debug"), second);
    EXPECT_EQ(first->nextSibling(), second);

    PS::setInheritedConfigurations(tree.file, "Debug", {"A", "B"});
    EXPECT_EQ(tree.solution->findConfiguration("Debug")->getProperty("inherited_configurations"), "A;B");
    EXPECT_EQ(tree.solution->inheritedConfigurations().value("Debug"), (QStringList{"A", "B"}));

    EXPECT_TRUE(tree.project->isModified());
    PS::clearModified(tree.solution.get(), false, true);
    EXPECT_FALSE(tree.project->isModified());
    EXPECT_FALSE(first->isModified());
    EXPECT_TRUE(first->changeTimes().isEmpty());
}

TEST(PropertyLookup, aNodeValueReadsThroughTheTreeAndWritesTheNodesOwnConfiguration)
{
    Tree tree;
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

TEST(ProjectNode, propertiesRecordChangesAndNamesFallBack)
{
    ProjectNode node(NodeKind::Folder);
    EXPECT_EQ(node.nodeName(), "<NULL>");
    node.storeProperty("Name", "");
    EXPECT_EQ(node.nodeName(), "<NULL>");
    EXPECT_FALSE(node.isModified());
    EXPECT_TRUE(node.changeTimes().isEmpty());

    node.setProperty("Name", "Source Files", true);
    EXPECT_EQ(node.nodeName(), "Source Files");
    EXPECT_TRUE(node.isModified());
    EXPECT_TRUE(node.propertyFlag("Name"));
    EXPECT_TRUE(node.changeTimes().contains("Name"));

    node.setModified(false);
    node.removeProperty("Name");
    EXPECT_FALSE(node.hasProperty("Name"));
    EXPECT_TRUE(node.getProperty("Name").isNull());
    EXPECT_TRUE(node.isModified());
}

} // namespace
