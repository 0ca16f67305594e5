#include <gtest/gtest.h>

#include <memory>
#include <variant>

#include "WarningCapture.h"
#include "properties/PropertyClass.h"
#include "properties/PropertyValue.h"
#include "xml/XMLDocument.h"

namespace {

const QString setting = QStringLiteral("PropertyValue::setValue(int): Setting ");
const QString nonInteger = setting + "a non-integer property";
const QString nonBoolean = setting + "a non-Boolean property";
const QString notEnumerated = setting + "an enumeration to a value which isn't in its enumerates";

PropertyClass *makeClass(PropertyClass::Type type, const QString &defaultValue = {}, const QStringList &texts = {},
                         int maximum = 0)
{
    static QList<std::shared_ptr<PropertyClass>> keep;
    keep.append(std::make_shared<PropertyClass>(
        PropertyClass::Definition{"p", type, {}, {}, {}, {}, defaultValue, texts, 0, maximum}));
    return keep.last().get();
}

// The class defined by the root element of text.
PropertyClass defined(const char *text)
{
    XMLDocument document;
    EXPECT_TRUE(document.parseText(text) && document.root()) << text;
    return PropertyClass(*document.root());
}

TEST(PropertyClass, integerHexTextWidthFollowsTheMaximum)
{
    const struct { qint64 value; int maximum; const char *expected; } cases[] = {
        {10, 0, "0xa"},
        {10, 15, "0xa"},
        {10, 16, "0x0a"},
        {255, 255, "0xff"},
        {10, 4095, "0x00a"},
        {255, 65535, "0x00ff"},
        {1, 1048575, "0x00001"},
        {1, 16777215, "0x000001"},
        {1, 268435455, "0x0000001"},
        {1, 268435456, "0x00000001"},
        {0x1234, 255, "0x1234"}, // more digits than the width keeps them all
    };
    for (const auto &c : cases)
        EXPECT_EQ(PropertyClass::integerHexText(c.value, c.maximum), QString::fromLatin1(c.expected))
            << c.value << " max " << c.maximum;
}

TEST(PropertyClass, everyFormOfDefinitionGivesItsDefaultChoicesAndBounds)
{
    using Row = PropertyClass::Definition;
    using enum PropertyClass::Type;
    const char *element = "<property name=\"gap\" type=\"IntegerHex\" group=\"G\" short=\"S\" long=\"L &lt;b&gt;\""
                          " default=\"0x00\" minimum=\"0\" maximum=\"255\" enumeration=\"a;;b;\""
                          " specialvalue=\"None\" page=\"ignored\"/>";
    // The default, null for none; the choices; the bounds.
    const struct { const char *name; PropertyClass propertyClass; QString defaultValue; QStringList enumerates;
                   int minimum, maximum; } cases[] = {
        {"hex width", PropertyClass("h", IntegerHex, 0, 65535, {}, {}, {}, {}, 255), "0x00ff", {}, 0, 65535},
        {"boolean", PropertyClass("b", {}, {}, {}, {}, true), "Yes", {"No", "Yes"}, 0, 0},
        {"own texts", PropertyClass("o", Boolean, {"Off", "On"}, {}, {}, {}, {}, {}), QString(), {"Off", "On"}, 0, 0},
        {"row: hex", PropertyClass(Row{"gap", IntegerHex, "", "", "", "", 0, {}, 0, 255}), "0x00", {}, 0, 255},
        {"row: range", PropertyClass(Row{"pad", IntegerRange, "", "", "", "", 7, {}, 0, 1024}), "7", {}, 0, 1024},
        {"row: no default", PropertyClass(Row{"date", String}), QString(), {}, 0, 0},
        {"element", defined(element), "0x00", {"a", "b"}, 0, 255},
        {"element: unknown type", defined("<p type=\"integer\"/>"), QString(), {"No", "Yes"}, 0, 0},
        {"element: bad minimum", defined("<p type=\"String\" minimum=\"ten\" maximum=\"12\"/>"), QString(), {}, 0, 12},
        {"element: bad maximum", defined("<p type=\"Custom\" minimum=\"-3\" maximum=\"4k\"/>"), QString(), {}, 0, 0},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.propertyClass.defaultValue(), c.defaultValue) << c.name;
        EXPECT_EQ(c.propertyClass.defaultValue().isNull(), c.defaultValue.isNull()) << c.name;
        EXPECT_EQ(c.propertyClass.enumerates(), c.enumerates) << c.name;
        EXPECT_EQ(c.propertyClass.minimum(), c.minimum) << c.name;
        EXPECT_EQ(c.propertyClass.maximum(), c.maximum) << c.name;
    }

    // The other attributes are read as they stand, entities decoded; an
    // element has no page.
    const PropertyClass gap = defined(element);
    EXPECT_EQ(gap.type(), IntegerHex);
    EXPECT_EQ(QStringList({gap.group(), gap.shortTitle(), gap.longText(), gap.specialValue(), gap.page()}),
              QStringList({"G", "S", "L <b>", "None", ""}));
    EXPECT_EQ(gap.enumerateTexts(), (QStringList{"a", "b"}));
}

// What a value reads as: its integer (and, when it has texts, its truth),
// its colour name, or its font's family and point size.
QString readOf(const PropertyValue &value, const FontDescription &fallback)
{
    switch (value.propertyClass()->type()) {
    case PropertyClass::Integer:
        return QString::number(value.intValue());
    case PropertyClass::Color:
        return value.colorValue().name();
    case PropertyClass::Font:
    case PropertyClass::FixedPitchFont: {
        const FontDescription font = value.fontValue(fallback);
        return font == fallback ? "fallback" : font.family + u' ' + QString::number(font.pointSize);
    }
    default:
        return QString::number(value.intValue()) + (value.boolValue() ? " true" : " false");
    }
}

TEST(PropertyValue, readsTakeTheTextOrElseTheDefault)
{
    FontDescription fallback;
    fallback.family = QStringLiteral("Fallback");
    PropertyClass *number = makeClass(PropertyClass::Integer);
    PropertyClass *flag = makeClass(PropertyClass::Boolean);
    PropertyClass *choice = makeClass(PropertyClass::Enumeration, {}, {"a", "b"});
    PropertyClass *colour = makeClass(PropertyClass::Color, "#00ff00");
    PropertyClass *font = makeClass(PropertyClass::Font, "Courier,12,-1,5,50,0,0,0,0,0");
    // The text set (null: none); what it reads as. An integer takes its base
    // from the text and is 0 for a text that is no number; a Boolean or an
    // enumeration reads the position in its texts.
    const struct { PropertyClass *propertyClass; const char *text, *read; } cases[] = {
        {number, "0X1F", "31"},
        {number, "010", "8"},
        {number, "-7", "-7"},
        {number, " 12 ", "12"},
        {number, "08", "0"},
        {number, "0x", "0"},
        {makeClass(PropertyClass::Integer, "10"), "", "10"},
        {flag, "TRUE", "0 true"},
        {flag, "yes", "0 true"},
        {flag, "1", "0 true"},
        {flag, "on", "0 false"},
        {choice, "b", "1 true"},
        {choice, "c", "0 false"},
        {colour, nullptr, "#00ff00"},
        {colour, "Navy", "#000080"},
        {colour, "no such colour", ""},  // not the default
        {font, "Monospace,10,-1,5,50,0,0,0,0,0", "Monospace 10"},
        {font, "not,a,font,at,all", "fallback"},  // not the default
        {makeClass(PropertyClass::Font), nullptr, "fallback"},
        {makeClass(PropertyClass::FixedPitchFont, "Courier,12,-1,5,50,0,0,0,0,0"), nullptr, "Courier 12"},
    };
    for (const auto &c : cases) {
        SimplePropertyValue value(c.propertyClass);
        if (c.text)
            value.setValue(c.text);
        EXPECT_EQ(readOf(value, fallback), QString::fromLatin1(c.read)) << c.text;
    }
}

TEST(PropertyValue, typedWritesStoreTheirTextOrWarn)
{
    PropertyClass *choice = makeClass(PropertyClass::Enumeration, {}, {"a", "b"});
    PropertyClass *text = makeClass(PropertyClass::String);
    // The text before, the value written, the text after (null: the stored
    // text becomes null) and the warnings.
    using Written = std::variant<int, bool, QRect, Colour>;
    const struct { const char *name; PropertyClass *propertyClass; const char *before; Written written;
                   QString expected; QStringList warnings; } cases[] = {
        {"enumeration out of range", choice, "a", 2, QString(), {notEnumerated}},
        {"negative enumeration", choice, "a", -1, QString(), {notEnumerated}},
        {"boolean false", makeClass(PropertyClass::Boolean, {}, {"Off", "On"}), "On", false, "Off", {}},
        {"hex width", makeClass(PropertyClass::IntegerHex, {}, {}, 4095), "", 10, "0x00a", {}},
        {"integer", makeClass(PropertyClass::Integer), "", 5, "5", {}},
        {"range", makeClass(PropertyClass::IntegerRange), "", -3, "-3", {}},
        {"integer on string", text, "keep", 3, "keep", {nonInteger}},
        {"bool on string", text, "keep", true, "keep", {nonBoolean, nonInteger}},
        {"bool on enumeration", choice, "", true, "b", {nonBoolean}},
        {"rectangle", text, "", QRect(QPoint(10, 20), QPoint(29, 59)), "10,20,20,40", {}},
        {"colour", makeClass(PropertyClass::Color), "", Colour(0x12, 0x34, 0x56), "#123456", {}},
        {"invalid colour", makeClass(PropertyClass::Color), "#123456", Colour(), QString(), {}},
    };
    for (const auto &c : cases) {
        SimplePropertyValue value(c.propertyClass);
        value.setValue(c.before);
        WarningCapture capture;
        std::visit([&value](const auto &written) { value.setValue(written); }, c.written);
        EXPECT_EQ(value.value(), c.expected) << c.name;
        EXPECT_EQ(value.value().isNull(), c.expected.isNull()) << c.name;
        EXPECT_EQ(capture.warnings(), c.warnings) << c.name;
    }

    // A list reads its default while no text is stored.
    const SimplePropertyValue list(makeClass(PropertyClass::StringList, "a;;b\\;c"));
    EXPECT_EQ(list.stringList(true), (QStringList{"a", "", "b;c"}));
}

// A value that counts its destruction, owned by its list or not.
struct WatchedValue : SimplePropertyValue {
    WatchedValue(PropertyClass *propertyClass, bool owned, int &destroyed)
        : SimplePropertyValue(propertyClass), destroyed(destroyed) { setOwned(owned); }
    ~WatchedValue() override { ++destroyed; }
    int &destroyed;
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
        EXPECT_EQ(list.appendUnique(&notOwned), &notOwned);

        WarningCapture capture;
        EXPECT_EQ(list.appendUnique(nullptr), nullptr);
        SimplePropertyValue classless(nullptr);
        EXPECT_EQ(list.appendUnique(&classless), nullptr);
        EXPECT_EQ(capture.warnings(), QStringList(2, "Bad property value in PropertyValueList::appendUnique"));
        EXPECT_EQ(list.size(), 2);
    }
    EXPECT_EQ(destroyed, 2);  // the owned one only
}

} // namespace
