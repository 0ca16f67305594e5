#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

#include "properties/Colour.h"
#include "properties/FontDescription.h"

class PropertyClass;

// The value of one property class in one place: a setting, a project node's
// property in one configuration, or a free-standing value. Values are text;
// the typed reads convert through the class's type, and an empty text reads
// as the class default.
class PropertyValue {
public:
    explicit PropertyValue(PropertyClass *propertyClass);
    virtual ~PropertyValue();

    PropertyValue(const PropertyValue &) = delete;
    PropertyValue &operator=(const PropertyValue &) = delete;

    virtual bool isReadOnly() const { return m_readOnly; }
    // True when the text does not live here but comes from elsewhere. Only
    // project values inherit; every other value holds its own text.
    virtual bool isInherited() const { return false; }
    virtual void setValue(const QString &text) = 0;
    // The text stored here, or an empty text when nothing is.
    virtual QString value() const = 0;

    PropertyClass *propertyClass() const { return m_propertyClass; }
    // Whether the PropertyValueList that holds the value destroys it.
    bool isOwned() const { return m_owned; }

    // Typed reads, all from value() or, when that is empty, the default.
    QString text() const;
    QStringList stringList(bool keepEmpty) const;
    int intValue() const;
    bool boolValue() const;
    // The text read as a colour name (an invalid colour when it is none).
    Colour colorValue() const;
    // The font the text describes in the font-to-string form, or fallback
    // when the text is empty or describes no font.
    FontDescription fontValue(const FontDescription &fallback) const;

    // Typed writes, all ending in setValue(text).
    void setValue(const char *text) { setValue(QString::fromUtf8(text)); }
    void setValue(int number);
    void setValue(bool flag);
    void setValue(const QStringList &items);
    void setValue(const QRect &rectangle);
    // Stores the colour's name (an empty text for the invalid colour).
    void setValue(const Colour &colour);

protected:
    void setOwned(bool owned) { m_owned = owned; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }

private:
    bool m_readOnly;
    bool m_owned = false;
    PropertyClass *m_propertyClass;
};

// A free-standing value holding its own text, initially null.
class SimplePropertyValue : public PropertyValue {
public:
    explicit SimplePropertyValue(PropertyClass *propertyClass);
    SimplePropertyValue(PropertyClass *propertyClass, int number);
    SimplePropertyValue(PropertyClass *propertyClass, bool flag);

    using PropertyValue::setValue;
    void setValue(const QString &text) override { m_text = text; }
    QString value() const override { return m_text; }

private:
    QString m_text;
};

// An ordered list of values. Destroying the list destroys the values that
// are owned and forgets the others.
class PropertyValueList : public QList<PropertyValue *> {
public:
    PropertyValueList() = default;
    ~PropertyValueList();
    PropertyValueList(const PropertyValueList &) = delete;
    PropertyValueList &operator=(const PropertyValueList &) = delete;

    // Appends value unless the list holds one of the same class, which is
    // then returned instead. A null or classless value is refused with a
    // warning (and null is returned).
    PropertyValue *appendUnique(PropertyValue *value);
    // The first value of this class, or null.
    PropertyValue *find(const PropertyClass *propertyClass) const;
};
