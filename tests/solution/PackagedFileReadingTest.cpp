#include "PackageBytes.h"
#include "TempDir.h"
#include "package/PackageArchive.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

// A file read when it was opened keeps the bytes it had then, even when it
// is gone by the time the package is written; any other file is opened
// again and its absence is reported as before.
TEST(DiskFile, smallFilesAreReadWhenOpenedWhileTheBudgetLasts)
{
    const qint64 limit = HeldFileData::FileLimit;
    const struct {
        qint64 budget;
        QList<qint64> sizes; // one file each, opened in this order
        QList<bool> held;    // whether each is read when opened
    } cases[] = {
        {1 << 20, {10, 0, limit, limit + 1}, {true, true, true, false}},
        {15, {10, 10, 5}, {true, false, true}},
    };
    for (const auto &c : cases) {
        TempDir dir;
        FileOpener opener;
        HeldFileData held(c.budget);
        QList<DiskFile> opened;
        for (int i = 0; i < c.sizes.size(); ++i) {
            const QByteArray name = QByteArray::number(i);
            dir.write(name, QByteArray(c.sizes[i], char('a' + i)));
            opened.append(openDiskFile(dir.file(name), opener, held));
            ASSERT_EQ(opened.last().error, QByteArray());
        }
        for (int i = 0; i < c.sizes.size(); ++i) {
            const QByteArray name = QByteArray::number(i);
            ::unlink(dir.file(name).constData());
            MemorySink sink;
            QByteArray error;
            const bool copied = PackageArchive::copyEntryData(opened[i].entry, sink, "out", error);
            EXPECT_EQ(copied, c.held[i]) << "budget " << c.budget << ", file " << i;
            if (copied)
                EXPECT_EQ(sink.bytes, QByteArray(c.sizes[i], char('a' + i)));
            else
                EXPECT_EQ(error, "read error on " + dir.file(name) + ": No such file or directory");
        }
    }
}

// Opened on several threads, the files come back in the order of the paths,
// the ones that cannot be opened among them.
TEST(DiskFile, filesOpenedOnSeveralThreadsComeBackInTheirOrder)
{
    TempDir dir;
    QList<QByteArray> paths;
    for (int i = 0; i < 1500; ++i) {
        const QByteArray name = "d" + QByteArray::number(i / 100) + "/" + QByteArray::number(i);
        if (i % 7)
            dir.write(name, name);
        paths.append(dir.file(name));
    }
    const std::vector<DiskFile> opened = openDiskFiles(paths, 1 << 20);
    ASSERT_EQ(opened.size(), size_t(paths.size()));
    for (int i = 0; i < paths.size(); ++i) {
        MemorySink sink;
        QByteArray error;
        EXPECT_EQ(opened[size_t(i)].error.isEmpty(), i % 7 != 0) << i;
        if (i % 7) {
            EXPECT_TRUE(PackageArchive::copyEntryData(opened[size_t(i)].entry, sink, "out", error)) << error.constData();
            EXPECT_TRUE(paths[i].endsWith("/" + sink.bytes)) << i;
        }
    }
}

// Whatever directory the file before lay in, each path opens the file it
// names, or fails, as open() would.
TEST(FileOpener, opensWhatEachPathNamesWhicheverDirectoryCameBefore)
{
    TempDir dir;
    for (const char *name : {"d/a", "d/b", "dd/a", "d/e/a"})
        dir.write(name, name);
    const struct {
        const char *path;
        const char *contents; // null: fails to open; empty: opens a directory
    } cases[] = {
        {"d/a", "d/a"}, {"d/b", "d/b"}, {"dd/a", "dd/a"}, {"d/a", "d/a"}, {"d/missing", nullptr},
        {"none/a", nullptr}, {"d/e/a", "d/e/a"}, {"d/e/../b", "d/b"}, {"d/", ""}, {"d/a", "d/a"},
    };
    FileOpener opener;
    for (const auto &c : cases) {
        const FileHandle file = opener.open(dir.file(c.path), O_RDONLY);
        EXPECT_EQ(file.isOpen(), c.contents != nullptr) << c.path;
        char buffer[16];
        if (c.contents) {
            EXPECT_EQ(QByteArray(buffer, qMax<qint64>(0, preadFully(file.fd(), buffer, 16, 0))), c.contents) << c.path;
        }
    }
}
