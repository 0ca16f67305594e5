#include <gtest/gtest.h>

#include "settings/SettingsFile.h"

namespace {

const QChar middleDot(0xb7);

TEST(SettingsFile, valuesAreEscapedAndReadBack)
{
    const struct {
        QString value;
        const char *escaped;
    } cases[] = {
        {QStringLiteral("plain"), "plain"},
        {QStringLiteral("a<b"), "a&lt;b"},
        {QStringLiteral("a>b"), "a&gt;b"},
        {QStringLiteral("x&y"), "x&amp;y"},
        {QStringLiteral("\"q\" 'a'"), "&quot;q&quot; &apos;a&apos;"},
        {QStringLiteral("a") + middleDot + QStringLiteral("b"), "a&middot;b"},
        {QStringLiteral("<&>"), "&lt;&amp;&gt;"},
        {QStringLiteral("A=1;B=x\\;y"), "A=1;B=x\\;y"},
        {QStringLiteral("  "), "  "},  // white space alone is a value too
        {QStringLiteral(" \t\n"), " \t\n"},
        {QStringLiteral(" x "), " x "},
        {QString(), ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(escapeSettingValue(c.value), QString::fromLatin1(c.escaped)) << c.escaped;
        SettingsMap settings;
        ASSERT_TRUE(parseSettingsFile(formatSettingsFile({{"key", c.value}}), settings)) << c.escaped;
        EXPECT_EQ(settings.value(QStringLiteral("key")), c.value) << c.escaped;
    }
    EXPECT_EQ(unescapeSettingValue(QStringLiteral("a&nbsp;b&middot;&amp;lt;")),
              QStringLiteral("a b") + middleDot + QStringLiteral("<"));
}

TEST(SettingsFile, fileHoldsOneLinePerEntryInNameOrder)
{
    EXPECT_EQ(formatSettingsFile({{"b/x", "2"}, {"a/y z", "<1>"}}),
              QByteArray("<!DOCTYPE Fernhollow_Settings_File>\n"
                         "<settings>\n"
                         "  <setting name=\"a/y z\">&lt;1&gt;</setting>\n"
                         "  <setting name=\"b/x\">2</setting>\n"
                         "</settings>\n"));
    EXPECT_EQ(formatSettingsFile({}), QByteArray("<!DOCTYPE Fernhollow_Settings_File>\n<settings>\n</settings>\n"));
}

TEST(SettingsFile, anyDocumentIsReadAndLaterDuplicatesWin)
{
    SettingsMap settings{{"kept", "old"}};
    ASSERT_TRUE(parseSettingsFile("<?xml version=\"1.0\"?><!DOCTYPE Other><root>"
                                  "<setting name=\"a\">1</setting>"
                                  "<group><setting name=\"b\">x&amp;middot;y &middot; &copy;</setting></group>"
                                  "<setting name=\"a\">2</setting>"
                                  "<setting>nameless</setting><setting name=\"\">empty name</setting>"
                                  "<setting name=\"empty\"/><setting name=\"sp>ace\"> </setting>"
                                  "<other name=\"c\">3</other></root>",
                                  settings));
    EXPECT_EQ(settings, (SettingsMap{{"kept", "old"},
                                     {"a", "2"},
                                     {"b", QStringLiteral("x") + middleDot + QStringLiteral("y ") + middleDot
                                               + QStringLiteral(" &copy;")},
                                     {"empty", ""},
                                     {"sp>ace", " "}}));
    SettingsMap untouched{{"k", "v"}};
    EXPECT_FALSE(parseSettingsFile("<settings><setting name=\"a\">1</settings>", untouched));
    EXPECT_FALSE(parseSettingsFile("not xml at all", untouched));
    EXPECT_EQ(untouched, (SettingsMap{{"k", "v"}}));
}

} // namespace
