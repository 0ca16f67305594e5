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
class StoredValue : public ProjectPropertyValue {
public:
    StoredValue(PropertyClass *propertyClass, const QString &configuration, QMap<QString, QString> &store)
        : ProjectPropertyValue(propertyClass, nullptr, configuration), m_store(store)
    {
    }
    using PropertyValue::setValue;
    void setValue(const QString &text) override { storeNodeValue(propertyClass()->name(), configuration(), text); }
    QString value() const override { return m_store.value(configuration() + u'/' + propertyClass()->name()); }
    bool isInherited() const override { return !m_store.contains(configuration() + u'/' + propertyClass()->name()); }
    void storeNodeValue(const QString &name, const QString &configuration, const QString &text) override
    {
        m_store.insert(configuration + u'/' + name, text);
    }

private:
    QMap<QString, QString> &m_store;
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

TEST(PropertyValueGroup, classIsAnEnumerationOfItsEntries)
{
    Groups groups;
    EXPECT_EQ(groups.board->type(), PropertyClass::Enumeration);
    EXPECT_EQ(groups.board->enumerates(), (QStringList{"A", "B"}));
    EXPECT_EQ(groups.board->page(), QStringLiteral("General"));   // unless the group names one
    EXPECT_EQ(groups.board->defaultValue(), QStringLiteral("A"));
    EXPECT_EQ(groups.empty->page(), QStringLiteral("Debugger"));
    EXPECT_TRUE(groups.empty->enumerates().isEmpty());
    EXPECT_NE(groups.board->findEntry(QStringLiteral("B")), nullptr);
    EXPECT_EQ(groups.board->findEntry(QStringLiteral("b")), nullptr);
}

TEST(PropertyValueGroup, settingTheGroupSetsTheEntrysProperties)
{
    const struct {
        const char *text;
        const char *configuration;
        QMap<QString, QString> stored;
    } cases[] = {
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
        EXPECT_EQ(value.value(), c.stored.value(QString::fromLatin1(c.configuration) + QStringLiteral("/Board")));
    }
}

TEST(PropertyValueGroup, groupWhoseDefaultNamesNoEntryOnlyStoresTheDefault)
{
    Groups groups;
    PropertyValueGroupValue value = groups.valueOf(groups.empty.get(), "Debug");
    value.setValue("anything");
    EXPECT_EQ(groups.store, (QMap<QString, QString>{{"Debug/Empty", "none"}}));

    PropertyClass plain(QStringLiteral("plain"), PropertyClass::String);
    PropertyValueGroupValue notAGroup = groups.valueOf(&plain, "Debug");
    notAGroup.setValue("text");
    EXPECT_EQ(groups.store.value(QStringLiteral("Debug/plain")), QStringLiteral("text"));
}

TEST(PropertyValueGroupFile, everyElementBelowTheRootIsAGroup)
{
    TempDir dir;
    dir.write("groups.xml", boardGroups);
    PropertyValueGroupFile file;
    ASSERT_TRUE(file.load(dir.qpath() + QStringLiteral("/groups.xml")));
    ASSERT_EQ(file.groups().size(), 2);
    EXPECT_EQ(file.groups().at(0)->name(), QStringLiteral("Board"));
    EXPECT_EQ(file.find(QStringLiteral("Empty")), file.groups().at(1));
    EXPECT_EQ(file.find(QStringLiteral("Missing")), nullptr);
    EXPECT_NE(file.find(QStringLiteral("Board"))->findEntry(QStringLiteral("B")), nullptr);

    EXPECT_FALSE(file.load(dir.qpath() + QStringLiteral("/missing.xml")));
    EXPECT_TRUE(file.groups().isEmpty());
    dir.write("open.xml", "<groups><group name=\"x\">");
    EXPECT_FALSE(file.load(dir.qpath() + QStringLiteral("/open.xml")));
}

TEST(PropertyValueGroupFile, isPreprocessedAndReportsProblemsAsWarnings)
{
    TempDir dir;
    dir.write("boards.xml", "<envelope><group name=\"Included\"/></envelope>");
    dir.write("groups.xml",
              "<groups>"
              "<define name=\"Kind\" value=\"small\"/>"
              "<if Kind=\"small,tiny\"><group name=\"Small\"/></if>"
              "<ifnot Kind=\"small\"><group name=\"Never\"/></ifnot>"
              "<include filename=\"boards.xml\"/>"
              "<define/>"
              "</groups>");
    PropertyValueGroupFile file;
    WarningCapture capture;
    ASSERT_TRUE(file.load(dir.qpath() + QStringLiteral("/groups.xml")));
    QStringList names;
    for (const PropertyValueGroupClass *group : file.groups())
        names.append(group->name());
    EXPECT_EQ(names, (QStringList{"Small", "Included"}));
    EXPECT_EQ(capture.warnings(), QStringList{"XmlPP::processConditionals(): missing name in <define>"});
}

} // namespace
