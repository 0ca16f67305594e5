#include <gtest/gtest.h>

#include "properties/PropertyClass.h"
#include "properties/PropertyClassList.h"

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

TEST(PropertyClass, constructorFormsSetTheirFieldsAndLeaveTheRest)
{
    const PropertyClass bare(QStringLiteral("bare"), PropertyClass::String);
    EXPECT_EQ(bare.name(), QStringLiteral("bare"));
    EXPECT_TRUE(bare.page().isEmpty() && bare.group().isEmpty() && bare.shortTitle().isEmpty());
    EXPECT_TRUE(bare.longText().isEmpty() && bare.defaultValue().isEmpty());
    EXPECT_FALSE(bare.isReadOnly());
    EXPECT_TRUE(bare.isPerConfiguration());

    const PropertyClass hex(QStringLiteral("h"), PropertyClass::IntegerHex, 0, 65535, QStringLiteral("P"),
                            QStringLiteral("G"), QStringLiteral("S"), QStringLiteral("L"), 255);
    EXPECT_EQ(hex.defaultValue(), QStringLiteral("0x00ff"));
    EXPECT_EQ(hex.maximum(), 65535);
    EXPECT_EQ(hex.page(), QStringLiteral("P"));
    const PropertyClass narrowHex(QStringLiteral("h"), PropertyClass::IntegerHex, 0, 255, {}, {}, {}, {}, 255);
    EXPECT_EQ(narrowHex.defaultValue(), QStringLiteral("0xff"));
    const PropertyClass decimal(QStringLiteral("d"), PropertyClass::Integer, 0, 65535, {}, {}, {}, {}, 255);
    EXPECT_EQ(decimal.defaultValue(), QStringLiteral("255"));

    const PropertyClass yes(QStringLiteral("b"), QStringLiteral("P"), QStringLiteral("G"), QStringLiteral("S"),
                            QStringLiteral("L"), true);
    EXPECT_EQ(yes.type(), PropertyClass::Boolean);
    EXPECT_EQ(yes.defaultValue(), QStringLiteral("Yes"));
    EXPECT_EQ(yes.enumerates(), (QStringList{"No", "Yes"}));
    EXPECT_TRUE(yes.enumerateTexts().isEmpty());

    const PropertyClass choice(QStringLiteral("e"), PropertyClass::Enumeration, {"a", "b"}, {}, {}, {}, {},
                               QStringLiteral("b"));
    EXPECT_EQ(choice.enumerates(), (QStringList{"a", "b"}));
    const PropertyClass onOff(QStringLiteral("o"), PropertyClass::Boolean, {"Off", "On"}, {}, {}, {}, {}, {});
    EXPECT_EQ(onOff.enumerates(), (QStringList{"Off", "On"}));
}

TEST(PropertyClass, definitionRowsMapToOneConstruction)
{
    const PropertyClass::Definition rows[] = {
        {"arm_endian", PropertyClass::Enumeration, "C/C++", "Code Generation Options", "Byte Order", "help",
         "Little", {"Little", "Big"}},
        {"arm_linker_gap_fill", PropertyClass::IntegerHex, "Linker", "Linker Options", "Gap Fill Value", "",
         0, {}, 0, 255},
        {"pad", PropertyClass::IntegerRange, "Debugger", "JTAG", "Pad", "", 7, {}, 0, 1024, "bits"},
        {"flag", PropertyClass::Boolean, "General", "", "Flag", "", false},
        {"date", PropertyClass::String, "General", "", "Date", "", {}, {}, 0, 0, {}, "None", true, false},
    };
    const PropertyClass endian(rows[0]);
    EXPECT_EQ(endian.defaultValue(), QStringLiteral("Little"));
    EXPECT_EQ(endian.enumerates(), (QStringList{"Little", "Big"}));
    EXPECT_EQ(endian.group(), QStringLiteral("Code Generation Options"));
    EXPECT_EQ(endian.shortTitle(), QStringLiteral("Byte Order"));
    EXPECT_EQ(endian.longText(), QStringLiteral("help"));
    EXPECT_EQ(PropertyClass(rows[1]).defaultValue(), QStringLiteral("0x00"));
    const PropertyClass pad(rows[2]);
    EXPECT_EQ(pad.defaultValue(), QStringLiteral("7"));
    EXPECT_EQ(pad.suffix(), QStringLiteral("bits"));
    EXPECT_EQ(pad.maximum(), 1024);
    EXPECT_EQ(PropertyClass(rows[3]).defaultValue(), QStringLiteral("No"));
    const PropertyClass date(rows[4]);
    EXPECT_TRUE(date.defaultValue().isNull());
    EXPECT_EQ(date.specialValue(), QStringLiteral("None"));
    EXPECT_TRUE(date.isReadOnly());
    EXPECT_FALSE(date.isPerConfiguration());
}

class KeyedTexts : public PropertyDescriptionSource {
public:
    QString text(const QString &key) const override
    {
        keys.append(key);
        return key.endsWith(QLatin1String(".enumerates")) ? QStringLiteral("x;;y;")
               : key.endsWith(QLatin1String("imum"))       ? QStringLiteral("42")
                                                           : key;
    }
    mutable QStringList keys;
};

TEST(PropertyClass, describedConstructorsReadTheInstalledSource)
{
    KeyedTexts texts;
    PropertyClass::setDescriptionSource(&texts);
    const PropertyClass described(QStringLiteral("p"), PropertyClass::Enumeration);
    const PropertyClass ranged(QStringLiteral("r"), PropertyClass::IntegerRange, 1, 9);
    PropertyClass::setDescriptionSource(nullptr);

    EXPECT_EQ(texts.keys, (QStringList{"p.page", "p.group", "p.short", "p.long", "p.default", "p.enumerates",
                                       "p.suffix", "p.minimum", "p.maximum", "r.page", "r.group", "r.short",
                                       "r.long", "r.default", "r.enumerates", "r.suffix"}));
    EXPECT_EQ(described.page(), QStringLiteral("p.page"));
    EXPECT_EQ(described.defaultValue(), QStringLiteral("p.default"));
    EXPECT_EQ(described.enumerates(), (QStringList{"x", "y"}));
    EXPECT_EQ(described.minimum(), 42);
    EXPECT_EQ(ranged.minimum(), 1);
    EXPECT_EQ(ranged.maximum(), 9);
    EXPECT_EQ(ranged.suffix(), QStringLiteral("r.suffix"));

    const PropertyClass undescribed(QStringLiteral("u"), PropertyClass::String);
    EXPECT_TRUE(undescribed.page().isEmpty());
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
