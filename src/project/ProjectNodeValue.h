#pragma once

#include "properties/ProjectPropertyValue.h"

// The value of a property class for one node of the loaded tree in one
// configuration, read through the tree's look-up and written into the node's
// own configuration record.
class ProjectNodeValue : public ProjectPropertyValue {
public:
    // Values stored through this value carry flag (see ProjectNode::setProperty).
    ProjectNodeValue(PropertyClass *propertyClass, const QString &configuration, ProjectNode *node,
                     bool flag = false);

    using PropertyValue::setValue;
    // True when the node has no value of its own in the configuration.
    bool isInherited() const override;
    void setValue(const QString &text) override;
    // StringList classes answer with the node's own value only (null when it
    // has none); all others with the look-up through configurations and tree.
    QString value() const override;
    void storeNodeValue(const QString &propertyName, const QString &configuration, const QString &text) override;

private:
    bool m_flag;
};
