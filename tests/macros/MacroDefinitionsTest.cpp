#include <gtest/gtest.h>

#include "macros/MacroDefinitions.h"
#include "macros/MacroList.h"

TEST(MacroDefinitions, itemsSplitAtTheFirstEqualsAndLaterOnesWin)
{
    const MacroMap macros = parseMacroDefinitions({"X=a=b", "Y", "Z=", "=v", "X=c", " S =s"});
    EXPECT_EQ(macros, (MacroMap{{"X", "c"}, {"Y", ""}, {"Z", ""}, {"", "v"}, {" S ", "s"}}));
    EXPECT_FALSE(macros.value(QStringLiteral("Y")).isNull());
    EXPECT_EQ(parseMacroDefinitions({"X=a=b"}).value(QStringLiteral("X")), QStringLiteral("a=b"));
    EXPECT_TRUE(parseMacroDefinitions({}).isEmpty());
}

TEST(MacroDefinitions, mapTurnsBackIntoItemsInNameOrderWithTrimmedNames)
{
    EXPECT_EQ(macroDefinitionsFromMap({{"b", "2"}, {" a ", "x=y"}, {"c", ""}}), (QStringList{"a=x=y", "b=2", "c="}));
    const MacroMap macros{{"A", "1"}, {"B", "two=2"}, {"C", ""}};
    EXPECT_EQ(parseMacroDefinitions(macroDefinitionsFromMap(macros)), macros);
}

TEST(MacroList, decodesEscapesAndEmptyItemsAndJoinsBack)
{
    EXPECT_EQ(macroList(QStringLiteral("a\\;b;;c;"), false), (QStringList{"a;b", "c"}));
    EXPECT_EQ(macroList(QStringLiteral("a\\;b;;c;"), true), (QStringList{"a;b", "", "c", ""}));
    EXPECT_EQ(macroList(QStringLiteral("x\\"), false), (QStringList{"x\\"}));
    EXPECT_EQ(macroList(QString(), false), QStringList{});
    EXPECT_EQ(joinMacroList({"a;b", "c\\d"}), QStringLiteral("a\\;b;c\\\\d"));
    const QStringList items{"", "semi;colon", "back\\slash", "", "end\\"};
    EXPECT_EQ(macroList(joinMacroList(items), true), items);
}
