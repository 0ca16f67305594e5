#include "properties/PropertyClass.h"

#include "xml/XMLNode.h"

namespace {

const char *const typeNames[] = {
    "Boolean",  "Integer",     "IntegerHex", "IntegerRange", "String",
    "FileName", "ProjFileName", "StringList", "DirPath",     "DirPathList",
    "Enumeration", "Color",    "Font",       "FixedPitchFont", "Custom",
};
constexpr int typeCount = int(sizeof typeNames / sizeof typeNames[0]);

const PropertyDescriptionSource *installedSource = nullptr;

QStringList splitEnumerates(const QString &text)
{
    return text.split(u';', Qt::SkipEmptyParts);
}

QString attributeText(const XMLElement &element, const char *name)
{
    return QString::fromLatin1(element.attribute(name));
}

// An unsigned decimal attribute; 0 when it is not a number.
int attributeNumber(const XMLElement &element, const char *name)
{
    return int(attributeText(element, name).toUInt());
}

} // namespace

QString PropertyDefault::text(int type, int maximum) const
{
    switch (m_kind) {
    case None:
        return QString();
    case Text:
        return m_text;
    case Number:
        return type == PropertyClass::IntegerHex ? PropertyClass::integerHexText(m_number, maximum)
                                                 : QString::number(m_number);
    case Flag:
        return QString::fromLatin1(m_number ? "Yes" : "No");
    }
    return QString();
}

PropertyClass::PropertyClass(const QString &name, Type type) : m_name(name), m_type(type)
{
    describe(AllKeys);
}

PropertyClass::PropertyClass(const QString &name, Type type, int minimum, int maximum)
    : m_name(name), m_type(type), m_minimum(minimum), m_maximum(maximum)
{
    describe(AllButRange);
}

PropertyClass::PropertyClass(const QString &name, Type type, const QString &page, const QString &group,
                             const QString &shortTitle, const QString &longText, const QString &defaultValue)
    : m_name(name), m_group(group), m_short(shortTitle), m_long(longText), m_default(defaultValue),
      m_page(page), m_type(type)
{
}

PropertyClass::PropertyClass(const QString &name, Type type, int minimum, int maximum, const QString &page,
                             const QString &group, const QString &shortTitle, const QString &longText,
                             int defaultValue)
    : PropertyClass(name, type, page, group, shortTitle, longText,
                    PropertyDefault(defaultValue).text(type, maximum))
{
    m_minimum = minimum;
    m_maximum = maximum;
}

PropertyClass::PropertyClass(const QString &name, const QString &page, const QString &group,
                             const QString &shortTitle, const QString &longText, bool defaultValue)
    : PropertyClass(name, Boolean, page, group, shortTitle, longText,
                    PropertyDefault(defaultValue).text(Boolean, 0))
{
}

PropertyClass::PropertyClass(const QString &name, Type type, const QStringList &enumerates,
                             const QString &page, const QString &group, const QString &shortTitle,
                             const QString &longText, const QString &defaultValue)
    : PropertyClass(name, type, page, group, shortTitle, longText, defaultValue)
{
    m_enumerates = enumerates;
}

PropertyClass::PropertyClass(const Definition &row)
    : PropertyClass(row.name, row.type, row.enumerates, row.page, row.group, row.shortTitle,
                    row.longText, row.defaultValue.text(row.type, row.maximum))
{
    m_minimum = row.minimum;
    m_maximum = row.maximum;
    m_suffix = row.suffix;
    m_specialValue = row.specialValue;
    m_readOnly = row.readOnly;
    m_perConfiguration = row.perConfiguration;
}

PropertyClass::PropertyClass(const XMLElement &element)
    : m_name(attributeText(element, "name")), m_group(attributeText(element, "group")),
      m_short(attributeText(element, "short")), m_long(attributeText(element, "long")),
      m_type(typeFromName(attributeText(element, "type")))
{
    if (element.hasAttribute("default"))
        m_default = attributeText(element, "default");
    if (element.hasAttribute("minimum"))
        m_minimum = attributeNumber(element, "minimum");
    if (element.hasAttribute("maximum"))
        m_maximum = attributeNumber(element, "maximum");
    if (element.hasAttribute("enumeration"))
        m_enumerates = splitEnumerates(attributeText(element, "enumeration"));
    if (element.hasAttribute("specialvalue"))
        m_specialValue = attributeText(element, "specialvalue");
}

PropertyClass::~PropertyClass() = default;

void PropertyClass::describe(DescriptionKeys keys)
{
    if (!installedSource)
        return;
    const auto text = [this](const char *suffix) {
        return installedSource->text(m_name + QLatin1String(suffix));
    };
    m_page = text(".page");
    m_group = text(".group");
    m_short = text(".short");
    m_long = text(".long");
    m_default = text(".default");
    m_enumerates = splitEnumerates(text(".enumerates"));
    m_suffix = text(".suffix");
    if (keys == AllKeys) {
        m_minimum = text(".minimum").toInt();
        m_maximum = text(".maximum").toInt();
    }
}

QStringList PropertyClass::enumerates() const
{
    if (m_type == Boolean && m_enumerates.isEmpty())
        return {QStringLiteral("No"), QStringLiteral("Yes")};
    return m_enumerates;
}

QString PropertyClass::typeName(int type)
{
    return type >= 0 && type < typeCount ? QString::fromLatin1(typeNames[type]) : QString();
}

PropertyClass::Type PropertyClass::typeFromName(const QString &text)
{
    for (int type = 0; type < typeCount; ++type) {
        if (text == QLatin1String(typeNames[type]))
            return Type(type);
    }
    return Boolean;
}

QString PropertyClass::integerHexText(qint64 value, int maximum)
{
    static const qint64 widthLimits[] = {0xf, 0xff, 0xfff, 0xffff, 0xfffff, 0xffffff, 0xfffffff};
    int width = 1;
    for (qint64 limit : widthLimits) {
        if (maximum <= limit)
            break;
        ++width;
    }
    return QStringLiteral("0x") + QString::number(quint32(value), 16).rightJustified(width, u'0');
}

void PropertyClass::setDescriptionSource(const PropertyDescriptionSource *source)
{
    installedSource = source;
}
