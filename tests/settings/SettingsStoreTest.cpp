#include <gtest/gtest.h>

#include <optional>
#include <utime.h>

#include "TempDir.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsStore.h"

namespace {

const QByteArray file = "user/settings.xml";

SettingsMap readSettings(const TempDir &dir)
{
    SettingsMap settings;
    EXPECT_TRUE(parseSettingsFile(dir.read(file), settings));
    return settings;
}

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
    static time_t stamp = 1000000000;
    stamp += 1000;
    dir.write(file, text);
    struct utimbuf times{stamp, stamp};
    utime(dir.file(file).constData(), &times);
}

} // namespace

TEST(SettingsStore, lookupSetAndRemoveTrackChangesAndAnUnreadableFileKeepsThem)
{
    TempDir dir;
    SettingsStore store;
    open(store, dir, SettingsMap{{"a", "1"}, {"b", "2"}});
    EXPECT_FALSE(store.isDirty());
    EXPECT_EQ(store.lookup("a", "d"), "1");
    EXPECT_EQ(store.lookup("z", "d"), "d");
    store.set("a", "1");
    EXPECT_FALSE(store.isDirty());  // same text: nothing changes
    store.remove("absent");
    EXPECT_FALSE(store.isDirty());
    store.remove("b");
    EXPECT_TRUE(store.isDirty());
    EXPECT_EQ(store.lookup("b", "d"), "d");
    store.set("b", "2");  // a removed entry comes back as changed
    EXPECT_EQ(store.entries().value("b").state, SettingsStore::Changed);
    EXPECT_EQ(store.lookup("b", "d"), "2");

    dir.write(file, "<broken");
    EXPECT_FALSE(store.load());
    EXPECT_EQ(store.lookup("a", {}), "1");
}

TEST(SettingsStore, syncWritesLoadsOrMergesAsTheFileAndTheStoreChanged)
{
    // The file as loaded, the changes made here (a null text removes), what
    // another process wrote meanwhile, and what the file and the store hold
    // after one sync.
    const struct {
        const char *name;
        std::optional<SettingsMap> loaded;
        SettingsMap changes;
        std::optional<QByteArray> elsewhere;
        SettingsMap synced;
        bool backup;
    } cases[] = {
        {"first write makes the directory", std::nullopt, {{"a", "x<y"}}, std::nullopt, {{"a", "x<y"}}, false},
        {"a change here is written", {{{"a", "1"}}}, {{"a", "2"}}, std::nullopt, {{"a", "2"}}, true},
        {"a change elsewhere is loaded", {{{"a", "1"}}}, {}, formatSettingsFile({{"a", "9"}, {"c", "3"}}),
         {{"a", "9"}, {"c", "3"}}, false},
        {"changes on both sides merge", {{{"a", "1"}, {"b", "2"}, {"keep", "k"}}}, {{"a", "mine"}, {"b", QString()}},
         formatSettingsFile({{"a", "theirs"}, {"b", "theirs"}, {"new", "n"}}), {{"a", "mine"}, {"new", "n"}}, true},
        {"an unreadable file loses nothing held here", {{{"a", "1"}}}, {{"b", "2"}}, "<half", {{"a", "1"}, {"b", "2"}},
         true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        SettingsStore store;
        open(store, dir, c.loaded);
        for (auto change = c.changes.cbegin(); change != c.changes.cend(); ++change) {
            if (change.value().isNull())
                store.remove(change.key());
            else
                store.set(change.key(), change.value());
        }
        if (c.elsewhere)
            rewriteElsewhere(dir, *c.elsewhere);
        store.sync();
        EXPECT_FALSE(store.isDirty());
        EXPECT_EQ(readSettings(dir), c.synced);
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
        EXPECT_EQ(readSettings(dir), (SettingsMap{{"a", "later"}, {"z", "26"}}));
    }
}

TEST(SettingsStore, failedWriteLeavesTheFileAndStaysDirty)
{
    TempDir dir;
    SettingsStore store;
    open(store, dir, SettingsMap{{"a", "1"}});
    dir.write(file + ".new/blocker", "");  // ".new" cannot be opened as a file
    store.set("a", "2");
    store.sync();
    EXPECT_TRUE(store.isDirty());
    EXPECT_EQ(readSettings(dir), (SettingsMap{{"a", "1"}}));
    EXPECT_FALSE(dir.exists(file + ".bak"));

    ASSERT_EQ(unlink(dir.file(file + ".new/blocker").constData()), 0);
    ASSERT_EQ(rmdir(dir.file(file + ".new").constData()), 0);
    store.sync();  // a later save tries again
    EXPECT_FALSE(store.isDirty());
    EXPECT_EQ(readSettings(dir), (SettingsMap{{"a", "2"}}));
}
