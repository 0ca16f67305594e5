#include "properties/PropertyValueGroup.h"

#include "xml/XMLNode.h"
#include "preprocessor/XMLPP2.h"
#include "preprocessor/XmlPP.h"

#include <QDebug>

namespace {

QString attributeText(const XMLElement &element, const char *name)
{
    return QString::fromLatin1(element.attribute(name));
}

QStringList entryNames(const XMLElement &element)
{
    QStringList names;
    for (const XMLElement *entry = element.firstChildElement("groupEntry"); entry;
         entry = entry->nextSiblingElement("groupEntry"))
        names.append(attributeText(*entry, "name"));
    return names;
}

QString pageOf(const XMLElement &element)
{
    return element.hasAttribute("page") ? attributeText(element, "page") : QStringLiteral("General");
}

} // namespace

PropertyValueGroupClass::PropertyValueGroupClass(const XMLElement &element)
    : PropertyClass(attributeText(element, "name"), Enumeration, entryNames(element), pageOf(element),
                    attributeText(element, "group"), attributeText(element, "short"),
                    attributeText(element, "long"), attributeText(element, "default")),
      m_element(element)
{
}

const XMLElement *PropertyValueGroupClass::findEntry(const QString &text) const
{
    const QByteArray name = text.toLatin1();
    for (const XMLElement *entry = m_element.firstChildElement("groupEntry"); entry;
         entry = entry->nextSiblingElement("groupEntry")) {
        const char *entryName = entry->attribute("name");
        if (entryName && name == entryName)
            return entry;
    }
    return nullptr;
}

PropertyValueGroupValue::PropertyValueGroupValue(std::unique_ptr<ProjectPropertyValue> nodeValue)
    : ProjectPropertyValue(nodeValue->propertyClass(), nodeValue->node(), nodeValue->configuration()),
      m_nodeValue(std::move(nodeValue))
{
}

void PropertyValueGroupValue::setValue(const QString &text)
{
    const auto *group = dynamic_cast<const PropertyValueGroupClass *>(propertyClass());
    QString chosen = text;
    const XMLElement *entry = group ? group->findEntry(chosen) : nullptr;
    if (group && !entry) {
        chosen = group->defaultValue();
        entry = group->findEntry(chosen);
    }
    storeNodeValue(propertyClass()->name(), configuration(), chosen);
    if (!entry)
        return;
    for (const XMLElement *property = entry->firstChildElement("property"); property;
         property = property->nextSiblingElement("property")) {
        const QString named = attributeText(*property, "configuration");
        storeNodeValue(attributeText(*property, "name"), named.isEmpty() ? configuration() : named,
                       attributeText(*property, "value"));
    }
}

void PropertyValueGroupValue::storeNodeValue(const QString &propertyName, const QString &configuration,
                                             const QString &text)
{
    m_nodeValue->storeNodeValue(propertyName, configuration, text);
}

// The document of a group file; what the preprocessor reports is a warning.
class PropertyGroupDocument : public XMLPP2 {
public:
    void error(const QString &message) override { qWarning().noquote() << message; }
};

PropertyValueGroupFile::PropertyValueGroupFile() = default;

PropertyValueGroupFile::~PropertyValueGroupFile() = default;

bool PropertyValueGroupFile::load(const QString &path)
{
    m_groups.clear();
    m_owned.clear();
    m_document = std::make_unique<PropertyGroupDocument>();
    if (!XmlPP::preprocessFile(*m_document, path, QString(), false) || !m_document->root())
        return false;
    for (const XMLElement *element = m_document->root()->firstChildElement(); element;
         element = element->nextSiblingElement()) {
        m_owned.push_back(std::make_unique<PropertyValueGroupClass>(*element));
        m_groups.append(m_owned.back().get());
    }
    return true;
}

PropertyValueGroupClass *PropertyValueGroupFile::find(const QString &name) const
{
    for (PropertyValueGroupClass *group : m_groups) {
        if (group->name() == name)
            return group;
    }
    return nullptr;
}
