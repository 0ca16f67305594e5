#include <gtest/gtest.h>

#include "macros/MacroDefinitions.h"

namespace {

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
    EXPECT_EQ(macroDefinitionsFromMap({{"b", "2"}, {" a ", "x=y"}, {"c", ""}}),
              (QStringList{"a=x=y", "b=2", "c="}));
    const MacroMap macros{{"A", "1"}, {"B", "two=2"}, {"C", ""}};
    EXPECT_EQ(parseMacroDefinitions(macroDefinitionsFromMap(macros)), macros);
}

TEST(MacroDefinitions, overlayReplacesEntriesOfTheSameName)
{
    EXPECT_EQ(overlayMacros({{"A", "1"}, {"B", "2"}}, {{"B", "b"}, {"C", ""}}),
              (MacroMap{{"A", "1"}, {"B", "b"}, {"C", ""}}));
}

} // namespace
