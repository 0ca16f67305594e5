#include <gtest/gtest.h>

#include <QRegularExpression>

#include "macros/MacroExpansion.h"

namespace {

const MacroMap sampleMacros{{"A", "alpha"}, {"Empty", ""}, {"Ref", "$(A)"}, {"Self", "x$(Self)"}, {"B", "beta"}};

} // namespace

TEST(MacroExpansion, referenceFormsDefaultsAndReexpansion)
{
    const struct { const char *text; const char *expected; } cases[] = {
        {"plain text", "plain text"},
        {"$(A)", "alpha"},
        {"<$(A)><$(B)>", "<alpha><beta>"},
        {"$(Empty)", ""},                     // present but empty is not absent
        {"$(Empty:fallback)", ""},
        {"$(Missing)", "$(Missing)"},         // absent: the reference itself
        {"$(Missing:)", ""},
        {"$(Missing:dflt)", "dflt"},
        {"$(Missing::dflt)", "dflt"},
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
        {"", ""},
        // A '$' inside a reference that names no macro asks for another pass
        // that gives the same text again.
        {"a$($(Missing))b", "a$($(Missing))b"},
        {"$(Missing:$(Self))", "x$(Self)"},   // a value that refers to itself ends after its own pass
    };
    for (const auto &c : cases)
        EXPECT_EQ(expandMacros(QString::fromUtf8(c.text), sampleMacros), QString::fromUtf8(c.expected)) << c.text;
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
    const MacroMap withDate{{"DateYear", "stored"}, {"Time", ""}};
    const QString year = expandMacros(QStringLiteral("$(DateYear)"), withDate);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}$")).match(year).hasMatch()) << year.toStdString();
    const QString time = expandMacros(QStringLiteral("$(Time)"), withDate);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$")).match(time).hasMatch());
    EXPECT_EQ(expandMacros(QStringLiteral("$(DateDay)"), MacroMap{}), QStringLiteral("$(DateDay)"));
}
