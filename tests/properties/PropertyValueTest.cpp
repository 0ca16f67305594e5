#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "WarningCapture.h"
#include "properties/PropertyClass.h"
#include "properties/PropertyValue.h"

namespace {

const QString nonInteger = QStringLiteral("PropertyValue::setValue(int): Setting a non-integer property");
const QString nonBoolean = QStringLiteral("PropertyValue::setValue(int): Setting a non-Boolean property");
const QString notEnumerated = QStringLiteral(
    "PropertyValue::setValue(int): Setting an enumeration to a value which isn't in its enumerates");

PropertyClass *makeClass(PropertyClass::Type type, const QString &defaultValue = {}, const QStringList &texts = {},
                         int maximum = 0)
{
    static QList<std::shared_ptr<PropertyClass>> keep;
    PropertyClass::Definition row{QStringLiteral("p"), type};
    row.defaultValue = defaultValue;
    row.enumerates = texts;
    row.maximum = maximum;
    keep.append(std::make_shared<PropertyClass>(row));
    return keep.last().get();
}

TEST(PropertyValue, emptyTextReadsAsTheDefault)
{
    SimplePropertyValue value(makeClass(PropertyClass::Integer, QStringLiteral("10")));
    EXPECT_TRUE(value.value().isNull());
    EXPECT_EQ(value.intValue(), 10);
    value.setValue(5);
    EXPECT_EQ(value.value(), QStringLiteral("5"));
    EXPECT_EQ(value.intValue(), 5);
    value.setValue(QString());
    EXPECT_EQ(value.intValue(), 10);
    value.setValue(QStringLiteral(""));
    EXPECT_EQ(value.text(), QStringLiteral("10"));

    SimplePropertyValue list(makeClass(PropertyClass::StringList, QStringLiteral("a;;b\\;c")));
    EXPECT_EQ(list.stringList(false), (QStringList{"a", "b;c"}));
    EXPECT_EQ(list.stringList(true), (QStringList{"a", "", "b;c"}));
    list.setValue(QStringList{"x;y", "z"});
    EXPECT_EQ(list.value(), QStringLiteral("x\\;y;z"));
}

TEST(PropertyValue, integerTextsReadWithAutomaticBase)
{
    const struct {
        const char *text;
        int expected;
    } cases[] = {
        {"0x1F", 31}, {"0X1f", 31}, {"010", 8}, {"0", 0}, {"42", 42}, {"-7", -7}, {" 12 ", 12},
        {"08", 0},    {"0x", 0},    {"12a", 0}, {"abc", 0}, {"0x0x1", 0}, {"1.5", 0},
    };
    SimplePropertyValue value(makeClass(PropertyClass::Integer));
    for (const auto &c : cases) {
        value.setValue(c.text);
        EXPECT_EQ(value.intValue(), c.expected) << c.text;
    }
}

TEST(PropertyValue, booleanAndEnumerationReadsUseThePositionInTheTexts)
{
    SimplePropertyValue flag(makeClass(PropertyClass::Boolean));
    const struct {
        const char *text;
        bool expected;
        int position;
    } flags[] = {{"Yes", true, 1}, {"No", false, 0}, {"TRUE", true, 0}, {"yes", true, 0},
                 {"1", true, 0},   {"on", false, 0}, {"", false, 0}};
    for (const auto &c : flags) {
        flag.setValue(c.text);
        EXPECT_EQ(flag.boolValue(), c.expected) << c.text;
        EXPECT_EQ(flag.intValue(), c.position) << c.text;
    }

    SimplePropertyValue choice(makeClass(PropertyClass::Enumeration, {}, {"a", "b"}));
    choice.setValue("b");
    EXPECT_EQ(choice.intValue(), 1);
    EXPECT_TRUE(choice.boolValue());
    choice.setValue("c");
    EXPECT_EQ(choice.intValue(), 0);
    EXPECT_FALSE(choice.boolValue());
}

TEST(PropertyValue, typedWritesStoreTheirTextOrWarn)
{
    struct Case {
        const char *name;
        PropertyClass *propertyClass;
        const char *before;
        std::function<void(PropertyValue &)> write;
        QString expected;          // null: the stored text becomes null
        QStringList warnings;
    };
    const Case cases[] = {
        {"enumeration in range", makeClass(PropertyClass::Enumeration, {}, {"a", "b"}), "a",
         [](PropertyValue &v) { v.setValue(1); }, QStringLiteral("b"), {}},
        {"enumeration out of range", makeClass(PropertyClass::Enumeration, {}, {"a", "b"}), "a",
         [](PropertyValue &v) { v.setValue(2); }, QString(), {notEnumerated}},
        {"negative enumeration", makeClass(PropertyClass::Enumeration, {}, {"a", "b"}), "a",
         [](PropertyValue &v) { v.setValue(-1); }, QString(), {notEnumerated}},
        {"boolean true", makeClass(PropertyClass::Boolean), "No", [](PropertyValue &v) { v.setValue(true); },
         QStringLiteral("Yes"), {}},
        {"boolean false", makeClass(PropertyClass::Boolean, {}, {"Off", "On"}), "On",
         [](PropertyValue &v) { v.setValue(false); }, QStringLiteral("Off"), {}},
        {"hex width", makeClass(PropertyClass::IntegerHex, {}, {}, 4095), "",
         [](PropertyValue &v) { v.setValue(10); }, QStringLiteral("0x00a"), {}},
        {"hex no maximum", makeClass(PropertyClass::IntegerHex), "", [](PropertyValue &v) { v.setValue(10); },
         QStringLiteral("0xa"), {}},
        {"range", makeClass(PropertyClass::IntegerRange), "", [](PropertyValue &v) { v.setValue(-3); },
         QStringLiteral("-3"), {}},
        {"integer on string", makeClass(PropertyClass::String), "keep", [](PropertyValue &v) { v.setValue(3); },
         QStringLiteral("keep"), {nonInteger}},
        {"bool on string", makeClass(PropertyClass::String), "keep", [](PropertyValue &v) { v.setValue(true); },
         QStringLiteral("keep"), {nonBoolean, nonInteger}},
        {"bool on enumeration", makeClass(PropertyClass::Enumeration, {}, {"a", "b"}), "",
         [](PropertyValue &v) { v.setValue(true); }, QStringLiteral("b"), {nonBoolean}},
        {"rectangle", makeClass(PropertyClass::String), "",
         [](PropertyValue &v) { v.setValue(QRect(QPoint(10, 20), QPoint(29, 59))); },
         QStringLiteral("10,20,20,40"), {}},
    };
    for (const Case &c : cases) {
        SimplePropertyValue value(c.propertyClass);
        value.setValue(c.before);
        WarningCapture capture;
        c.write(value);
        EXPECT_EQ(value.value(), c.expected) << c.name;
        EXPECT_EQ(value.value().isNull(), c.expected.isNull()) << c.name;
        EXPECT_EQ(capture.warnings(), c.warnings) << c.name;
    }
}

TEST(PropertyValue, coloursAndFontsReadAndWriteTheirTextForms)
{
    SimplePropertyValue colour(makeClass(PropertyClass::Color, QStringLiteral("#00ff00")));
    EXPECT_EQ(colour.colorValue(), QColor(0, 255, 0));
    colour.setValue(QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(colour.value(), QStringLiteral("#123456"));
    EXPECT_EQ(colour.colorValue(), QColor(0x12, 0x34, 0x56));
    colour.setValue(QStringLiteral("no such colour"));
    EXPECT_FALSE(colour.colorValue().isValid());

    const QFont fallback(QStringLiteral("Fallback"), 7);
    SimplePropertyValue font(makeClass(PropertyClass::Font));
    EXPECT_EQ(font.fontValue(fallback), fallback);
    font.setValue(QStringLiteral("Monospace,10,-1,5,50,0,0,0,0,0"));
    EXPECT_EQ(font.fontValue(fallback).family(), QStringLiteral("Monospace"));
    EXPECT_EQ(font.fontValue(fallback).pointSize(), 10);
    font.setValue(QStringLiteral("not,a,font,at,all"));
    EXPECT_EQ(font.fontValue(fallback), fallback);
    SimplePropertyValue defaulted(makeClass(PropertyClass::FixedPitchFont, QStringLiteral("Courier,12,-1,5,50,0,0,0,0,0")));
    EXPECT_EQ(defaulted.fontValue(fallback).family(), QStringLiteral("Courier"));
}

// A value whose destruction is observable, owned or not.
class WatchedValue : public SimplePropertyValue {
public:
    WatchedValue(PropertyClass *propertyClass, bool owned, int &destroyed)
        : SimplePropertyValue(propertyClass), m_destroyed(destroyed)
    {
        setOwned(owned);
    }
    ~WatchedValue() override { ++m_destroyed; }

private:
    int &m_destroyed;
};

TEST(PropertyValueList, appendsUniqueByClassAndDestroysOnlyOwnedValues)
{
    PropertyClass *first = makeClass(PropertyClass::String);
    PropertyClass *second = makeClass(PropertyClass::String);
    int destroyed = 0;
    WatchedValue notOwned(second, false, destroyed);
    {
        PropertyValueList list;
        auto *owned = new WatchedValue(first, true, destroyed);
        EXPECT_EQ(list.appendUnique(owned), owned);
        auto *duplicate = new WatchedValue(first, true, destroyed);
        EXPECT_EQ(list.appendUnique(duplicate), owned);
        delete duplicate;
        EXPECT_EQ(destroyed, 1);
        EXPECT_EQ(list.appendUnique(&notOwned), &notOwned);
        EXPECT_EQ(list.size(), 2);
        EXPECT_EQ(list.find(second), &notOwned);
        EXPECT_EQ(list.find(makeClass(PropertyClass::String)), nullptr);

        WarningCapture capture;
        EXPECT_EQ(list.appendUnique(nullptr), nullptr);
        SimplePropertyValue classless(nullptr);
        EXPECT_EQ(list.appendUnique(&classless), nullptr);
        EXPECT_EQ(capture.warnings(), (QStringList{"Bad property value in PropertyValueList::appendUnique",
                                                   "Bad property value in PropertyValueList::appendUnique"}));
        EXPECT_EQ(list.size(), 2);
    }
    EXPECT_EQ(destroyed, 2);  // the owned one only
}

} // namespace
