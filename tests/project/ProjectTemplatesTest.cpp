#include "ProjectFixtures.h"

#include "platform/FileSystem.h"
#include "macros/MacroTable.h"
#include "project/ProjectTemplates.h"

#include <gtest/gtest.h>

namespace {

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
    "  <folder name=\"Docs\"/>\n"
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

struct NamingHandler : TemplateNotFoundErrorHandler {
    QString asked;
    bool templateNotFound(ProjectTemplates &templates, const QString &projectName, QString &templateName) override
    {
        asked = projectName;
        templateName = QStringLiteral("Lib");
        return templates.find(templateName) != nullptr;
    }
};

TEST_F(ProjectTemplatesTest, aTemplateCompletesItsProjectWithEveryItemKindAndAMissingOneFailsUnlessTheHandlerNamesOne)
{
    dir.write("s/s.hzp",
              solutionFile("<configuration Name=\"ARM\" arm_instruction_set=\"Thumb\"/>\n"
                       "<project Name=\"blinky\" template_name=\"App\">\n"
                       "  <configuration Name=\"Common\" build_quietly=\"Yes\""
                       " property_groups_file_path=\"$(TargetsDir)/groups.xml\"/>\n"
                       "  <folder Name=\"Source Files\"><configuration Name=\"Common\" filter=\"cpp\"/>"
                       "<file file_name=\"kept.c\"/></folder>\n"
                       "  <folder Name=\"Docs\"/>\n"
                       "</project>\n"));
    ProjectNode *root = load("s/s.hzp");
    ASSERT_NE(root, nullptr);
    // The template's items join the project: the existing folder is reused
    // and keeps its filter; a new folder gets the item's filter in its
    // "Common" configuration; a file given to the project goes to the folder
    // of its extension; the property group sets its member in the entry's
    // configuration; an existing folder without a filter takes the item's,
    // even an empty one. The configuration sets make three solution
    // configurations, the set that comes back to itself applied once; a
    // differing value stays with the solution while the project gets its
    // own, and an empty one is left out.
    EXPECT_EQ(outline(root, true),
              "configuration:ARM[arm_instruction_set=Thumb] project:blinky(configuration:Common[Board=B,build_quietly=Yes,"
              "c_preprocessor_definitions=DIR=" + absoluteFilePath(dir.qpath() + "/s").toLatin1()
                  + ",c_user_include_directories=$(ProjectDir)/inc,project_type=Executable,"
                    "property_groups_file_path=$(TargetsDir)/groups.xml] folder:Source Files(configuration:Common[filter=cpp] "
                    "file:kept.c file:blinky_main.c(configuration:Common[file_tag=Red]) file:$(ProjectName)_raw.c folder:Inner) "
                    "folder:Docs(configuration:Common[filter=]) configuration:ARM[arm_instruction_set=ARM] configuration:Release[arm_endian=Big] "
                    "folder:Headers(configuration:Common[filter=h] file:loose.h) configuration:Debug[x=2]) "
                    "configuration:ARM Debug[arm_instruction_set=ARM,inherited_configurations=ARM;Debug] "
                    "configuration:Debug[build_debug_information=Yes,inherited_configurations=Debug;ARM Debug]");
    EXPECT_EQ(root->inheritedConfigurations().value("ARM Debug"), (QStringList{"ARM", "Debug"}));

    // A missing template fails and leaves no solution unless the handler
    // names one.
    dir.write("empty.hzp", solutionFile("<project Name=\"nameless\" template_name=\"\"/>"
                                        "<folder Name=\"both\" template_name=\"Lib\" path=\"src\"/>"));
    dir.write("src/a.c", "");

    const SolutionLoadError empty = loadError(dir.qpath() + "/empty.hzp");
    EXPECT_EQ(empty.subject, "no template for project ");
    EXPECT_EQ(empty.detail, "nameless");
    EXPECT_EQ(system->solution(), nullptr);

    NamingHandler handler;
    system->loadSolution(dir.qpath() + "/empty.hzp", nullptr, &handler);
    EXPECT_EQ(handler.asked, "nameless");
    ASSERT_NE(system->solution(), nullptr);
    // The user's template of a name replaces the installation's one; a node
    // that names a template is not also a dynamic folder.
    EXPECT_EQ(outline(system->solution(), true), "project:nameless(configuration:Common[project_type=Library]) "
                                                 "folder:both[path=src](configuration:Common[project_type=Library])");

    // Without a templates file every template is missing.
    MacroTable::instance().setMacro("TargetsDir", dir.qpath() + "/nowhere");
    dir.write("lib.hzp", solutionFile("<project Name=\"p\" template_name=\"Lib\"/>"));
    EXPECT_EQ(loadError(dir.qpath() + "/lib.hzp").detail, " project template not found");
}

} // namespace
