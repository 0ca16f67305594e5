#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

#include "TempDir.h"
#include "macros/MacroExpansion.h"
#include "macros/MacroTable.h"
#include "macros/SystemDirectories.h"
#include "platform/FileSystem.h"
#include "settings/EnvironmentPropertyValue.h"
#include "settings/EnvironmentSettings.h"
#include "settings/GlobalMacros.h"
#include "settings/SettingsFile.h"

namespace {

const QString globalMacrosName = QStringLiteral("Environment/Macros/Global Macros");

// Settings over the user root of the test run, with no settings files left
// over from another test.
class EnvironmentSettingsTest : public testing::Test {
protected:
    void SetUp() override { removeFiles(); }
    void TearDown() override
    {
        EnvironmentSettings::setCurrent(nullptr);
        removeFiles();
    }

    static QString primaryFile() { return rootUserDirectory() + "/Fernhollow for ARM/settings.xml"; }
    static QString sharedFile() { return rootUserDirectory() + "/settings.xml"; }
    static void removeFiles()
    {
        for (const QString &file : {primaryFile(), sharedFile()}) {
            for (const char *suffix : {"", ".new", ".bak"})
                std::remove(nativeName(file + QLatin1String(suffix)).constData());
        }
    }
    static void writePrimary(const SettingsMap &settings) { writeFile(nativeName(primaryFile()), formatSettingsFile(settings)); }
    static SettingsMap readPrimary()
    {
        SettingsMap settings;
        if (pathExists(primaryFile())) {
            EXPECT_TRUE(parseSettingsFile(readFile(nativeName(primaryFile())), settings));
        }
        return settings;
    }
};

TEST_F(EnvironmentSettingsTest, eachLayerAppendsItsEntriesToTheCatalogue)
{
    EnvironmentSettings base;
    base.defineProperties();
    LanternwickEnvironmentSettings lanternwick;
    lanternwick.defineProperties();
    ARMLanternwickEnvironmentSettings arm;
    arm.defineProperties();
    EXPECT_EQ(base.settings().size(), 179);
    EXPECT_EQ(lanternwick.settings().size(), 187);
    ASSERT_EQ(arm.settings().size(), 191);

    // Each layer appends its entries after the ones below it; names are unique.
    for (const EnvironmentPropertyValue *setting : arm.settings()) {
        EXPECT_EQ(arm.setting(setting->propertyClass()->name()), setting);
        EXPECT_FALSE(setting->isOwned());
    }
    EXPECT_EQ(arm.settings().at(178)->propertyClass()->name(), "Environment/General/Document Title Format");
    EXPECT_EQ(arm.settings().at(186)->propertyClass()->name(), "Target/Enable Differential Download");
    EXPECT_EQ(arm.settings().at(190)->propertyClass()->name(), "ARM/Debug/UAL Disassemble");
    EXPECT_EQ(arm.setting("Target/Targets"), arm.settings().at(179));
    EXPECT_EQ(base.setting("Target/Targets"), nullptr);

    // The entries the tool reads and the telling ones have their types and defaults.
    const struct { const char *name; PropertyClass::Type type; const char *defaultValue; } rows[] = {
        {"Environment/Macros/Global Macros", PropertyClass::StringList, ""},
        {"Environment/Project Explorer/Filename Replace Macros", PropertyClass::StringList, ""},
        {"Environment/Build/Tool Chain Root Directory", PropertyClass::String, "$(StudioDir)"},
        {"Environment/General/Quick Open Directories", PropertyClass::StringList,
         "$(StudioDir)/include;$(PackagesDir)/include/targets"},
        {"Environment/General/Project Templates", PropertyClass::String, "$(TargetsDir)/project_templates.xml"},
        {"Environment/Package/Destination Directory", PropertyClass::String, "$(StudioUserDir)/packages"},
        {"Environment/Error Display Timeout", PropertyClass::IntegerRange, ""},
        {"ARM/Build/StudioDir Directory", PropertyClass::DirPath, "$(StudioDir)"},
        {"ARM/Build/Command Line Generation Version", PropertyClass::Enumeration, ""},
        {"Target/Targets", PropertyClass::String, ""},
    };
    for (const auto &row : rows) {
        const EnvironmentPropertyValue *setting = arm.setting(QString::fromLatin1(row.name));
        ASSERT_NE(setting, nullptr) << row.name;
        EXPECT_EQ(setting->propertyClass()->type(), row.type) << row.name;
        EXPECT_EQ(setting->propertyClass()->defaultValue(), QString::fromLatin1(row.defaultValue)) << row.name;
    }
    EXPECT_EQ(arm.setting("ARM/Build/Command Line Generation Version")->propertyClass()->enumerates(),
              (QStringList{"2.0", "1.7", "1.6", "1.5"}));
}

TEST_F(EnvironmentSettingsTest, valuesComeFromTheFileAndTheTimerSavesOnlyNonDefaults)
{
    const SettingsMap stored{{"Environment/Build/Show Command Lines", "Yes"}, {"Text Editor/Margins/Right", "100"}};
    writePrimary(stored);
    ARMLanternwickEnvironmentSettings settings;
    settings.defineProperties();
    EnvironmentPropertyValue *commandLines = settings.setting("Environment/Build/Show Command Lines");
    EnvironmentPropertyValue *margin = settings.setting("Text Editor/Margins/Right");
    EXPECT_TRUE(commandLines->boolValue());
    EXPECT_EQ(margin->intValue(), 100);
    EXPECT_EQ(settings.setting("Environment/Build/Tool Chain Root Directory")->value(), "$(StudioDir)");

    QStringList announced;
    QObject::connect(&settings, &EnvironmentSettings::settingChanged,
                     [&announced](const QString &name) { announced.append(name); });
    commandLines->setValue(false);  // the default
    margin->setValue(100);          // unchanged: nothing happens
    settings.setting("Environment/Internet/HTTP Proxy Server")->setValue("<proxy & co>");
    EXPECT_EQ(announced, (QStringList{"Environment/Build/Show Command Lines", "Environment/Internet/HTTP Proxy Server"}));
    EXPECT_EQ(commandLines->value(), "No");

    // Saving switched off writes nothing. The timer saves every minute; here
    // it runs at once.
    settings.setSaveEnabled(false);
    settings.saveSettings();
    EXPECT_EQ(readPrimary(), stored);
    const QTimer &timer = settings.saveTimer();
    EXPECT_EQ(std::tuple(timer.interval(), timer.isActive(), timer.isSingleShot()), std::tuple(60000, true, false));
    settings.setSaveEnabled(true);
    const_cast<QTimer &>(timer).setInterval(1);
    QElapsedTimer waited;
    waited.start();
    while (readPrimary() == stored && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    EXPECT_EQ(readPrimary(), (SettingsMap{{"Text Editor/Margins/Right", "100"},
                                          {"Environment/Internet/HTTP Proxy Server", "<proxy & co>"}}));

    ARMLanternwickEnvironmentSettings again;
    again.defineProperties();
    EXPECT_EQ(again.setting("Environment/Internet/HTTP Proxy Server")->value(), "<proxy & co>");
    EXPECT_FALSE(again.setting("Environment/Build/Show Command Lines")->boolValue());
}

TEST_F(EnvironmentSettingsTest, globalMacrosComeFromTheirSetting)
{
    EXPECT_EQ(globalMacros(true), MacroTable::instance().macros());  // no settings object
    EXPECT_TRUE(globalMacros(false).isEmpty());
    {
        // Without a settings file the global macros are the system table.
        ARMLanternwickEnvironmentSettings fresh;
        fresh.defineProperties();
        EnvironmentSettings::setCurrent(&fresh);
        EXPECT_TRUE(fresh.setting(globalMacrosName)->value().isEmpty());
        EXPECT_EQ(globalMacros(true), MacroTable::instance().macros());
        EnvironmentSettings::setCurrent(nullptr);
    }

    writePrimary({{globalMacrosName, "A=1;B=x\\;y;;Date=x"}});
    ARMLanternwickEnvironmentSettings settings;
    settings.defineProperties();
    EnvironmentSettings::setCurrent(&settings);
    EXPECT_EQ(globalMacros(false), (MacroMap{{"A", "1"}, {"B", "x;y"}, {"Date", "x"}}));
    const MacroMap all = globalMacros(true);
    EXPECT_EQ(std::pair(all.value("B"), all.value("HostOS")), std::pair(QStringLiteral("x;y"), QStringLiteral("linux")));
    EXPECT_NE(expandMacros("$(Date)", all), "x");  // still the date
    EXPECT_EQ(std::pair(globalMacro("A"), globalMacro("None")), std::pair(QStringLiteral("1"), QString()));

    setGlobalMacro("C", "a;b");
    setGlobalMacro("A", QString());
    EXPECT_EQ(settings.setting(globalMacrosName)->value(), "B=x\\;y;C=a\\;b;Date=x");
    EXPECT_EQ(globalMacro("C"), "a;b");
}

} // namespace
