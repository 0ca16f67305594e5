#include <gtest/gtest.h>

#include <QMap>

#include "TempDir.h"
#include "WarningCapture.h"
#include "properties/PropertyValueGroup.h"
#include "xml/XMLDocument.h"

namespace {

const char boardGroups[] =
    "<groups>"
    "<group name=\"Board\" short=\"Target Board\" long=\"The board.\" group=\"Boards\" default=\"A\">"
    "  <groupEntry name=\"A\"><property name=\"x\" value=\"1\"/><property name=\"y\" value=\"a\"/></groupEntry>"
    "  <groupEntry name=\"B\"><property name=\"x\" value=\"2\" configuration=\"Debug\"/><other name=\"z\" value=\"no\"/></groupEntry>"
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

struct Groups {
    Groups()
    {
        EXPECT_TRUE(document.parseText(boardGroups));
        board = std::make_unique<PropertyValueGroupClass>(*document.root()->firstChildElement());
        empty = std::make_unique<PropertyValueGroupClass>(*document.root()->firstChildElement()->nextSiblingElement());
    }
    PropertyValueGroupValue valueOf(PropertyClass *group, const char *configuration)
    {
        return PropertyValueGroupValue(std::make_unique<StoredValue>(group, QString::fromLatin1(configuration), store));
    }
    XMLDocument document;
    std::unique_ptr<PropertyValueGroupClass> board;
    std::unique_ptr<PropertyValueGroupClass> empty;
    QMap<QString, QString> store;
};

} // namespace

TEST(PropertyValueGroup, settingTheGroupSetsTheEntrysProperties)
{
    const struct { const char *text, *configuration; QMap<QString, QString> stored; } cases[] = {
        {"B", "Release", {{"Release/Board", "B"}, {"Debug/x", "2"}}},
        {"A", "Release", {{"Release/Board", "A"}, {"Release/x", "1"}, {"Release/y", "a"}}},
        {"Z", "Common", {{"Common/Board", "A"}, {"Common/x", "1"}, {"Common/y", "a"}}},  // unknown: the default
    };
    for (const auto &c : cases) {
        Groups groups;
        PropertyValueGroupValue value = groups.valueOf(groups.board.get(), c.configuration);
        EXPECT_TRUE(value.isInherited());
        value.setValue(c.text);
        EXPECT_EQ(groups.store, c.stored) << c.text;
        EXPECT_FALSE(value.isInherited());
        EXPECT_EQ(value.value(), c.stored.value(QString::fromLatin1(c.configuration) + "/Board"));
    }
}

TEST(PropertyValueGroup, classIsAnEnumerationOfItsEntriesAndAGroupWhoseDefaultNamesNoEntryOnlyStoresTheDefault)
{
    Groups groups;
    EXPECT_EQ(groups.board->type(), PropertyClass::Enumeration);
    EXPECT_EQ(groups.board->enumerates(), (QStringList{"A", "B"}));
    EXPECT_EQ(groups.board->defaultValue(), "A");
    EXPECT_EQ(groups.board->page(), "General");   // unless the group names one
    EXPECT_EQ(groups.empty->page(), "Debugger");
    EXPECT_TRUE(groups.empty->enumerates().isEmpty());
    EXPECT_NE(groups.board->findEntry("B"), nullptr);
    EXPECT_EQ(groups.board->findEntry("b"), nullptr);

    PropertyValueGroupValue value = groups.valueOf(groups.empty.get(), "Debug");
    value.setValue("anything");
    EXPECT_EQ(groups.store, (QMap<QString, QString>{{"Debug/Empty", "none"}}));

    PropertyClass plain("plain", PropertyClass::String);
    groups.valueOf(&plain, "Debug").setValue("text");
    EXPECT_EQ(groups.store.value("Debug/plain"), "text");
}

TEST(PropertyValueGroupFile, everyElementBelowThePreprocessedRootIsAGroup)
{
    TempDir dir;
    dir.write("boards.xml", boardGroups);
    dir.write("groups.xml", "<groups><define name=\"Kind\" value=\"small\"/>"
                            "<if Kind=\"small,tiny\"><group name=\"Small\"/></if>"
                            "<ifnot Kind=\"small\"><group name=\"Never\"/></ifnot>"
                            "<include filename=\"boards.xml\" no_root=\"1\"/><define/></groups>");
    PropertyValueGroupFile file;
    WarningCapture capture;
    ASSERT_TRUE(file.load(dir.qpath() + "/groups.xml"));
    QStringList names;
    for (const PropertyValueGroupClass *group : file.groups())
        names.append(group->name());
    EXPECT_EQ(names, (QStringList{"Small", "Board", "Empty"}));
    EXPECT_EQ(capture.warnings(), QStringList{"XmlPP::processConditionals(): missing name in <define>"});
    EXPECT_EQ(file.find("Empty"), file.groups().at(2));
    EXPECT_EQ(file.find("Missing"), nullptr);
    EXPECT_NE(file.find("Board")->findEntry("B"), nullptr);

    EXPECT_FALSE(file.load(dir.qpath() + "/missing.xml"));
    EXPECT_TRUE(file.groups().isEmpty());
    dir.write("open.xml", "<groups><group name=\"x\">");
    EXPECT_FALSE(file.load(dir.qpath() + "/open.xml"));
}
