#pragma once

#include <QString>

#include "properties/PropertyValue.h"

class ProjectNode;

// The value of a property class for one project node in one configuration.
// The project model supplies the look-up and the store: it derives from this
// class and implements value() (the walk through configurations and the
// tree; StringList classes answer from the node's own configuration record),
// setValue() and isInherited() (no own value in the configuration), and
// storeNodeValue(), which the group values use as well.
class ProjectPropertyValue : public PropertyValue {
public:
    // A class that is not per configuration keeps its values in "Common",
    // whatever configuration is asked for.
    ProjectPropertyValue(PropertyClass *propertyClass, ProjectNode *node, const QString &configuration);

    ProjectNode *node() const { return m_node; }
    const QString &configuration() const { return m_configuration; }

    // Stores text as the node's own value of the property called
    // propertyName in the given configuration.
    virtual void storeNodeValue(const QString &propertyName, const QString &configuration,
                                const QString &text) = 0;

private:
    ProjectNode *m_node;
    QString m_configuration;
};
