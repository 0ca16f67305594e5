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
    static void removeFiles()
    {
        for (const char *suffix : {"", ".new", ".bak"})
            std::remove(nativeName(primaryFile() + QLatin1String(suffix)).constData());
    }
    static void writePrimary(const SettingsMap &settings) { writeFile(nativeName(primaryFile()), formatSettingsFile(settings)); }
    static SettingsMap readPrimary()
    {
        SettingsMap settings;
        EXPECT_TRUE(parseSettingsFile(readFile(nativeName(primaryFile())), settings));
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
    EXPECT_EQ(arm.setting("Target/Targets"), arm.settings().at(179));
    EXPECT_EQ(base.setting("Target/Targets"), nullptr);
}

TEST_F(EnvironmentSettingsTest, valuesAndGlobalMacrosComeFromTheFileAndTheTimerSavesOnlyNonDefaults)
{
    EXPECT_EQ(globalMacros(true), MacroTable::instance().macros());  // no settings object
    EXPECT_TRUE(globalMacros(false).isEmpty());

    const SettingsMap stored{{"Environment/Build/Show Command Lines", "Yes"},
                             {"Text Editor/Margins/Right", "100"},
                             {globalMacrosName, "A=1;B=x\\;y;;Date=x"}};
    writePrimary(stored);
    ARMLanternwickEnvironmentSettings settings;
    settings.defineProperties();
    EnvironmentSettings::setCurrent(&settings);
    EnvironmentPropertyValue *commandLines = settings.setting("Environment/Build/Show Command Lines");
    EnvironmentPropertyValue *margin = settings.setting("Text Editor/Margins/Right");
    EXPECT_TRUE(commandLines->boolValue());
    EXPECT_EQ(margin->intValue(), 100);

    EXPECT_EQ(globalMacros(false), (MacroMap{{"A", "1"}, {"B", "x;y"}, {"Date", "x"}}));
    const MacroMap all = globalMacros(true);
    EXPECT_EQ(std::pair(all.value("B"), all.value("HostOS")), std::pair(QStringLiteral("x;y"), QStringLiteral("linux")));
    EXPECT_NE(expandMacros("$(Date)", all), "x");  // still the date
    EXPECT_EQ(std::pair(globalMacro("A"), globalMacro("None")), std::pair(QStringLiteral("1"), QString()));

    QStringList announced;
    QObject::connect(&settings, &EnvironmentSettings::settingChanged,
                     [&announced](const QString &name) { announced.append(name); });
    commandLines->setValue(false);  // the default
    margin->setValue(100);          // unchanged: nothing happens
    setGlobalMacro("C", "a;b");
    setGlobalMacro("A", QString());
    EXPECT_EQ(announced, (QStringList{"Environment/Build/Show Command Lines", globalMacrosName, globalMacrosName}));
    EXPECT_EQ(commandLines->value(), "No");
    EXPECT_EQ(settings.setting(globalMacrosName)->value(), "B=x\\;y;C=a\\;b;Date=x");
    EXPECT_EQ(globalMacro("C"), "a;b");

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
    EXPECT_EQ(readPrimary(), (SettingsMap{{"Text Editor/Margins/Right", "100"}, {globalMacrosName, "B=x\\;y;C=a\\;b;Date=x"}}));
}

} // namespace
