#include "project/ProjectNodeValue.h"

#include "project/ProjectNode.h"
#include "project/ProjectSystem.h"
#include "properties/PropertyClass.h"

ProjectNodeValue::ProjectNodeValue(PropertyClass *propertyClass, const QString &configuration, ProjectNode *node,
                                   bool flag)
    : ProjectPropertyValue(propertyClass, node, configuration), m_flag(flag)
{
}

bool ProjectNodeValue::isInherited() const
{
    const ProjectNode *own = node()->findConfiguration(configuration());
    return !own || !own->hasProperty(propertyClass()->name());
}

void ProjectNodeValue::setValue(const QString &text)
{
    storeNodeValue(propertyClass()->name(), configuration(), text);
}

QString ProjectNodeValue::value() const
{
    if (propertyClass()->type() == PropertyClass::StringList)
        return ProjectSystem::getOwnPropertyValue(node(), propertyClass(), configuration());
    return ProjectSystem::getPropertyValue(node(), propertyClass(), configuration());
}

void ProjectNodeValue::storeNodeValue(const QString &propertyName, const QString &configuration, const QString &text)
{
    ProjectSystem::setConfigurationValue(node(), propertyName, configuration, text, m_flag);
}
