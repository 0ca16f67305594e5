#include <gtest/gtest.h>

#include "properties/PropertyClass.h"
#include "xml/XMLDocument.h"

TEST(PropertyClass, integerHexTextWidthFollowsTheMaximum)
{
    const struct { qint64 value; int maximum; const char *expected; } cases[] = {
        {10, 0, "0xa"},          {10, -5, "0xa"},          {10, 15, "0xa"},
        {10, 16, "0x0a"},        {255, 255, "0xff"},       {10, 4095, "0x00a"},
        {255, 65535, "0x00ff"},  {1, 1048575, "0x00001"},  {1, 16777215, "0x000001"},
        {1, 268435455, "0x0000001"}, {1, 268435456, "0x00000001"}, {1, 2147483647, "0x00000001"},
        {0x1234, 255, "0x1234"}, // more digits than the width keeps them all
        {0, 0, "0x0"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PropertyClass::integerHexText(c.value, c.maximum), QString::fromLatin1(c.expected))
            << c.value << " max " << c.maximum;
}

// The class defined by the root element of text.
struct Defined {
    explicit Defined(const char *text) { EXPECT_TRUE(document.parseText(text) && document.root()) << text; }
    PropertyClass make() const { return PropertyClass(*document.root()); }
    XMLDocument document;
};

TEST(PropertyClass, everyFormOfDefinitionGivesItsDefaultChoicesAndBounds)
{
    using Row = PropertyClass::Definition;
    const Defined element("<property name=\"gap\" type=\"IntegerHex\" group=\"G\" short=\"S\" long=\"L &lt;b&gt;\""
                          " default=\"0x00\" minimum=\"0\" maximum=\"255\" enumeration=\"a;;b;\""
                          " specialvalue=\"None\" page=\"ignored\"/>");
    // The default, null for none; the choices; the bounds.
    const struct { const char *name; PropertyClass propertyClass; QString defaultValue; QStringList enumerates;
                   int minimum, maximum; } cases[] = {
        {"bare", PropertyClass("bare", PropertyClass::String), QString(), {}, 0, 0},
        {"hex default is as wide as the maximum",
         PropertyClass("h", PropertyClass::IntegerHex, 0, 65535, {}, {}, {}, {}, 255), "0x00ff", {}, 0, 65535},
        {"narrow hex", PropertyClass("h", PropertyClass::IntegerHex, 0, 255, {}, {}, {}, {}, 255), "0xff", {}, 0, 255},
        {"decimal", PropertyClass("d", PropertyClass::Integer, 0, 65535, {}, {}, {}, {}, 255), "255", {}, 0, 65535},
        {"boolean yes", PropertyClass("b", {}, {}, {}, {}, true), "Yes", {"No", "Yes"}, 0, 0},
        {"enumeration", PropertyClass("e", PropertyClass::Enumeration, {"a", "b"}, {}, {}, {}, {}, "b"), "b",
         {"a", "b"}, 0, 0},
        {"boolean with its own texts", PropertyClass("o", PropertyClass::Boolean, {"Off", "On"}, {}, {}, {}, {}, {}),
         QString(), {"Off", "On"}, 0, 0},
        {"row: enumeration", PropertyClass(Row{"arm_endian", PropertyClass::Enumeration, "C/C++",
                                               "Code Generation Options", "Byte Order", "help", "Little",
                                               {"Little", "Big"}}), "Little", {"Little", "Big"}, 0, 0},
        {"row: hex", PropertyClass(Row{"gap", PropertyClass::IntegerHex, "Linker", "", "Gap", "", 0, {}, 0, 255}),
         "0x00", {}, 0, 255},
        {"row: range", PropertyClass(Row{"pad", PropertyClass::IntegerRange, "Debugger", "JTAG", "Pad", "", 7, {}, 0,
                                         1024, "bits"}), "7", {}, 0, 1024},
        {"row: boolean", PropertyClass(Row{"flag", PropertyClass::Boolean, "General", "", "Flag", "", false}), "No",
         {"No", "Yes"}, 0, 0},
        {"row: no default", PropertyClass(Row{"date", PropertyClass::String, "General", "", "Date"}), QString(), {}, 0,
         0},
        {"element", element.make(), "0x00", {"a", "b"}, 0, 255},
        {"element: unknown type", Defined("<p name=\"x\" type=\"integer\"/>").make(), QString(), {"No", "Yes"}, 0, 0},
        {"element: no type", Defined("<p name=\"x\"/>").make(), QString(), {"No", "Yes"}, 0, 0},
        {"element: bad minimum", Defined("<p name=\"x\" type=\"StringList\" minimum=\"ten\" maximum=\"12\"/>").make(),
         QString(), {}, 0, 12},
        {"element: bad maximum", Defined("<p name=\"x\" type=\"Custom\" minimum=\"-3\" maximum=\"4k\"/>").make(),
         QString(), {}, 0, 0},
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
    const PropertyClass gap = element.make();
    EXPECT_EQ(gap.type(), PropertyClass::IntegerHex);
    EXPECT_EQ(QStringList({gap.group(), gap.shortTitle(), gap.longText(), gap.specialValue(), gap.page()}),
              QStringList({"G", "S", "L <b>", "None", ""}));
    EXPECT_EQ(gap.enumerateTexts(), (QStringList{"a", "b"}));
    EXPECT_EQ(Defined("<p name=\"x\" type=\"Custom\"/>").make().type(), PropertyClass::Custom);
}
