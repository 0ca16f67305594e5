#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

#include "TempDir.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsStore.h"

namespace {

// A store over "settings.xml" in a fresh directory.
struct StoreFixture {
    TempDir dir;
    SettingsStore store;

    QString path() const { return dir.qpath() + QStringLiteral("/user/settings.xml"); }
    void writeFile(const SettingsMap &settings) const { dir.write("user/settings.xml", formatSettingsFile(settings)); }
    SettingsMap readFile() const
    {
        SettingsMap settings;
        EXPECT_TRUE(parseSettingsFile(dir.read("user/settings.xml"), settings));
        return settings;
    }
    // Another process rewrites the file; its time differs from the one remembered.
    void rewriteElsewhere(const SettingsMap &settings) const
    {
        writeFile(settings);
        struct utimbuf times{1000000000, 1000000000};
        utime(dir.file("user/settings.xml").constData(), &times);
    }
};

TEST(SettingsStore, lookupSetAndRemoveTrackChanges)
{
    StoreFixture f;
    f.writeFile({{"a", "1"}, {"b", "2"}});
    f.store.setFile(NormalizedPath(f.path()));
    EXPECT_FALSE(f.store.isDirty());
    EXPECT_EQ(f.store.lookup(QStringLiteral("a"), QStringLiteral("d")), QStringLiteral("1"));
    EXPECT_EQ(f.store.lookup(QStringLiteral("z"), QStringLiteral("d")), QStringLiteral("d"));

    f.store.set(QStringLiteral("a"), QStringLiteral("1"));
    EXPECT_FALSE(f.store.isDirty());  // same text: nothing changes
    f.store.remove(QStringLiteral("absent"));
    EXPECT_FALSE(f.store.isDirty());
    f.store.remove(QStringLiteral("b"));
    EXPECT_TRUE(f.store.isDirty());
    EXPECT_EQ(f.store.lookup(QStringLiteral("b"), QStringLiteral("d")), QStringLiteral("d"));
    f.store.set(QStringLiteral("b"), QStringLiteral("2"));  // a removed entry comes back as changed
    EXPECT_EQ(f.store.entries().value(QStringLiteral("b")).state, SettingsStore::Changed);
    EXPECT_EQ(f.store.lookup(QStringLiteral("b"), QStringLiteral("d")), QStringLiteral("2"));
}

TEST(SettingsStore, unreadableFileKeepsWhatIsHeld)
{
    StoreFixture f;
    f.store.setFile(NormalizedPath(f.path()));
    EXPECT_TRUE(f.store.entries().isEmpty());
    f.writeFile({{"a", "1"}});
    ASSERT_TRUE(f.store.load());
    f.dir.write("user/settings.xml", "<broken");
    EXPECT_FALSE(f.store.load());
    EXPECT_EQ(f.store.lookup(QStringLiteral("a"), {}), QStringLiteral("1"));
}

TEST(SettingsStore, syncWritesThroughNewAndBackupFiles)
{
    StoreFixture f;
    f.store.setFile(NormalizedPath(f.path()));
    f.store.set(QStringLiteral("a"), QStringLiteral("x<y"));
    f.store.sync();  // unchanged on disk (no file), dirty: written, directory created
    EXPECT_FALSE(f.store.isDirty());
    EXPECT_EQ(f.readFile(), (SettingsMap{{"a", "x<y"}}));
    EXPECT_FALSE(f.dir.exists("user/settings.xml.new"));
    EXPECT_FALSE(f.dir.exists("user/settings.xml.bak"));

    const QByteArray first = f.dir.read("user/settings.xml");
    f.store.set(QStringLiteral("b"), QStringLiteral("2"));
    f.store.sync();
    EXPECT_EQ(f.dir.read("user/settings.xml.bak"), first);
    EXPECT_EQ(f.readFile(), (SettingsMap{{"a", "x<y"}, {"b", "2"}}));

    f.store.sync();  // nothing changed anywhere: nothing written
    EXPECT_EQ(f.dir.read("user/settings.xml.bak"), first);
}

TEST(SettingsStore, syncCases)
{
    // Case: the file changed elsewhere and nothing changed here: reload.
    {
        StoreFixture f;
        f.writeFile({{"a", "1"}});
        f.store.setFile(NormalizedPath(f.path()));
        f.rewriteElsewhere({{"a", "9"}, {"c", "3"}});
        f.store.sync();
        EXPECT_EQ(f.store.lookup(QStringLiteral("a"), {}), QStringLiteral("9"));
        EXPECT_EQ(f.store.lookup(QStringLiteral("c"), {}), QStringLiteral("3"));
        EXPECT_FALSE(f.dir.exists("user/settings.xml.bak"));
    }
    // Case: changed on both sides: the other process's entries plus these
    // changes and removals.
    {
        StoreFixture f;
        f.writeFile({{"a", "1"}, {"b", "2"}, {"keep", "k"}});
        f.store.setFile(NormalizedPath(f.path()));
        f.store.set(QStringLiteral("a"), QStringLiteral("mine"));
        f.store.remove(QStringLiteral("b"));
        f.rewriteElsewhere({{"a", "theirs"}, {"b", "theirs"}, {"new", "n"}});
        f.store.sync();
        const SettingsMap merged{{"a", "mine"}, {"new", "n"}};
        EXPECT_EQ(f.readFile(), merged);
        EXPECT_EQ(f.store.lookup(QStringLiteral("new"), {}), QStringLiteral("n"));
        EXPECT_EQ(f.store.lookup(QStringLiteral("keep"), QStringLiteral("gone")), QStringLiteral("gone"));
        EXPECT_FALSE(f.store.isDirty());
        // Written changes are not applied again over a later change elsewhere.
        f.rewriteElsewhere({{"a", "later"}});
        f.store.set(QStringLiteral("z"), QStringLiteral("26"));
        f.store.sync();
        EXPECT_EQ(f.readFile(), (SettingsMap{{"a", "later"}, {"z", "26"}}));
    }
    // Case: changed on both sides but the file cannot be read now: nothing
    // held here is lost.
    {
        StoreFixture f;
        f.writeFile({{"a", "1"}});
        f.store.setFile(NormalizedPath(f.path()));
        f.store.set(QStringLiteral("b"), QStringLiteral("2"));
        f.dir.write("user/settings.xml", "<half");
        f.store.sync();
        EXPECT_EQ(f.readFile(), (SettingsMap{{"a", "1"}, {"b", "2"}}));
    }
}

TEST(SettingsStore, failedWriteLeavesTheFileAndStaysDirty)
{
    StoreFixture f;
    f.writeFile({{"a", "1"}});
    f.store.setFile(NormalizedPath(f.path()));
    f.dir.write("user/settings.xml.new/blocker", "");  // ".new" cannot be opened as a file
    f.store.set(QStringLiteral("a"), QStringLiteral("2"));
    f.store.sync();
    EXPECT_TRUE(f.store.isDirty());
    EXPECT_EQ(f.readFile(), (SettingsMap{{"a", "1"}}));
    EXPECT_FALSE(f.dir.exists("user/settings.xml.bak"));

    f.dir.write("user/settings.xml.new/blocker", "");
    ASSERT_EQ(unlink(f.dir.file("user/settings.xml.new/blocker").constData()), 0);
    ASSERT_EQ(rmdir(f.dir.file("user/settings.xml.new").constData()), 0);
    f.store.sync();  // a later save tries again
    EXPECT_FALSE(f.store.isDirty());
    EXPECT_EQ(f.readFile(), (SettingsMap{{"a", "2"}}));
}

} // namespace
