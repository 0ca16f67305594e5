#include <gtest/gtest.h>

#include "properties/PropertyClass.h"
#include "properties/PropertyClassList.h"
#include "xml/XMLDocument.h"

namespace {

TEST(PropertyClass, typeNamesAreNumberedInOrderAndReadExactly)
{
    const char *names[] = {"Boolean",  "Integer",     "IntegerHex", "IntegerRange", "String",
                           "FileName", "ProjFileName", "StringList", "DirPath",      "DirPathList",
                           "Enumeration", "Color",     "Font",       "FixedPitchFont", "Custom"};
    for (int type = 0; type < 15; ++type) {
        EXPECT_EQ(PropertyClass::typeName(type), QString::fromLatin1(names[type]));
        EXPECT_EQ(PropertyClass::typeFromName(QString::fromLatin1(names[type])), type);
    }
    EXPECT_EQ(PropertyClass::typeFromName(QStringLiteral("IntegerHex")), 2);
    EXPECT_EQ(PropertyClass::typeFromName(QStringLiteral("integer")), PropertyClass::Boolean);
    EXPECT_EQ(PropertyClass::typeFromName(QString()), PropertyClass::Boolean);
    EXPECT_TRUE(PropertyClass::typeName(15).isEmpty());
}

TEST(PropertyClass, integerHexTextWidthFollowsTheMaximum)
{
    const struct {
        qint64 value;
        int maximum;
        const char *expected;
    } cases[] = {
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
    explicit Defined(const char *text)
    {
        EXPECT_TRUE(document.parseText(text)) << text;
        EXPECT_NE(document.root(), nullptr) << text;
    }
    PropertyClass make() const { return PropertyClass(*document.root()); }
    XMLDocument document;
};

TEST(PropertyClass, everyFormOfDefinitionGivesItsDefaultChoicesAndBounds)
{
    const PropertyClass::Definition row{"date", PropertyClass::String, "General", "", "Date", "", {}, {}, 0, 0, {},
                                        "None", true, false};
    const Defined element("<property name=\"gap\" type=\"IntegerHex\" group=\"G\" short=\"S\" long=\"L &lt;b&gt;\""
                          " default=\"0x00\" minimum=\"0\" maximum=\"255\" enumeration=\"a;;b;\""
                          " specialvalue=\"None\" page=\"ignored\"/>");
    struct Case {
        const char *name;
        PropertyClass propertyClass;
        QString defaultValue;   // null: no default at all
        QStringList enumerates;
        int minimum;
        int maximum;
    };
    const Case cases[] = {
        {"bare", PropertyClass(QStringLiteral("bare"), PropertyClass::String), QString(), {}, 0, 0},
        {"hex default is as wide as the maximum",
         PropertyClass(QStringLiteral("h"), PropertyClass::IntegerHex, 0, 65535, {}, {}, {}, {}, 255),
         QStringLiteral("0x00ff"), {}, 0, 65535},
        {"narrow hex", PropertyClass(QStringLiteral("h"), PropertyClass::IntegerHex, 0, 255, {}, {}, {}, {}, 255),
         QStringLiteral("0xff"), {}, 0, 255},
        {"decimal", PropertyClass(QStringLiteral("d"), PropertyClass::Integer, 0, 65535, {}, {}, {}, {}, 255),
         QStringLiteral("255"), {}, 0, 65535},
        {"boolean yes", PropertyClass(QStringLiteral("b"), {}, {}, {}, {}, true), QStringLiteral("Yes"), {"No", "Yes"}, 0, 0},
        {"enumeration", PropertyClass(QStringLiteral("e"), PropertyClass::Enumeration, {"a", "b"}, {}, {}, {}, {},
                                      QStringLiteral("b")),
         QStringLiteral("b"), {"a", "b"}, 0, 0},
        {"boolean with its own texts", PropertyClass(QStringLiteral("o"), PropertyClass::Boolean, {"Off", "On"}, {}, {},
                                                     {}, {}, {}),
         QString(), {"Off", "On"}, 0, 0},
        {"row: enumeration", PropertyClass(PropertyClass::Definition{"arm_endian", PropertyClass::Enumeration, "C/C++",
                                                                     "Code Generation Options", "Byte Order", "help",
                                                                     "Little", {"Little", "Big"}}),
         QStringLiteral("Little"), {"Little", "Big"}, 0, 0},
        {"row: hex", PropertyClass(PropertyClass::Definition{"gap", PropertyClass::IntegerHex, "Linker", "", "Gap", "",
                                                             0, {}, 0, 255}),
         QStringLiteral("0x00"), {}, 0, 255},
        {"row: range", PropertyClass(PropertyClass::Definition{"pad", PropertyClass::IntegerRange, "Debugger", "JTAG",
                                                               "Pad", "", 7, {}, 0, 1024, "bits"}),
         QStringLiteral("7"), {}, 0, 1024},
        {"row: boolean", PropertyClass(PropertyClass::Definition{"flag", PropertyClass::Boolean, "General", "", "Flag",
                                                                 "", false}),
         QStringLiteral("No"), {"No", "Yes"}, 0, 0},
        {"row: no default", PropertyClass(row), QString(), {}, 0, 0},
        {"element", element.make(), QStringLiteral("0x00"), {"a", "b"}, 0, 255},
        {"element: unknown type", Defined("<p name=\"x\" type=\"integer\"/>").make(), QString(), {"No", "Yes"}, 0, 0},
        {"element: no type", Defined("<p name=\"x\"/>").make(), QString(), {"No", "Yes"}, 0, 0},
        {"element: bad minimum", Defined("<p name=\"x\" type=\"StringList\" minimum=\"ten\" maximum=\"12\"/>").make(),
         QString(), {}, 0, 12},
        {"element: bad maximum", Defined("<p name=\"x\" type=\"Custom\" minimum=\"-3\" maximum=\"4k\"/>").make(),
         QString(), {}, 0, 0},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.propertyClass.defaultValue(), c.defaultValue) << c.name;
        EXPECT_EQ(c.propertyClass.defaultValue().isNull(), c.defaultValue.isNull()) << c.name;
        EXPECT_EQ(c.propertyClass.enumerates(), c.enumerates) << c.name;
        EXPECT_EQ(c.propertyClass.minimum(), c.minimum) << c.name;
        EXPECT_EQ(c.propertyClass.maximum(), c.maximum) << c.name;
    }

    // The other fields come from the row or the attributes as they stand;
    // an element has no page.
    const PropertyClass date(row);
    EXPECT_EQ(date.specialValue(), QStringLiteral("None"));
    EXPECT_TRUE(date.isReadOnly());
    EXPECT_FALSE(date.isPerConfiguration());
    const PropertyClass gap = element.make();
    EXPECT_EQ(gap.type(), PropertyClass::IntegerHex);
    EXPECT_EQ(gap.group(), QStringLiteral("G"));
    EXPECT_EQ(gap.shortTitle(), QStringLiteral("S"));
    EXPECT_EQ(gap.longText(), QStringLiteral("L <b>"));
    EXPECT_EQ(gap.enumerateTexts(), (QStringList{"a", "b"}));
    EXPECT_EQ(gap.specialValue(), QStringLiteral("None"));
    EXPECT_TRUE(gap.page().isEmpty());
    EXPECT_EQ(Defined("<p name=\"x\" type=\"Custom\"/>").make().type(), PropertyClass::Custom);
}

TEST(PropertyClassList, findsAndRemovesTheFirstOfAName)
{
    PropertyClass first(QStringLiteral("stack"), PropertyClass::IntegerRange);
    PropertyClass second(QStringLiteral("stack"), PropertyClass::IntegerRange);
    PropertyClass other(QStringLiteral("heap"), PropertyClass::IntegerRange);
    PropertyClassList list;
    list.appendUnique(&first);
    list.appendUnique(&other);
    list.appendUnique(&second);
    list.appendUnique(&first);
    EXPECT_EQ(list.size(), 3);
    EXPECT_EQ(list.find(QStringLiteral("stack")), &first);
    EXPECT_EQ(list.find(QStringLiteral("none")), nullptr);
    EXPECT_TRUE(list.removeFirst(QStringLiteral("stack")));
    EXPECT_EQ(list.find(QStringLiteral("stack")), &second);
    EXPECT_EQ(list, (QList<PropertyClass *>{&other, &second}));
    EXPECT_FALSE(list.removeFirst(QStringLiteral("none")));
    EXPECT_EQ(&PropertyClassList::global(), &PropertyClassList::global());
}

} // namespace
