#pragma once

#include <QList>
#include <QString>

#include <memory>
#include <vector>

#include "properties/ProjectPropertyValue.h"
#include "properties/PropertyClass.h"

class XMLElement;
class PropertyGroupDocument;

// A property group: an enumeration whose texts name entries, each entry a
// set of property values. Built from one element of a group file:
//   <group name="Board" short="..." default="A" page="...">
//     <groupEntry name="A"> <property name="x" value="1"/> </groupEntry>
//     <groupEntry name="B"> <property name="x" value="2" configuration="Debug"/> </groupEntry>
//   </group>
class PropertyValueGroupClass : public PropertyClass {
public:
    // The element belongs to its document, which must outlive the class.
    explicit PropertyValueGroupClass(const XMLElement &element);

    // The "groupEntry" child named text, or null.
    const XMLElement *findEntry(const QString &text) const;

private:
    const XMLElement &m_element;
};

// The group value of a project node in one configuration. It reads and
// stores through the project model's value of the same class, node and
// configuration; setting it also sets the properties of the chosen entry.
class PropertyValueGroupValue : public ProjectPropertyValue {
public:
    explicit PropertyValueGroupValue(std::unique_ptr<ProjectPropertyValue> nodeValue);

    using PropertyValue::setValue;
    bool isInherited() const override { return m_nodeValue->isInherited(); }
    QString value() const override { return m_nodeValue->value(); }
    // Stores text (or, when no entry has that name, the class default) as the
    // group's own value and then every property of the entry so named: in
    // the property's "configuration" when it names one, else in this one.
    void setValue(const QString &text) override;
    void storeNodeValue(const QString &propertyName, const QString &configuration,
                        const QString &text) override;

private:
    std::unique_ptr<ProjectPropertyValue> m_nodeValue;
};

// A property group file: every child element of its root defines a group.
// The file is read through the XML preprocessor; its messages are warnings
// on the warning channel.
class PropertyValueGroupFile {
public:
    PropertyValueGroupFile();
    ~PropertyValueGroupFile();
    PropertyValueGroupFile(const PropertyValueGroupFile &) = delete;
    PropertyValueGroupFile &operator=(const PropertyValueGroupFile &) = delete;

    // Reads the file, replacing any groups read before. False when it cannot
    // be read or holds no root element.
    bool load(const QString &path);

    // The groups in document order, and the first one of a name.
    const QList<PropertyValueGroupClass *> &groups() const { return m_groups; }
    PropertyValueGroupClass *find(const QString &name) const;

private:
    std::unique_ptr<PropertyGroupDocument> m_document;
    std::vector<std::unique_ptr<PropertyValueGroupClass>> m_owned;
    QList<PropertyValueGroupClass *> m_groups;
};
