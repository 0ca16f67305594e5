#include "ProjectFixtures.h"

#include "platform/FileSystem.h"
#include "macros/MacroTable.h"

#include <unistd.h>

namespace {

// A solution file in a temporary directory; its project's directory is
// the solution's.
struct FileTree : ProjectTree {
    FileTree() { solution->setSolutionFile(absoluteFilePath(dir.qpath() + "/s.hzp"), QDateTime()); }
    TempDir dir;
};

QStringList fileNames(const ProjectNode *folder)
{
    QStringList names;
    for (const ProjectNode *child = folder->firstChild(); child; child = child->nextSibling()) {
        if (child->kind() == NodeKind::File)
            names.append(child->getProperty("file_name"));
    }
    return names;
}

TEST(DynamicFolders, listMatchingFilesInCaseInsensitiveOrderRecursingWhenAskedBelowAnExpandedPath)
{
    FileTree tree;
    for (const char *name : {"src/b.c", "src/A.c", "src/a.h", "src/.hidden.c", "src/sub/z.c", "src/sub/deeper/y.c",
                             "src/Sub2/x.c", "src/c.C", "elsewhere/board.c", "loop/a.c", "shared/s.c"})
        tree.dir.write(name, "");
    // A directory linked back into itself is scanned once, but two links to
    // one directory are both listed.
    ASSERT_EQ(symlink(".", tree.dir.file("loop/back").constData()), 0);
    ASSERT_EQ(symlink("../shared", tree.dir.file("loop/one").constData()), 0);
    ASSERT_EQ(symlink("../shared", tree.dir.file("loop/two").constData()), 0);
    MacroTable::instance().setMacro("BoardDir", tree.dir.qpath() + "/elsewhere");

    // A file already in the folder keeps its place; without recurse only the
    // directory itself is listed; no filter lets every file through; a macro
    // path is scanned expanded and kept unexpanded in the names.
    const struct { const char *path, *filter, *recurse, *existing; QStringList names; } cases[] = {
        {"src", "*.c", "Yes", "src/b.c", {"src/b.c", "src/A.c", "src/sub/z.c", "src/sub/deeper/y.c", "src/Sub2/x.c"}},
        {"src", "*.h; *.C", nullptr, nullptr, {"src/a.h", "src/c.C"}},
        {"src/sub", nullptr, nullptr, nullptr, {"src/sub/z.c"}},
        {"nowhere", nullptr, nullptr, nullptr, {}},
        {"$(BoardDir)", nullptr, "No", nullptr, {"$(BoardDir)/board.c"}},
        {"loop", nullptr, "Yes", nullptr, {"loop/a.c", "loop/one/s.c", "loop/two/s.c"}},
    };
    QList<ProjectNode *> folders;
    for (const auto &c : cases) {
        ProjectNode *dynamic = tree.addFolder(tree.project, c.path);
        for (const auto &[name, value] : {std::pair("path", c.path), {"filter", c.filter}, {"recurse", c.recurse}}) {
            if (value)
                dynamic->storeProperty(name, value);
        }
        if (c.existing)
            tree.projects.addFileNode(dynamic, c.existing, false);
        tree.projects.populateDynamicFolder(dynamic);
        EXPECT_EQ(fileNames(dynamic), c.names) << c.path;
        folders.append(dynamic);
    }
    ProjectNode *a = folders[0]->firstChild()->nextSibling();
    EXPECT_FALSE(a->createdFlag());
    a->resolveFileInfo();
    EXPECT_EQ(a->filePath(), absoluteFilePath(tree.dir.qpath() + "/src/A.c"));
    ProjectNode *board = folders[4]->firstChild();
    board->resolveFileInfo();
    EXPECT_EQ(board->filePath(), absoluteFilePath(tree.dir.qpath() + "/elsewhere/board.c"));
}

TEST(FileNodes, projectsPutNewFilesIntoTheFolderThatCollectsTheirExtension)
{
    FileTree tree;
    ProjectNode *headers = tree.addFolder(tree.project, "Headers", "h");
    ProjectNode *sources = tree.addFolder(tree.project, "Source Files", "");
    ProjectSystem::setConfigurationValue(sources, "filter", "Common", "c,CPP; s;asm", false);
    ProjectNode *nested = tree.addFolder(sources, "Nested", "x");

    const struct { const char *fileName; ProjectNode *home; } cases[] = {
        {"main.c", sources},
        {"boot.ASM", sources},
        {"dir.h/util.cpp", tree.project},   // filter parts are compared as written
        {"start.s", tree.project},
        {"api.h", headers},
        {"notes.txt", tree.project},
        {"Makefile", tree.project},
        {"deep.x", tree.project},   // only direct folders are considered
    };
    for (const auto &row : cases) {
        ProjectNode *file = tree.projects.addFileNode(tree.project, row.fileName, true);
        EXPECT_EQ(file->parent(), row.home) << row.fileName;
        EXPECT_TRUE(file->createdFlag()) << row.fileName;
        EXPECT_EQ(ProjectSystem::findFileChild(row.home, row.fileName), file) << row.fileName;
    }
    // A folder takes every file given to it, whatever its extension.
    EXPECT_EQ(tree.projects.addFileNode(nested, "any.c", false)->parent(), nested);
    EXPECT_EQ(ProjectSystem::findFileChild(sources, "any.c"), nullptr);
}

} // namespace
