#pragma once

#include <QMap>
#include <QSet>
#include <QString>

#include <map>
#include <memory>

#include "preprocessor/XMLPP2.h"

class BuildSystem;
class ProjectNode;
class PropertyValueGroupFile;
class ProjectSystem;
class TemplateNotFoundErrorHandler;

// The project templates file, "$(TargetsDir)/project_templates.xml", read
// through the preprocessor and indexed: project templates by template_name
// and configuration sets by name. Loading a solution uses it to complete the
// projects that name a template.
class ProjectTemplates : public XMLPP2 {
public:
    // Loads and indexes the templates file; a file that cannot be read
    // leaves both indexes empty. Macros of file items come from buildSystem
    // (none when it is null).
    ProjectTemplates(ProjectSystem &system, BuildSystem *buildSystem);
    ~ProjectTemplates() override;

    const XMLElement *find(const QString &templateName) const { return m_templateIndex.value(templateName); }

    // Removes the project's template_name and applies the template that it
    // named. Throws SolutionLoadError when the name is empty (and the handler
    // does not supply one) or names no template.
    void completeProject(ProjectNode *project, TemplateNotFoundErrorHandler *handler);

    void applyTemplate(ProjectNode *solution, ProjectNode *project, const XMLElement *projectTemplate);
    // Applies item and each following sibling element to node.
    void applyTemplateItems(ProjectNode *node, const XMLElement *item);
    // Adds the solution configuration of that set (and those it inherits),
    // giving the project its own value where the solution's value differs.
    void applyConfigurationSet(ProjectNode *solution, ProjectNode *project, const QString &setName);

    // Preprocessing problems are warnings; loading goes on.
    void error(const QString &message) override;

private:
    void index();
    void applyFolder(ProjectNode *node, const XMLElement *item);
    void applyFile(ProjectNode *node, const XMLElement *item);
    void applyProperty(ProjectNode *node, const XMLElement *item);
    void applyPropertyGroup(ProjectNode *node, const XMLElement *item);
    // The item's text after macro expansion for node in "Common".
    QString expanded(ProjectNode *node, const QString &text);
    // The property groups that node's property_groups_file_path names, read
    // once per file; null when it names none or cannot be read.
    const PropertyValueGroupFile *propertyGroups(ProjectNode *node);

    ProjectSystem &m_system;
    BuildSystem *m_buildSystem;
    QMap<QString, const XMLElement *> m_templateIndex;
    QMap<QString, const XMLElement *> m_configurationSets;
    ProjectNode *m_solution = nullptr;
    ProjectNode *m_project = nullptr;
    std::map<QString, std::unique_ptr<PropertyValueGroupFile>> m_propertyGroups;
    // The sets being applied, so a set that inherits itself is applied once.
    QSet<QString> m_setsInProgress;
};
