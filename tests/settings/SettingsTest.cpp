// The settings: the file format, the store that keeps a file in step with
// other processes, and the environment settings over it.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <optional>

#include "TempDir.h"
#include "macros/MacroTable.h"
#include "macros/SystemDirectories.h"
#include "platform/FileSystem.h"
#include "settings/EnvironmentPropertyValue.h"
#include "settings/EnvironmentSettings.h"
#include "settings/GlobalMacros.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsStore.h"

namespace {

const QChar middleDot(0xb7);

// The entries of a settings file, which must be readable.
SettingsMap readSettings(const QByteArray &path)
{
    SettingsMap settings;
    EXPECT_TRUE(parseSettingsFile(readFile(path), settings));
    return settings;
}

const QByteArray file = "user/settings.xml";

// A store over a file first written with the given entries (none: no file).
void open(SettingsStore &store, const TempDir &dir, const std::optional<SettingsMap> &settings)
{
    if (settings)
        dir.write(file, formatSettingsFile(*settings));
    store.setFile(NormalizedPath(QString::fromLatin1(dir.file(file))));
}

// Another process rewrites the file; its time differs from any remembered.
void rewriteElsewhere(const TempDir &dir, const QByteArray &text)
{
    static qint64 stamp = 1000000000;
    stamp += 1000;
    dir.write(file, text);
    setMtime(dir.file(file), stamp);
}

const QString globalMacrosName = QStringLiteral("Environment/Macros/Global Macros");

QString primaryFile()
{
    return rootUserDirectory() + "/Fernhollow for ARM/settings.xml";
}

} // namespace

TEST(SettingsFile, valuesAreEscapedOneLinePerEntryInNameOrderAndReadBackFromAnyDocument)
{
    const struct { QString value; const char *escaped; } cases[] = {
        {"\"q\" 'a'", "&quot;q&quot; &apos;a&apos;"},
        {QStringLiteral("a") + middleDot + QStringLiteral("b"), "a&middot;b"},
        {"<&>", "&lt;&amp;&gt;"},
        {" \t\n", " \t\n"},  // white space alone is a value too
    };
    for (const auto &c : cases) {
        EXPECT_EQ(escapeSettingValue(c.value), QString::fromLatin1(c.escaped)) << c.escaped;
        SettingsMap settings;
        ASSERT_TRUE(parseSettingsFile(formatSettingsFile({{"key", c.value}}), settings)) << c.escaped;
        EXPECT_EQ(settings.value(QStringLiteral("key")), c.value) << c.escaped;
    }
    EXPECT_EQ(unescapeSettingValue(QStringLiteral("a&nbsp;b&middot;&amp;lt;")),
              QStringLiteral("a b") + middleDot + QStringLiteral("<"));
    // One line per entry, in name order.
    EXPECT_EQ(formatSettingsFile({{"b/x", "2"}, {"a/y z", "<1>"}}),
              QByteArray("<!DOCTYPE Fernhollow_Settings_File>\n"
                         "<settings>\n"
                         "  <setting name=\"a/y z\">&lt;1&gt;</setting>\n"
                         "  <setting name=\"b/x\">2</setting>\n"
                         "</settings>\n"));

    // Any document is read; later duplicates win.
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
    EXPECT_EQ(untouched, (SettingsMap{{"k", "v"}}));
}

TEST(SettingsStore, syncWritesLoadsOrMergesAsTheFileAndTheStoreChanged)
{
    // The file as loaded, the changes made here in order (a null text
    // removes), whether they leave the store dirty, what another process
    // wrote meanwhile, and what the file and the store hold after one sync.
    const struct {
        const char *name;
        std::optional<SettingsMap> loaded;
        QList<std::pair<QString, QString>> changes;
        bool dirty;
        std::optional<QByteArray> elsewhere;
        SettingsMap synced;
        bool backup;
    } cases[] = {
        {"first write makes the directory", std::nullopt, {{"a", "x<y"}}, true, std::nullopt, {{"a", "x<y"}}, false},
        {"a change here is written", {{{"a", "1"}}}, {{"a", "2"}}, true, std::nullopt, {{"a", "2"}}, true},
        {"the same text changes nothing", {{{"a", "1"}}}, {{"a", "1"}}, false, std::nullopt, {{"a", "1"}}, false},
        {"removing an absent name changes nothing", {{{"a", "1"}}}, {{"z", QString()}}, false, std::nullopt,
         {{"a", "1"}}, false},
        {"a change elsewhere is loaded", {{{"a", "1"}}}, {}, false, formatSettingsFile({{"a", "9"}, {"c", "3"}}),
         {{"a", "9"}, {"c", "3"}}, false},
        {"changes on both sides merge", {{{"a", "1"}, {"b", "2"}, {"keep", "k"}}}, {{"a", "mine"}, {"b", QString()}},
         true, formatSettingsFile({{"a", "theirs"}, {"b", "theirs"}, {"new", "n"}}), {{"a", "mine"}, {"new", "n"}},
         true},
        {"a removed entry set again is a change", {{{"a", "1"}, {"b", "2"}}}, {{"b", QString()}, {"b", "2"}}, true,
         formatSettingsFile({{"a", "1"}}), {{"a", "1"}, {"b", "2"}}, true},
        {"an unreadable file loses nothing held here", {{{"a", "1"}}}, {{"b", "2"}}, true, "<half",
         {{"a", "1"}, {"b", "2"}}, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        SettingsStore store;
        open(store, dir, c.loaded);
        for (const auto &[name, text] : c.changes) {
            if (text.isNull())
                store.remove(name);
            else
                store.set(name, text);
            EXPECT_EQ(store.lookup(name, "gone"), text.isNull() ? "gone" : text);
        }
        EXPECT_EQ(store.isDirty(), c.dirty);
        if (c.elsewhere)
            rewriteElsewhere(dir, *c.elsewhere);
        store.sync();
        EXPECT_FALSE(store.isDirty());
        EXPECT_EQ(readSettings(dir.file(file)), c.synced);
        for (auto entry = c.synced.cbegin(); entry != c.synced.cend(); ++entry)
            EXPECT_EQ(store.lookup(entry.key(), "gone"), entry.value());
        EXPECT_EQ(store.lookup("keep", "gone"), "gone");
        EXPECT_FALSE(dir.exists(file + ".new"));
        EXPECT_EQ(dir.exists(file + ".bak"), c.backup);
        if (c.backup) {
            EXPECT_EQ(dir.read(file + ".bak"), c.elsewhere.value_or(formatSettingsFile(*c.loaded)));
        }

        // Nothing changed anywhere: nothing is written. Written changes are
        // not applied again over a later change elsewhere.
        const QByteArray before = dir.read(file), backup = dir.read(file + ".bak");
        store.sync();
        EXPECT_EQ(dir.read(file), before);
        EXPECT_EQ(dir.read(file + ".bak"), backup);
        rewriteElsewhere(dir, formatSettingsFile({{"a", "later"}}));
        store.set("z", "26");
        store.sync();
        EXPECT_EQ(readSettings(dir.file(file)), (SettingsMap{{"a", "later"}, {"z", "26"}}));
    }
}

TEST(SettingsStore, aFailedWriteLosesNothingHeld)
{
    TempDir dir;
    SettingsStore store;
    open(store, dir, SettingsMap{{"a", "1"}});
    dir.write(file + ".new/blocker", "");  // ".new" cannot be opened as a file
    store.set("a", "2");
    store.sync();
    EXPECT_TRUE(store.isDirty());
    EXPECT_EQ(readSettings(dir.file(file)), (SettingsMap{{"a", "1"}}));
    EXPECT_FALSE(dir.exists(file + ".bak"));

    ASSERT_EQ(unlink(dir.file(file + ".new/blocker").constData()), 0);
    ASSERT_EQ(rmdir(dir.file(file + ".new").constData()), 0);
    store.sync();  // a later save tries again
    EXPECT_FALSE(store.isDirty());
    EXPECT_EQ(readSettings(dir.file(file)), (SettingsMap{{"a", "2"}}));
}

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

    EnvironmentSettings::setCurrent(&settings);
    EXPECT_EQ(globalMacros(false), (MacroMap{{"A", "1"}, {"B", "x;y"}, {"Date", "x"}}));
    const MacroMap all = globalMacros(true);
    EXPECT_EQ(std::pair(all.value("B"), all.value("HostOS")), std::pair(QStringLiteral("x;y"), QStringLiteral("linux")));
    EXPECT_EQ(std::pair(globalMacro("A"), globalMacro("None")), std::pair(QStringLiteral("1"), QString()));

    QStringList announced;
    QObject::connect(&settings, &EnvironmentSettings::settingChanged,
                     [&announced](const QString &name) { announced.append(name); });
    settings.setting("Environment/Build/Show Command Lines")->setValue(false);  // the default
    settings.setting("Text Editor/Margins/Right")->setValue(100);                // unchanged: nothing happens
    setGlobalMacro("C", "a;b");
    setGlobalMacro("A", QString());
    EXPECT_EQ(announced, (QStringList{"Environment/Build/Show Command Lines", globalMacrosName, globalMacrosName}));
    EXPECT_EQ(globalMacro("C"), "a;b");

    // Saving switched off writes nothing. The timer saves every minute; here
    // it runs at once.
    settings.setSaveEnabled(false);
    settings.saveSettings();
    EXPECT_EQ(readSettings(nativeName(primaryFile())), stored);
    const QTimer &timer = settings.saveTimer();
    EXPECT_EQ(std::tuple(timer.interval(), timer.isActive(), timer.isSingleShot()), std::tuple(60000, true, false));
    settings.setSaveEnabled(true);
    const_cast<QTimer &>(timer).setInterval(1);
    QElapsedTimer waited;
    waited.start();
    while (readSettings(nativeName(primaryFile())) == stored && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    EXPECT_EQ(readSettings(nativeName(primaryFile())),
              (SettingsMap{{"Text Editor/Margins/Right", "100"}, {globalMacrosName, "B=x\\;y;C=a\\;b;Date=x"}}));
}
