#include "ProjectFixtures.h"

#include "platform/FileSystem.h"
#include "macros/MacroTable.h"
#include "project/LoadHandlers.h"
#include "project/ProjectTemplates.h"

#include <gtest/gtest.h>

namespace {

using PS = ProjectSystem;

// The user's templates file includes the installation's, as start-up writes it.
const QByteArray userTemplates = "<!DOCTYPE Project_Templates_File>\n<projects>\n"
                                 "  <include filename=\"installed.xml\" no_root=\"1\" />\n"
                                 "  <project template_name=\"Lib\" type=\"Library\"/>\n"
                                 "</projects>\n";

const QByteArray installedTemplates =
    "<projects>\n"
    "<project template_name=\"Lib\" type=\"Executable\"/>\n"
    "<project template_name=\"App\" type=\"Executable\">\n"
    "  <configuration name=\"ARM Debug\"/>\n"
    "  <property name=\"c_preprocessor_definitions\" value=\"DIR=$(ProjectDir)\" expand=\"yes\"/>\n"
    "  <property name=\"c_user_include_directories\" value=\"$(ProjectDir)/inc\"/>\n"
    "  <property name=\"arm_endian\" value=\"Big\" configuration=\"Release\"/>\n"
    "  <property name=\"build_quietly\" value=\"No\"/>\n"
    "  <property name=\"no_value\"/>\n"
    "  <folder name=\"Source Files\" filter=\"c;s\">\n"
    "    <file name=\"$(ProjectName)_main.c\"><property name=\"file_tag\" value=\"Red\"/></file>\n"
    "    <file name=\"$(ProjectName)_raw.c\" expand=\"No\"/>\n"
    "    <file name=\"kept.c\"/>\n"
    "    <file name=\"copied.c\" source=\"somewhere/copied.c\"/>\n"
    "    <folder name=\"Inner\"/>\n"
    "  </folder>\n"
    "  <folder name=\"Headers\" filter=\"h\"/>\n"
    "  <unknown name=\"ignored\"/>\n"
    "  <file name=\"loose.h\"/>\n"
    "  <propertygroup name=\"Board\" value=\"B\"/>\n"
    "</project>\n"
    "<configurations>\n"
    "  <set name=\"ARM Debug\"><item name=\"inherited_configurations\" value=\"ARM;Debug\"/>"
    "<item name=\"arm_instruction_set\" value=\"ARM\"/></set>\n"
    "  <set name=\"ARM\"><item name=\"arm_instruction_set\" value=\"ARM\"/><item name=\"empty\" value=\"\"/></set>\n"
    "  <set name=\"Debug\"><item name=\"build_debug_information\" value=\"Yes\"/>"
    "<item name=\"inherited_configurations\" value=\"Debug;ARM Debug\"/></set>\n"
    "</configurations>\n"
    "</projects>\n";

const QByteArray groupFile = "<groups>\n"
                             "<group name=\"Board\" default=\"A\">\n"
                             "  <groupEntry name=\"A\"><property name=\"x\" value=\"1\"/></groupEntry>\n"
                             "  <groupEntry name=\"B\"><property name=\"x\" value=\"2\" configuration=\"Debug\"/></groupEntry>\n"
                             "</group>\n"
                             "</groups>\n";

class ProjectTemplatesTest : public SolutionFixture {
protected:
    ProjectTemplatesTest()
    {
        dir.write("targets/project_templates.xml", userTemplates);
        dir.write("targets/installed.xml", installedTemplates);
        dir.write("targets/groups.xml", groupFile);
        MacroTable::instance().setMacro("TargetsDir", dir.qpath() + "/targets");
        system->setBuildSystem(buildSystem.get());
    }
};

TEST_F(ProjectTemplatesTest, aTemplateCompletesItsProjectWithEveryItemKind)
{
    dir.write("s/s.hzp",
              solutionFile("<configuration Name=\"ARM\" arm_instruction_set=\"Thumb\"/>\n"
                       "<project Name=\"blinky\" template_name=\"App\">\n"
                       "  <configuration Name=\"Common\" build_quietly=\"Yes\""
                       " property_groups_file_path=\"$(TargetsDir)/groups.xml\"/>\n"
                       "  <folder Name=\"Source Files\"><configuration Name=\"Common\" filter=\"cpp\"/>"
                       "<file file_name=\"kept.c\"/></folder>\n"
                       "</project>\n"));
    ProjectNode *root = load("s/s.hzp");
    ASSERT_NE(root, nullptr);
    ProjectNode *project = root->firstChild()->nextSibling();
    const QString projectDir = absoluteFilePath(dir.qpath() + "/s");

    EXPECT_FALSE(project->hasProperty("template_name"));
    ProjectNode *common = project->findConfiguration("Common");
    EXPECT_EQ(common->getProperty("project_type"), "Executable");
    EXPECT_EQ(common->getProperty("c_preprocessor_definitions"), "DIR=" + projectDir);
    EXPECT_EQ(common->getProperty("c_user_include_directories"), "$(ProjectDir)/inc");
    EXPECT_EQ(common->getProperty("build_quietly"), "Yes");
    EXPECT_FALSE(common->hasProperty("no_value"));
    EXPECT_EQ(project->findConfiguration("Release")->getProperty("arm_endian"), "Big");

    // The existing folder is reused and keeps its filter; new items join it.
    // A new folder gets the item's filter in its "Common" configuration; a
    // file given to the project goes to the folder of its extension.
    EXPECT_EQ(outline(project), "configuration:Common folder:Source Files(configuration:Common file:kept.c "
                                "file:blinky_main.c(configuration:Common) file:$(ProjectName)_raw.c folder:Inner) "
                                "configuration:ARM configuration:Release folder:Headers(configuration:Common file:loose.h) "
                                "configuration:Debug");
    ProjectNode *sources = childNamed(project, "Source Files");
    EXPECT_EQ(sources->findConfiguration("Common")->getProperty("filter"), "cpp");
    ProjectNode *mainFile = PS::findFileChild(sources, "blinky_main.c");
    ASSERT_NE(mainFile, nullptr);
    EXPECT_TRUE(mainFile->createdFlag());
    EXPECT_EQ(mainFile->findConfiguration("Common")->getProperty("file_tag"), "Red");
    EXPECT_FALSE(PS::findFileChild(sources, "kept.c")->createdFlag());

    ProjectNode *headers = childNamed(project, "Headers");
    ASSERT_NE(headers, nullptr);
    EXPECT_TRUE(headers->createdFlag());
    EXPECT_EQ(headers->findConfiguration("Common")->getProperty("filter"), "h");
    EXPECT_TRUE(headers->findConfiguration("Common")->propertyFlag("filter"));

    // The property group sets its member in the entry's configuration.
    EXPECT_EQ(common->getProperty("Board"), "B");
    EXPECT_EQ(project->findConfiguration("Debug")->getProperty("x"), "2");

    // The configuration sets: three solution configurations, the set that
    // comes back to itself applied once, and a differing value kept by the
    // solution while the project gets its own.
    EXPECT_EQ(root->findConfiguration("ARM Debug")->getProperty("inherited_configurations"), "ARM;Debug");
    EXPECT_EQ(root->findConfiguration("Debug")->getProperty("build_debug_information"), "Yes");
    EXPECT_EQ(root->findConfiguration("ARM")->getProperty("arm_instruction_set"), "Thumb");
    EXPECT_FALSE(root->findConfiguration("ARM")->hasProperty("empty"));
    EXPECT_EQ(project->findConfiguration("ARM")->getProperty("arm_instruction_set"), "ARM");
    EXPECT_EQ(root->inheritedConfigurations().value("ARM Debug"), (QStringList{"ARM", "Debug"}));

    EXPECT_FALSE(project->isModified());
    EXPECT_FALSE(headers->isModified());
}

TEST_F(ProjectTemplatesTest, laterTemplatesOfTheSameNameReplaceEarlierOnes)
{
    dir.write("s.hzp", solutionFile("<project Name=\"lib\" template_name=\"Lib\"/>"
                                "<folder Name=\"both\" template_name=\"Lib\" path=\"src\"/>"));
    dir.write("src/a.c", "");
    ProjectNode *root = load("s.hzp");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->firstChild()->findConfiguration("Common")->getProperty("project_type"), "Library");
    // A node that names a template is not also a dynamic folder.
    ProjectNode *both = root->firstChild()->nextSibling();
    EXPECT_EQ(both->findConfiguration("Common")->getProperty("project_type"), "Library");
    EXPECT_EQ(PS::findFileChild(both, "src/a.c"), nullptr);
}

struct NamingHandler : TemplateNotFoundErrorHandler {
    QString asked;
    bool templateNotFound(ProjectTemplates &templates, const QString &projectName, QString &templateName) override
    {
        asked = projectName;
        templateName = QStringLiteral("Lib");
        return templates.find(templateName) != nullptr;
    }
};

TEST_F(ProjectTemplatesTest, missingTemplatesFailAndLeaveNoSolution)
{
    dir.write("empty.hzp", solutionFile("<project Name=\"nameless\" template_name=\"\"/>"));
    dir.write("unknown.hzp", solutionFile("<project Name=\"p\" template_name=\"Nothing\"/>"));

    const SolutionLoadError empty = loadError(dir.qpath() + "/empty.hzp");
    EXPECT_EQ(empty.subject, "no template for project ");
    EXPECT_EQ(empty.detail, "nameless");
    EXPECT_EQ(system->solution(), nullptr);

    const SolutionLoadError unknown = loadError(dir.qpath() + "/unknown.hzp");
    EXPECT_EQ(unknown.subject, "Nothing");
    EXPECT_EQ(unknown.detail, " project template not found");
    EXPECT_EQ(system->solution(), nullptr);

    NamingHandler handler;
    system->loadSolution(dir.qpath() + "/empty.hzp", nullptr, &handler);
    EXPECT_EQ(handler.asked, "nameless");
    ASSERT_NE(system->solution(), nullptr);
    EXPECT_EQ(system->solution()->firstChild()->findConfiguration("Common")->getProperty("project_type"), "Library");

    // Without a templates file every template is missing.
    MacroTable::instance().setMacro("TargetsDir", dir.qpath() + "/nowhere");
    dir.write("lib.hzp", solutionFile("<project Name=\"p\" template_name=\"Lib\"/>"));
    EXPECT_EQ(loadError(dir.qpath() + "/lib.hzp").detail, " project template not found");
}

} // namespace
