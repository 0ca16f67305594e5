#include "properties/PropertyValue.h"

#include <QtGlobal>

#include "macros/MacroList.h"
#include "properties/PropertyClass.h"

namespace {

bool isEnumerated(const PropertyClass &propertyClass)
{
    return propertyClass.type() == PropertyClass::Enumeration || propertyClass.type() == PropertyClass::Boolean;
}

// Reads an integer the way C literals are written: "0x" hexadecimal, a
// leading "0" octal, otherwise decimal, with an optional sign and
// surrounding white space. Anything else reads as 0.
int integerFromText(const QString &text)
{
    QString digits = text.trimmed();
    bool negative = false;
    if (digits.startsWith(u'-') || digits.startsWith(u'+')) {
        negative = digits.startsWith(u'-');
        digits.remove(0, 1);
    }
    int base = 10;
    if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        digits.remove(0, 2);
    } else if (digits.size() > 1 && digits.startsWith(u'0')) {
        base = 8;
        digits.remove(0, 1);
    }
    if (digits.isEmpty())
        return 0;
    static const QString digitTexts = QStringLiteral("0123456789abcdef");
    for (const QChar c : std::as_const(digits)) {
        const qsizetype digit = digitTexts.indexOf(c.toLower());
        if (digit < 0 || digit >= base)
            return 0;
    }
    bool ok = false;
    const qlonglong number = digits.toLongLong(&ok, base);
    if (!ok)
        return 0;
    return int(negative ? -number : number);
}

} // namespace

PropertyValue::PropertyValue(PropertyClass *propertyClass)
    : m_readOnly(propertyClass && propertyClass->isReadOnly()), m_propertyClass(propertyClass)
{
}

PropertyValue::~PropertyValue() = default;

QString PropertyValue::text() const
{
    const QString stored = value();
    return stored.isEmpty() ? m_propertyClass->defaultValue() : stored;
}

Colour PropertyValue::colorValue() const
{
    return Colour::fromName(text());
}

FontDescription PropertyValue::fontValue(const FontDescription &fallback) const
{
    return FontDescription::fromString(text()).value_or(fallback);
}

QStringList PropertyValue::stringList(bool keepEmpty) const
{
    return macroList(text(), keepEmpty);
}

int PropertyValue::intValue() const
{
    const QString current = text();
    if (isEnumerated(*m_propertyClass))
        return qMax(0, int(m_propertyClass->enumerates().indexOf(current)));
    return integerFromText(current);
}

bool PropertyValue::boolValue() const
{
    const QString current = text();
    const qsizetype position = m_propertyClass->enumerates().indexOf(current);
    if (position == 0 || position == 1)
        return position == 1;
    const QString lower = current.toLower();
    return lower == QLatin1String("true") || lower == QLatin1String("yes") || lower == QLatin1String("1");
}

void PropertyValue::setValue(int number)
{
    switch (m_propertyClass->type()) {
    case PropertyClass::Enumeration:
    case PropertyClass::Boolean: {
        const QStringList texts = m_propertyClass->enumerates();
        if (number >= 0 && number < texts.size()) {
            setValue(texts.at(number));
        } else {
            qWarning("PropertyValue::setValue(int): Setting an enumeration to a value which isn't in its enumerates");
            setValue(QString());
        }
        break;
    }
    case PropertyClass::IntegerHex:
        setValue(PropertyClass::integerHexText(number, m_propertyClass->maximum()));
        break;
    case PropertyClass::Integer:
    case PropertyClass::IntegerRange:
        setValue(QString::number(number));
        break;
    default:
        qWarning("PropertyValue::setValue(int): Setting a non-integer property");
        break;
    }
}

void PropertyValue::setValue(bool flag)
{
    if (m_propertyClass->type() != PropertyClass::Boolean)
        qWarning("PropertyValue::setValue(int): Setting a non-Boolean property");
    setValue(flag ? 1 : 0);
}

void PropertyValue::setValue(const QStringList &items)
{
    setValue(joinMacroList(items));
}

void PropertyValue::setValue(const Colour &colour)
{
    setValue(colour.name());
}

void PropertyValue::setValue(const QRect &rectangle)
{
    setValue(QStringLiteral("%1,%2,%3,%4")
                 .arg(rectangle.left())
                 .arg(rectangle.top())
                 .arg(rectangle.right() - rectangle.left() + 1)
                 .arg(rectangle.bottom() - rectangle.top() + 1));
}

SimplePropertyValue::SimplePropertyValue(PropertyClass *propertyClass) : PropertyValue(propertyClass)
{
    setOwned(true);
    setReadOnly(true);
}

SimplePropertyValue::SimplePropertyValue(PropertyClass *propertyClass, int number)
    : SimplePropertyValue(propertyClass)
{
    PropertyValue::setValue(number);
}

SimplePropertyValue::SimplePropertyValue(PropertyClass *propertyClass, bool flag)
    : SimplePropertyValue(propertyClass)
{
    PropertyValue::setValue(flag ? 1 : 0);
}

PropertyValueList::~PropertyValueList()
{
    for (PropertyValue *value : std::as_const(*this)) {
        if (value && value->isOwned())
            delete value;
    }
}

PropertyValue *PropertyValueList::appendUnique(PropertyValue *value)
{
    if (!value || !value->propertyClass()) {
        qWarning("Bad property value in PropertyValueList::appendUnique");
        return nullptr;
    }
    if (PropertyValue *existing = find(value->propertyClass()))
        return existing;
    append(value);
    return value;
}

PropertyValue *PropertyValueList::find(const PropertyClass *propertyClass) const
{
    for (PropertyValue *value : *this) {
        if (value && value->propertyClass() == propertyClass)
            return value;
    }
    return nullptr;
}
