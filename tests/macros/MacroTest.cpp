#include <gtest/gtest.h>

#include <QDate>
#include <QRegularExpression>

#include "macros/MacroDefinitions.h"
#include "macros/MacroExpansion.h"
#include "macros/MacroList.h"
#include "macros/MacroTable.h"

TEST(MacroExpansion, referenceFormsDefaultsAndReexpansion)
{
    const MacroMap macros{{"A", "alpha"}, {"Empty", ""}, {"Ref", "$(A)"}, {"Self", "x$(Self)"}, {"B", "beta"}};
    const struct { const char *text; const char *expected; } cases[] = {
        {"<$(A)><$(B)>", "<alpha><beta>"},
        {"$(Empty)", ""},                     // present but empty is not absent
        {"$(Empty:fallback)", ""},
        {"$(Missing)", "$(Missing)"},         // absent: the reference itself
        {"$(Missing:)", ""},
        {"$(Missing:a:b)", "a:b"},            // the default runs to the end
        {"$(Missing::a::b)", "a::b"},
        {"$(Ref)", "$(A)"},                   // values are not expanded again...
        {"$(Missing:$(A))", "alpha"},         // ...unless a '$' was met inside a reference
        {"$(Missing::$(A))", "$(A)"},         // form 3 clears the flag
        {"$(Missing::$(A))$(Missing:$(B))", "alpha" "beta"}, // a later reference sets it again
        {"$(Missing:(x))", "(x)"},            // parentheses nest
        {"$", "$"},
        {"a$b", "a$b"},
        {"$(A", "(A"},                        // unterminated: the '$' goes
        {"$($(A)", "(alpha"},
        {"$(Missing::$(Ref)", "(Missing::$(A)"}, // form 3 clears the flag even when left open
        // A '$' inside a reference that names no macro asks for another pass
        // that gives the same text again.
        {"a$($(Missing))b", "a$($(Missing))b"},
        {"$(Missing:$(Self))", "x$(Self)"},   // a value that refers to itself ends after its own pass
    };
    for (const auto &c : cases)
        EXPECT_EQ(expandMacros(QString::fromUtf8(c.text), macros), QString::fromUtf8(c.expected)) << c.text;
}

TEST(MacroExpansion, endlessReexpansionEndsWithTheTextAsItStands)
{
    // A reference that keeps asking for passes makes a value that refers to
    // itself twice double the text each pass: the growth is cut off after
    // whole passes, long before 64 doublings.
    const MacroMap doubling{{"Twice", "$(Twice)$(Twice)"}};
    const QString grown = expandMacros(QStringLiteral("$(Twice)$($$())"), doubling);
    EXPECT_GT(grown.size(), 1 << 15);
    EXPECT_LE(grown.size(), (1 << 16) + 16);
    EXPECT_TRUE(grown.startsWith(QStringLiteral("$(Twice)$(Twice)")));
    EXPECT_TRUE(grown.endsWith(QStringLiteral("$(Twice)$($$())")));

    // References left open each drop their '$' in time linear in the text.
    const QString open = QStringLiteral("$(").repeated(200000) + u'x';
    EXPECT_EQ(expandMacros(open, {}), QString(200000, u'(') + u'x');
}

TEST(MacroExpansion, dateAndTimeNamesAreComputedOnlyWhenPresent)
{
    const QString year = QDate::currentDate().toString(QStringLiteral("yyyy"));
    const MacroMap withDate{{"DateYear", "stored"}, {"Time", ""}};
    const QString expanded = expandMacros(QStringLiteral("$(DateYear) $(Time) $(DateDay)"), withDate);
    const QRegularExpression form(u'^' + year + QStringLiteral(" \\d\\d:\\d\\d:\\d\\d \\$\\(DateDay\\)$"));
    EXPECT_TRUE(form.match(expanded).hasMatch()) << expanded.toStdString();
    // The system table holds them empty, to be computed.
    EXPECT_EQ(expandMacros(QStringLiteral("$(HostOS)-$(DateYear)"), MacroTable::instance().macros()),
              QStringLiteral("linux-") + year);
}

TEST(MacroDefinitions, itemsSplitAtTheFirstEqualsLaterOnesWinAndTheMapTurnsBackIntoItems)
{
    const MacroMap macros = parseMacroDefinitions({"X=a=b", "Y", "Z=", "=v", "W=c", "W=d", " S =s"});
    EXPECT_EQ(macros, (MacroMap{{"X", "a=b"}, {"Y", ""}, {"Z", ""}, {"", "v"}, {"W", "d"}, {" S ", "s"}}));
    EXPECT_FALSE(macros.value(QStringLiteral("Y")).isNull());
    // Back into items in name order, with trimmed names.
    EXPECT_EQ(macroDefinitionsFromMap({{"b", "2"}, {" a ", "x=y"}, {"c", ""}}), (QStringList{"a=x=y", "b=2", "c="}));
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
