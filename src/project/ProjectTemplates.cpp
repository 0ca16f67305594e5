#include "project/ProjectTemplates.h"

#include "macros/MacroExpansion.h"
#include "macros/MacroTable.h"
#include "project/BuildSystem.h"
#include "project/LoadHandlers.h"
#include "project/ProjectNode.h"
#include "project/ProjectSystem.h"
#include "project/ProjectNodeValue.h"
#include "project/SolutionLoadError.h"
#include "preprocessor/XmlPP.h"
#include "properties/PropertyValueGroup.h"

#include <QDebug>
#include <QtGlobal>

namespace {

const QString &commonName()
{
    static const QString name = QStringLiteral("Common");
    return name;
}

QString attributeText(const XMLElement *element, const char *name)
{
    return QString::fromLatin1(element->attribute(name));
}

// True when the element's attribute, lower-cased, is exactly word.
bool attributeIs(const XMLElement *element, const char *name, const char *word)
{
    return attributeText(element, name).toLower() == QLatin1String(word);
}

// The configuration a property item sets: its own, or "Common" when it names none.
QString itemConfiguration(const XMLElement *item)
{
    const QString configuration = attributeText(item, "configuration");
    return configuration.isEmpty() ? commonName() : configuration;
}

} // namespace

void ProjectSystem::completeTemplateProjects(const QList<ProjectNode *> &projects,
                                             TemplateNotFoundErrorHandler *handler)
{
    ProjectTemplates templates(*this, m_buildSystem);
    for (ProjectNode *project : projects)
        templates.completeProject(project, handler);
}

ProjectTemplates::ProjectTemplates(ProjectSystem &system, BuildSystem *buildSystem)
    : XMLPP2(false), m_system(system), m_buildSystem(buildSystem)
{
    const QString path = expandMacros(QStringLiteral("$(TargetsDir)/project_templates.xml"), MacroTable::instance().macros());
    if (XmlPP::preprocessFile(*this, path, QString(), false))
        index();
}

ProjectTemplates::~ProjectTemplates() = default;

void ProjectTemplates::error(const QString &message)
{
    qWarning().noquote() << message;
}

void ProjectTemplates::index()
{
    // Depth first over every element of the document, without recursion.
    const XMLElement *element = root();
    while (element) {
        if (element->hasName("project") && element->hasAttribute("template_name"))
            m_templateIndex.insert(attributeText(element, "template_name"), element);
        if (element->hasName("configurations")) {
            for (const XMLElement *set = element->firstChildElement(); set; set = set->nextSiblingElement())
                m_configurationSets.insert(attributeText(set, "name"), set);
        }
        if (const XMLElement *child = element->firstChildElement()) {
            element = child;
            continue;
        }
        while (element && !element->nextSiblingElement())
            element = element->parent() ? element->parent()->toElement() : nullptr;
        if (element)
            element = element->nextSiblingElement();
    }
}

void ProjectTemplates::completeProject(ProjectNode *project, TemplateNotFoundErrorHandler *handler)
{
    const QString name = project->getProperty(QStringLiteral("Name"));
    QString templateName = project->getProperty(QStringLiteral("template_name"));
    project->removeProperty(QStringLiteral("template_name"));
    if (templateName.isEmpty() && !(handler && handler->templateNotFound(*this, name, templateName)))
        throw SolutionLoadError{QStringLiteral("no template for project "), false, name};
    const XMLElement *projectTemplate = find(templateName);
    if (!projectTemplate)
        throw SolutionLoadError{templateName, false, QStringLiteral(" project template not found")};
    applyTemplate(project->ancestorOrSelf(NodeKind::Solution), project, projectTemplate);
}

void ProjectTemplates::applyTemplate(ProjectNode *solution, ProjectNode *project, const XMLElement *projectTemplate)
{
    m_solution = solution;
    m_project = project;
    ProjectSystem::setConfigurationValue(project, QStringLiteral("project_type"), commonName(),
                                         attributeText(projectTemplate, "type"), false);
    applyTemplateItems(project, projectTemplate->firstChildElement());
}

void ProjectTemplates::applyTemplateItems(ProjectNode *node, const XMLElement *item)
{
    for (; item; item = item->nextSiblingElement()) {
        if (item->hasName("folder"))
            applyFolder(node, item);
        else if (item->hasName("file"))
            applyFile(node, item);
        else if (item->hasName("property"))
            applyProperty(node, item);
        else if (item->hasName("propertygroup"))
            applyPropertyGroup(node, item);
        else if (item->hasName("configuration"))
            applyConfigurationSet(m_solution, m_project, attributeText(item, "name"));
    }
}

QString ProjectTemplates::expanded(ProjectNode *node, const QString &text)
{
    return m_buildSystem ? expandMacros(text, m_buildSystem->projectMacros(node, commonName())) : text;
}

void ProjectTemplates::applyFolder(ProjectNode *node, const XMLElement *item)
{
    const QString name = attributeText(item, "name");
    const QString filter = attributeText(item, "filter");
    ProjectNode *folder = node->firstChild();
    while (folder && !(folder->kind() == NodeKind::Folder && folder->nodeName() == name))
        folder = folder->nextSibling();
    if (!folder) {
        folder = new ProjectNode(NodeKind::Folder);
        folder->setProperty(QStringLiteral("Name"), name);
        folder->setCreatedFlag(true);
        node->addChild(folder);
        if (!filter.isEmpty())
            ProjectSystem::addConfiguration(folder, commonName(), false)->setProperty(QStringLiteral("filter"), filter, true);
    } else {
        // A folder that the project already has keeps its own filter; one
        // without gets the item's, even an empty one.
        QString own;
        if (!ProjectSystem::getConfigurationValue(folder, commonName(), QStringLiteral("filter"), own))
            ProjectSystem::setConfigurationValue(folder, QStringLiteral("filter"), commonName(), filter, true);
    }
    applyTemplateItems(folder, item->firstChildElement());
}

void ProjectTemplates::applyFile(ProjectNode *node, const XMLElement *item)
{
    if (item->hasAttribute("source"))
        return;
    QString name = attributeText(item, "name");
    if (!attributeIs(item, "expand", "no"))
        name = expanded(node, name);
    ProjectNode *file = ProjectSystem::findFileChild(node, name);
    if (!file)
        file = m_system.addFileNode(node, name, true);
    applyTemplateItems(file, item->firstChildElement());
}

void ProjectTemplates::applyProperty(ProjectNode *node, const XMLElement *item)
{
    if (!item->hasAttribute("name") || !item->hasAttribute("value"))
        return;
    const QString name = attributeText(item, "name");
    const QString configuration = itemConfiguration(item);
    QString own;
    if (ProjectSystem::getConfigurationValue(node, configuration, name, own))
        return;
    QString value = attributeText(item, "value");
    if (attributeIs(item, "expand", "yes"))
        value = expanded(node, value);
    ProjectSystem::setConfigurationValue(node, name, configuration, value, true);
}

void ProjectTemplates::applyPropertyGroup(ProjectNode *node, const XMLElement *item)
{
    if (!item->hasAttribute("name") || !item->hasAttribute("value"))
        return;
    const QString name = attributeText(item, "name");
    const QString configuration = itemConfiguration(item);
    QString value;
    if (!ProjectSystem::getConfigurationValue(node, configuration, name, value))
        value = attributeText(item, "value");
    const PropertyValueGroupFile *groups = propertyGroups(node);
    PropertyValueGroupClass *group = groups ? groups->find(name) : nullptr;
    if (!group)
        return;
    PropertyValueGroupValue groupValue(std::make_unique<ProjectNodeValue>(group, configuration, node, true));
    groupValue.setValue(value);
}

const PropertyValueGroupFile *ProjectTemplates::propertyGroups(ProjectNode *node)
{
    const PropertyClass *fileClass = BuildSystem::findPropertyClass(QStringLiteral("property_groups_file_path"));
    const QString written = fileClass ? ProjectSystem::getPropertyValue(node, fileClass, commonName()) : QString();
    if (written.isEmpty())
        return nullptr;
    const QString path = expanded(node, written);
    auto found = m_propertyGroups.find(path);
    if (found == m_propertyGroups.end()) {
        auto groups = std::make_unique<PropertyValueGroupFile>();
        if (!groups->load(path))
            groups.reset();
        found = m_propertyGroups.emplace(path, std::move(groups)).first;
    }
    return found->second.get();
}

void ProjectTemplates::applyConfigurationSet(ProjectNode *solution, ProjectNode *project, const QString &setName)
{
    const XMLElement *set = m_configurationSets.value(setName);
    if (!set || m_setsInProgress.contains(setName))
        return;
    m_setsInProgress.insert(setName);
    ProjectNode *configuration = solution->findConfiguration(setName);
    if (!configuration)
        configuration = ProjectSystem::addConfiguration(solution, setName, true);
    for (const XMLElement *entry = set->firstChildElement(); entry; entry = entry->nextSiblingElement()) {
        const QString name = attributeText(entry, "name");
        const QString value = attributeText(entry, "value");
        if (name.isEmpty() || value.isEmpty())
            continue;
        if (name == QLatin1String("inherited_configurations")) {
            configuration->setProperty(name, value, true);
            for (const QString &inherited : value.split(u';', Qt::SkipEmptyParts))
                applyConfigurationSet(solution, project, inherited);
        } else if (!configuration->hasProperty(name)) {
            configuration->setProperty(name, value, true);
        } else if (configuration->getProperty(name) != value) {
            // The solution keeps its value; the project gets its own.
            ProjectSystem::setConfigurationValue(project, name, setName, value, true);
        }
    }
    m_setsInProgress.remove(setName);
}
