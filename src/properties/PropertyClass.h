#pragma once

#include <QString>
#include <QStringList>

class XMLElement;

// The source of property texts keyed by property name and suffix
// (".page", ".group", ".short", ...). The tool installs none.
class PropertyDescriptionSource {
public:
    virtual ~PropertyDescriptionSource() = default;
    virtual QString text(const QString &key) const = 0;
};

// A default as a definition table writes it: text, an integer (stored as
// decimal or, for IntegerHex classes, in the hexadecimal text form) or a
// Boolean (stored as "Yes" or "No").
class PropertyDefault {
public:
    PropertyDefault() = default;
    PropertyDefault(const char *text) : m_kind(Text), m_text(QString::fromUtf8(text)) {}
    PropertyDefault(const QString &text) : m_kind(Text), m_text(text) {}
    PropertyDefault(int number) : m_kind(Number), m_number(number) {}
    PropertyDefault(bool flag) : m_kind(Flag), m_number(flag ? 1 : 0) {}

    // The default text for a class of the given type and maximum.
    QString text(int type, int maximum) const;

private:
    enum Kind { None, Text, Number, Flag };
    Kind m_kind = None;
    QString m_text;
    int m_number = 0;
};

// One typed property definition: its name (the key under which values are
// stored), how it is shown, which values it admits and what it is when
// nobody has set it.
class PropertyClass {
public:
    // The property types; the number is the value of type().
    enum Type {
        Boolean,
        Integer,
        IntegerHex,
        IntegerRange,
        String,
        FileName,
        ProjFileName,
        StringList,
        DirPath,
        DirPathList,
        Enumeration,
        Color,
        Font,
        FixedPitchFont,
        Custom,
    };

    // One row of a definition table, in column order; trailing columns may
    // be left out.
    struct Definition {
        Definition(const QString &name, Type type, const QString &page = {}, const QString &group = {},
                   const QString &shortTitle = {}, const QString &longText = {},
                   const PropertyDefault &defaultValue = {}, const QStringList &enumerates = {},
                   int minimum = 0, int maximum = 0, const QString &suffix = {},
                   const QString &specialValue = {}, bool readOnly = false, bool perConfiguration = true)
            : name(name), type(type), page(page), group(group), shortTitle(shortTitle), longText(longText),
              defaultValue(defaultValue), enumerates(enumerates), minimum(minimum), maximum(maximum),
              suffix(suffix), specialValue(specialValue), readOnly(readOnly), perConfiguration(perConfiguration)
        {
        }

        QString name;
        Type type;
        QString page;
        QString group;
        QString shortTitle;
        QString longText;
        PropertyDefault defaultValue;
        QStringList enumerates;
        int minimum;
        int maximum;
        QString suffix;
        QString specialValue;
        bool readOnly;
        bool perConfiguration;
    };

    // Fields from the installed description source (none by default).
    PropertyClass(const QString &name, Type type);
    PropertyClass(const QString &name, Type type, int minimum, int maximum);
    PropertyClass(const QString &name, Type type, const QString &page, const QString &group,
                  const QString &shortTitle, const QString &longText, const QString &defaultValue);
    PropertyClass(const QString &name, Type type, int minimum, int maximum, const QString &page,
                  const QString &group, const QString &shortTitle, const QString &longText,
                  int defaultValue);
    PropertyClass(const QString &name, const QString &page, const QString &group,
                  const QString &shortTitle, const QString &longText, bool defaultValue);
    PropertyClass(const QString &name, Type type, const QStringList &enumerates, const QString &page,
                  const QString &group, const QString &shortTitle, const QString &longText,
                  const QString &defaultValue);
    explicit PropertyClass(const Definition &definition);
    // From the attributes of a definition element: name, type (Boolean
    // unless it names a type exactly), group, short, long, and when present
    // default, minimum, maximum, enumeration (";"-separated) and
    // specialvalue.
    explicit PropertyClass(const XMLElement &element);
    virtual ~PropertyClass();

    PropertyClass(const PropertyClass &) = delete;
    PropertyClass &operator=(const PropertyClass &) = delete;

    const QString &name() const { return m_name; }
    const QString &group() const { return m_group; }
    const QString &shortTitle() const { return m_short; }
    const QString &longText() const { return m_long; }
    const QString &suffix() const { return m_suffix; }
    const QString &defaultValue() const { return m_default; }
    const QString &specialValue() const { return m_specialValue; }
    const QString &page() const { return m_page; }
    bool isReadOnly() const { return m_readOnly; }
    bool isPerConfiguration() const { return m_perConfiguration; }
    Type type() const { return m_type; }
    // The type's name, as definitions write it.
    QString typeName() const { return typeName(m_type); }
    // The enumerates field as given.
    const QStringList &enumerateTexts() const { return m_enumerates; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }

    void setDefaultValue(const QString &text) { m_default = text; }
    void setSuffix(const QString &text) { m_suffix = text; }
    void setSpecialValue(const QString &text) { m_specialValue = text; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    void setPerConfiguration(bool perConfiguration) { m_perConfiguration = perConfiguration; }

    // The admissible texts: enumerateTexts(), or "No" and "Yes" for a
    // Boolean class that names none.
    QStringList enumerates() const;

    static QString typeName(int type);
    // The type named exactly by text; Boolean for any other text.
    static Type typeFromName(const QString &text);
    // "0x" and lower-case hexadecimal digits, zero-padded to the width that
    // maximum needs (1 to 8 digits).
    static QString integerHexText(qint64 value, int maximum);

    // The process-wide description source; null (the default) for none.
    static void setDescriptionSource(const PropertyDescriptionSource *source);

private:
    enum DescriptionKeys { AllKeys, AllButRange };
    void describe(DescriptionKeys keys);

    QString m_name;
    QString m_group;
    QString m_short;
    QString m_long;
    QString m_suffix;
    QString m_default;
    QString m_specialValue;
    QString m_page;
    bool m_readOnly = false;
    bool m_perConfiguration = true;
    Type m_type = Boolean;
    QStringList m_enumerates;
    int m_minimum = 0;
    int m_maximum = 0;
};
