#include "properties/ProjectPropertyValue.h"

#include "properties/PropertyClass.h"

ProjectPropertyValue::ProjectPropertyValue(PropertyClass *propertyClass, ProjectNode *node,
                                           const QString &configuration)
    : PropertyValue(propertyClass), m_node(node),
      m_configuration(propertyClass && !propertyClass->isPerConfiguration() ? QStringLiteral("Common")
                                                                            : configuration)
{
    setOwned(true);
}
