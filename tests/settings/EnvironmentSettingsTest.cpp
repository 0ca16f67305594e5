#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

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

QString primaryFile()
{
    return rootUserDirectory() + "/Fernhollow for ARM/settings.xml";
}

SettingsMap readPrimary()
{
    SettingsMap settings;
    EXPECT_TRUE(parseSettingsFile(readFile(nativeName(primaryFile())), settings));
    return settings;
}

} // namespace

// The test run's user root holds no settings file until this test writes one.
TEST(EnvironmentSettings, layersAppendToTheCatalogueAndValuesAndMacrosComeFromTheFileThatTheTimerSaves)
{
    EXPECT_EQ(globalMacros(true), MacroTable::instance().macros());  // no settings object

    const SettingsMap stored{{"Environment/Build/Show Command Lines", "Yes"},
                             {"Text Editor/Margins/Right", "100"},
                             {globalMacrosName, "A=1;B=x\\;y;;Date=x"}};
    writeFile(nativeName(primaryFile()), formatSettingsFile(stored));
    EnvironmentSettings base;
    base.defineProperties();
    LanternwickEnvironmentSettings lanternwick;
    lanternwick.defineProperties();
    ARMLanternwickEnvironmentSettings settings;
    settings.defineProperties();
    EXPECT_EQ(base.settings().size(), 179);
    EXPECT_EQ(lanternwick.settings().size(), 187);
    ASSERT_EQ(settings.settings().size(), 191);

    // Each layer appends its entries after the ones below it; names are unique.
    for (const EnvironmentPropertyValue *setting : settings.settings()) {
        EXPECT_EQ(settings.setting(setting->propertyClass()->name()), setting);
        EXPECT_FALSE(setting->isOwned());
    }
    EXPECT_EQ(settings.setting("Target/Targets"), settings.settings().at(179));
    EXPECT_EQ(base.setting("Target/Targets"), nullptr);

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
    EXPECT_EQ(readPrimary(),
              (SettingsMap{{"Text Editor/Margins/Right", "100"}, {globalMacrosName, "B=x\\;y;C=a\\;b;Date=x"}}));
}
