#include <gtest/gtest.h>

#include "properties/PropertyClass.h"
#include "xml/XMLDocument.h"

namespace {

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

TEST(PropertyClassElement, attributesGiveTheFields)
{
    const Defined definition("<property name=\"gap\" type=\"IntegerHex\" group=\"G\" short=\"S\" long=\"L &lt;b&gt;\""
                             " default=\"0x00\" minimum=\"0\" maximum=\"255\" enumeration=\"a;;b;\""
                             " specialvalue=\"None\" page=\"ignored\"/>");
    const PropertyClass gap = definition.make();
    EXPECT_EQ(gap.name(), QStringLiteral("gap"));
    EXPECT_EQ(gap.type(), 2);
    EXPECT_EQ(gap.group(), QStringLiteral("G"));
    EXPECT_EQ(gap.shortTitle(), QStringLiteral("S"));
    EXPECT_EQ(gap.longText(), QStringLiteral("L <b>"));
    EXPECT_EQ(gap.defaultValue(), QStringLiteral("0x00"));
    EXPECT_EQ(gap.maximum(), 255);
    EXPECT_EQ(gap.enumerateTexts(), (QStringList{"a", "b"}));
    EXPECT_EQ(gap.specialValue(), QStringLiteral("None"));
    EXPECT_TRUE(gap.page().isEmpty());
}

TEST(PropertyClassElement, unknownTypesAndNumbersFallBack)
{
    const struct {
        const char *text;
        PropertyClass::Type type;
        int minimum;
        int maximum;
    } cases[] = {
        {"<p name=\"x\" type=\"integer\"/>", PropertyClass::Boolean, 0, 0},
        {"<p name=\"x\"/>", PropertyClass::Boolean, 0, 0},
        {"<p name=\"x\" type=\"StringList\" minimum=\"ten\" maximum=\"12\"/>", PropertyClass::StringList, 0, 12},
        {"<p name=\"x\" type=\"Custom\" minimum=\"-3\" maximum=\"4k\"/>", PropertyClass::Custom, 0, 0},
    };
    for (const auto &c : cases) {
        const PropertyClass defined = Defined(c.text).make();
        EXPECT_EQ(defined.type(), c.type) << c.text;
        EXPECT_EQ(defined.minimum(), c.minimum) << c.text;
        EXPECT_EQ(defined.maximum(), c.maximum) << c.text;
        EXPECT_TRUE(defined.defaultValue().isNull()) << c.text;
    }
    EXPECT_EQ(Defined("<p name=\"b\"/>").make().enumerates(), (QStringList{"No", "Yes"}));
}

} // namespace
