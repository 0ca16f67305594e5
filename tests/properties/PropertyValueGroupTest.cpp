#include <gtest/gtest.h>

#include <QMap>

#include "TempDir.h"
#include "WarningCapture.h"
#include "properties/PropertyValueGroup.h"

namespace {

const char boardGroups[] =
    "<groups>"
    "<group name=\"Board\" short=\"Target Board\" long=\"The board.\" group=\"Boards\" default=\"A\">"
    "  <groupEntry name=\"A\"><property name=\"x\" value=\"1\"/><other name=\"z\"/><property name=\"y\" value=\"a\"/></groupEntry>"
    "  <groupEntry name=\"B\"><property name=\"x\" value=\"2\" configuration=\"Debug\"/></groupEntry>"
    "</group>"
    "<group name=\"Empty\" page=\"Debugger\" default=\"none\"/>"
    "</groups>";

// The project model's value over a map of "configuration/name" texts.
struct StoredValue : ProjectPropertyValue {
    StoredValue(PropertyClass *propertyClass, const QString &configuration, QMap<QString, QString> &store)
        : ProjectPropertyValue(propertyClass, nullptr, configuration), store(store) {}
    using PropertyValue::setValue;
    void setValue(const QString &text) override { storeNodeValue(propertyClass()->name(), configuration(), text); }
    QString value() const override { return store.value(configuration() + u'/' + propertyClass()->name()); }
    bool isInherited() const override { return !store.contains(configuration() + u'/' + propertyClass()->name()); }
    void storeNodeValue(const QString &name, const QString &configuration, const QString &text) override
    {
        store.insert(configuration + u'/' + name, text);
    }
    QMap<QString, QString> &store;
};

// A group file that preprocesses to a small group, then the board groups
// from an included file.
class GroupFile : public testing::Test {
protected:
    void SetUp() override
    {
        dir.write("boards.xml", boardGroups);
        dir.write("groups.xml", "<groups><define name=\"Kind\" value=\"small\"/>"
                                "<if Kind=\"small,tiny\"><group name=\"Small\"/></if>"
                                "<include filename=\"boards.xml\" no_root=\"1\"/><define/></groups>");
        ASSERT_TRUE(file.load(dir.qpath() + "/groups.xml"));
    }
    TempDir dir;
    WarningCapture capture;
    PropertyValueGroupFile file;
    QMap<QString, QString> store;
};

} // namespace

// Every element below the preprocessed root is a group: an enumeration of
// its entries, on the General page unless it names one.
TEST_F(GroupFile, everyElementBelowThePreprocessedRootIsAnEnumerationOfItsEntries)
{
    QStringList names;
    for (const PropertyValueGroupClass *group : file.groups())
        names.append(group->name());
    EXPECT_EQ(names, (QStringList{"Small", "Board", "Empty"}));
    EXPECT_EQ(capture.warnings(), QStringList{"XmlPP::processConditionals(): missing name in <define>"});
    EXPECT_EQ(file.find("Missing"), nullptr);

    const PropertyValueGroupClass *board = file.find("Board");
    EXPECT_EQ(board->type(), PropertyClass::Enumeration);
    EXPECT_EQ(board->enumerates(), (QStringList{"A", "B"}));
    EXPECT_EQ(board->page(), "General");
    EXPECT_EQ(file.find("Empty")->page(), "Debugger");
    EXPECT_EQ(board->findEntry("b"), nullptr);

    EXPECT_FALSE(file.load(dir.qpath() + "/missing.xml"));
    EXPECT_TRUE(file.groups().isEmpty());
    dir.write("open.xml", "<groups><group name=\"x\">");
    EXPECT_FALSE(file.load(dir.qpath() + "/open.xml"));
}

TEST_F(GroupFile, settingAGroupStoresTheChosenEntryAndItsProperties)
{
    PropertyClass plain("plain", PropertyClass::String);
    // The group, the text set, the configuration; what is stored.
    const struct { const char *group, *text, *configuration; QMap<QString, QString> stored; } cases[] = {
        {"Board", "A", "Release", {{"Release/Board", "A"}, {"Release/x", "1"}, {"Release/y", "a"}}},
        {"Board", "Z", "Common", {{"Common/Board", "A"}, {"Common/x", "1"}, {"Common/y", "a"}}}, // unknown: the default
        {"Empty", "anything", "Debug", {{"Debug/Empty", "none"}}}, // a default that names no entry
        {nullptr, "text", "Debug", {{"Debug/plain", "text"}}},     // not a group: the text alone
    };
    for (const auto &c : cases) {
        store.clear();
        PropertyClass *group = c.group ? file.find(c.group) : &plain;
        PropertyValueGroupValue value(std::make_unique<StoredValue>(group, QString::fromLatin1(c.configuration), store));
        EXPECT_TRUE(value.isInherited()) << c.text;
        value.setValue(c.text);
        EXPECT_EQ(store, c.stored) << c.text;
        const QString key = value.configuration() + u'/' + value.propertyClass()->name();
        EXPECT_EQ(value.value(), c.stored.value(key)) << c.text;
    }
}
