#include "project/ProjectNode.h"
#include "project/ProjectNodeValue.h"
#include "project/ProjectSystem.h"
#include "properties/PropertyClass.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using PS = ProjectSystem;

TEST(ProjectNodeValue, readsThroughTheTreeAndWritesTheNodesOwnConfiguration)
{
    PropertyClass text(QStringLiteral("t"), PropertyClass::String, QString(), QString(), QString(), QString(),
                       QStringLiteral("fallback"));
    PropertyClass list(QStringLiteral("l"), PropertyClass::StringList, QString(), QString(), QString(), QString(),
                       QStringLiteral("d"));
    PropertyClass common(QStringLiteral("c"), PropertyClass::String, QString(), QString(), QString(), QString(), QString());
    common.setPerConfiguration(false);

    auto solution = std::make_unique<ProjectNode>(NodeKind::Solution);
    auto *project = new ProjectNode(NodeKind::Project);
    solution->addChild(project);
    PS::setConfigurationValue(solution.get(), "t", "Debug", "from solution", false);
    PS::setConfigurationValue(solution.get(), "l", "Debug", "s1", false);

    ProjectNodeValue textValue(&text, "Debug", project);
    EXPECT_TRUE(textValue.isInherited());
    EXPECT_EQ(textValue.value(), "from solution");
    textValue.setValue(QStringLiteral("own"));
    EXPECT_FALSE(textValue.isInherited());
    EXPECT_EQ(project->findConfiguration("Debug")->getProperty("t"), "own");
    EXPECT_FALSE(project->findConfiguration("Debug")->propertyFlag("t"));
    EXPECT_EQ(ProjectNodeValue(&text, "Release", project).value(), "fallback");

    // A list answers with the node's own text only; its typed read falls
    // back to the default.
    ProjectNodeValue listValue(&list, "Debug", project);
    EXPECT_TRUE(listValue.value().isNull());
    EXPECT_EQ(listValue.stringList(false), QStringList{"d"});
    listValue.setValue(QStringList{"a;b", "c"});
    EXPECT_EQ(listValue.value(), "a\\;b;c");

    // A class kept per node, not per configuration, always lands in "Common".
    ProjectNodeValue commonValue(&common, "Debug", project, true);
    EXPECT_EQ(commonValue.configuration(), "Common");
    commonValue.setValue(QStringLiteral("x"));
    EXPECT_EQ(project->findConfiguration("Common")->getProperty("c"), "x");
    EXPECT_TRUE(project->findConfiguration("Common")->propertyFlag("c"));
}

} // namespace
