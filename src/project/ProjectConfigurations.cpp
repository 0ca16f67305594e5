// Configurations of the project tree and the walk that finds a property's
// value for a node in a configuration.

#include "project/ProjectSystem.h"

#include "project/ProjectNode.h"
#include "properties/PropertyClass.h"

namespace {

const QString &commonName()
{
    static const QString name = QStringLiteral("Common");
    return name;
}

const QString &inheritedConfigurationsName()
{
    static const QString name = QStringLiteral("inherited_configurations");
    return name;
}

// The configurations that configName inherits from, as recorded by the
// nearest solution at or above node that records any.
const QStringList *inheritedList(ProjectNode *node, const QString &configName)
{
    for (ProjectNode *solution = node->ancestorOrSelf(NodeKind::Solution); solution; solution = solution->parent()) {
        if (solution->kind() != NodeKind::Solution)
            continue;
        const auto &lists = solution->inheritedConfigurations();
        const auto found = lists.constFind(configName);
        if (found != lists.cend() && !found->isEmpty())
            return &found.value();
    }
    return nullptr;
}

} // namespace

ProjectNode *ProjectSystem::addConfiguration(ProjectNode *node, const QString &name, bool flag)
{
    auto *configuration = new ProjectNode(NodeKind::Configuration);
    configuration->setProperty(QStringLiteral("Name"), name, flag);
    configuration->setCreatedFlag(flag);
    node->addChild(configuration);
    return configuration;
}

void ProjectSystem::setConfigurationValue(ProjectNode *node, const QString &propertyName, const QString &configName,
                                          const QString &value, bool flag)
{
    ProjectNode *configuration = node->findConfiguration(configName);
    if (!configuration)
        configuration = addConfiguration(node, configName, flag);
    configuration->setProperty(propertyName, value, flag);
}

bool ProjectSystem::getConfigurationValue(ProjectNode *node, const QString &configName, const QString &propertyName,
                                          QString &value, ValueTrace *trace)
{
    ProjectNode *configuration = node->findConfiguration(configName);
    const QString *found = configuration ? configuration->findProperty(propertyName) : nullptr;
    if (!found)
        return false;
    if (trace)
        trace->append({*found, configuration->nodeName(), node});
    if (value.isEmpty())
        value = *found;
    else
        value += u';' + *found;
    return true;
}

QString ProjectSystem::getOwnPropertyValue(ProjectNode *node, const PropertyClass *propertyClass, const QString &configName)
{
    const ProjectNode *configuration = node->findConfiguration(configName);
    return configuration ? configuration->getProperty(propertyClass->name()) : QString();
}

QString ProjectSystem::getPropertyValue(ProjectNode *node, const PropertyClass *propertyClass, const QString &configName,
                                        ValueTrace *trace)
{
    const QString &name = propertyClass->name();
    const bool accumulate = propertyClass->type() == PropertyClass::StringList;
    const bool common = configName == commonName();
    QString value;
    for (ProjectNode *n = node; n; n = n->parent()) {
        if (n->configurationIndex().isEmpty())
            continue;
        if (getConfigurationValue(n, configName, name, value, trace) && !accumulate)
            return value;
        if (common)
            continue;
        if (const QStringList *inherited = inheritedList(n, configName)) {
            for (const QString &parent : *inherited) {
                if (getConfigurationValue(n, parent, name, value, trace) && !accumulate)
                    return value;
            }
        }
        if (getConfigurationValue(n, commonName(), name, value, nullptr) && !accumulate)
            return value;
    }
    if (!value.isNull())
        return value;
    if (trace)
        trace->append({propertyClass->defaultValue(), QString(), nullptr});
    return propertyClass->defaultValue();
}

void ProjectSystem::setInheritedConfigurations(ProjectNode *node, const QString &configName, const QStringList &list)
{
    ProjectNode *solution = node->ancestorOrSelf(NodeKind::Solution);
    if (!solution || solution->inheritedConfigurations().value(configName) == list)
        return;
    setConfigurationValue(solution, inheritedConfigurationsName(), configName, list.join(u';'), false);
    rebuildInheritedConfigurations(solution);
}

void ProjectSystem::rebuildInheritedConfigurations(ProjectNode *solution)
{
    auto &lists = solution->inheritedConfigurations();
    lists.clear();
    const auto &index = solution->configurationIndex();
    for (auto entry = index.cbegin(); entry != index.cend(); ++entry) {
        if (const QString *value = entry.value()->findProperty(inheritedConfigurationsName()))
            lists.insert(entry.key(), value->split(u';', Qt::SkipEmptyParts));
    }
}

void ProjectSystem::clearModified(ProjectNode *node, bool includeImported, bool clearChangeTimes)
{
    node->setModified(false);
    for (ProjectNode *child = node->firstChild(); child; child = child->nextSibling()) {
        if (child->kind() == NodeKind::Solution && !includeImported)
            continue;
        child->setModified(false);
        if (clearChangeTimes)
            child->clearChangeTimes();
        clearModified(child, includeImported, clearChangeTimes);
    }
}
