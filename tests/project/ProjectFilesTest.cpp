#include "TempDir.h"

#include "platform/FileSystem.h"
#include "macros/MacroTable.h"
#include "project/ProjectNode.h"
#include "targets/ARMProjectSystem.h"

#include <gtest/gtest.h>

#include <memory>
#include <unistd.h>

namespace {

// A solution file in a temporary directory holding one project whose
// directory is the solution's.
struct FileTree {
    TempDir dir;
    ARMProjectSystem system;
    std::unique_ptr<ProjectNode> solution = std::make_unique<ProjectNode>(NodeKind::Solution);
    ProjectNode *project = new ProjectNode(NodeKind::Project);

    FileTree()
    {
        solution->setSolutionFile(absoluteFilePath(dir.qpath() + "/s.hzp"), QDateTime());
        solution->addChild(project);
    }
    ProjectNode *folder(ProjectNode *parent, const QString &name, const QString &filterAttribute = QString())
    {
        auto *folder = new ProjectNode(NodeKind::Folder);
        folder->storeProperty("Name", name);
        if (!filterAttribute.isNull())
            folder->storeProperty("filter", filterAttribute);
        parent->addChild(folder);
        return folder;
    }
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

TEST(DynamicFolders, listMatchingFilesInCaseInsensitiveOrderAndRecurseWhenAsked)
{
    FileTree tree;
    for (const char *name : {"src/b.c", "src/A.c", "src/a.h", "src/.hidden.c", "src/sub/z.c", "src/sub/deeper/y.c",
                             "src/Sub2/x.c", "src/c.C"})
        tree.dir.write(name, "");
    ProjectNode *dynamic = tree.folder(tree.project, "Dynamic");
    dynamic->storeProperty("path", "src");
    dynamic->storeProperty("filter", "*.c");
    dynamic->storeProperty("recurse", "Yes");
    tree.system.addFileNode(dynamic, "src/b.c", false);

    tree.system.populateDynamicFolder(dynamic);
    EXPECT_EQ(fileNames(dynamic), (QStringList{"src/b.c", "src/A.c", "src/sub/z.c", "src/sub/deeper/y.c", "src/Sub2/x.c"}));
    ProjectNode *a = dynamic->firstChild()->nextSibling();
    EXPECT_FALSE(a->createdFlag());
    a->resolveFileInfo();
    EXPECT_EQ(a->filePath(), absoluteFilePath(tree.dir.qpath() + "/src/A.c"));

    // Without recurse only the directory itself; several patterns at once.
    ProjectNode *flat = tree.folder(tree.project, "Flat");
    flat->storeProperty("path", "src");
    flat->storeProperty("filter", "*.h; *.C");
    tree.system.populateDynamicFolder(flat);
    EXPECT_EQ(fileNames(flat), (QStringList{"src/a.h", "src/c.C"}));

    // No filter lets every file through; a missing directory gives nothing.
    ProjectNode *all = tree.folder(tree.project, "All");
    all->storeProperty("path", "src/sub");
    tree.system.populateDynamicFolder(all);
    EXPECT_EQ(fileNames(all), QStringList{"src/sub/z.c"});
    ProjectNode *missing = tree.folder(tree.project, "Missing");
    missing->storeProperty("path", "nowhere");
    tree.system.populateDynamicFolder(missing);
    EXPECT_EQ(missing->firstChild(), nullptr);
}

TEST(DynamicFolders, aMacroPathIsScannedExpandedAndKeptUnexpandedInNames)
{
    FileTree tree;
    tree.dir.write("elsewhere/board.c", "");
    MacroTable::instance().setMacro("BoardDir", tree.dir.qpath() + "/elsewhere");
    ProjectNode *dynamic = tree.folder(tree.project, "Board");
    dynamic->storeProperty("path", "$(BoardDir)");
    dynamic->storeProperty("recurse", "No");
    tree.system.populateDynamicFolder(dynamic);
    EXPECT_EQ(fileNames(dynamic), QStringList{"$(BoardDir)/board.c"});
    dynamic->firstChild()->resolveFileInfo();
    EXPECT_EQ(dynamic->firstChild()->filePath(), absoluteFilePath(tree.dir.qpath() + "/elsewhere/board.c"));
}

TEST(DynamicFolders, aDirectoryLinkedBackIntoItselfIsScannedOnceButTwoLinksToOneDirectoryAreBothListed)
{
    FileTree tree;
    tree.dir.write("loop/a.c", "");
    tree.dir.write("shared/s.c", "");
    ASSERT_EQ(symlink(".", tree.dir.file("loop/back").constData()), 0);
    ASSERT_EQ(symlink("../shared", tree.dir.file("loop/one").constData()), 0);
    ASSERT_EQ(symlink("../shared", tree.dir.file("loop/two").constData()), 0);
    ProjectNode *dynamic = tree.folder(tree.project, "Loop");
    dynamic->storeProperty("path", "loop");
    dynamic->storeProperty("recurse", "Yes");
    tree.system.populateDynamicFolder(dynamic);
    EXPECT_EQ(fileNames(dynamic), (QStringList{"loop/a.c", "loop/one/s.c", "loop/two/s.c"}));
}

TEST(FileNodes, projectsPutNewFilesIntoTheFolderThatCollectsTheirExtension)
{
    FileTree tree;
    tree.folder(tree.project, "Headers", "h");
    ProjectNode *sources = tree.folder(tree.project, "Source Files", "");
    ProjectSystem::setConfigurationValue(sources, "filter", "Common", "c,CPP; s;asm", false);
    ProjectNode *nested = tree.folder(sources, "Nested", "x");

    const struct {
        const char *fileName;
        ProjectNode *home;
    } cases[] = {
        {"main.c", sources},
        {"boot.ASM", sources},
        {"dir.h/util.cpp", tree.project},   // filter parts are compared as written
        {"start.s", tree.project},
        {"api.h", tree.project->firstChild()},
        {"notes.txt", tree.project},
        {"Makefile", tree.project},
        {"deep.x", tree.project},   // only direct folders are considered
    };
    for (const auto &row : cases) {
        ProjectNode *file = tree.system.addFileNode(tree.project, row.fileName, true);
        EXPECT_EQ(file->parent(), row.home) << row.fileName;
        EXPECT_TRUE(file->createdFlag()) << row.fileName;
        EXPECT_EQ(ProjectSystem::findFileChild(row.home, row.fileName), file) << row.fileName;
    }
    // A folder takes every file given to it, whatever its extension.
    EXPECT_EQ(tree.system.addFileNode(nested, "any.c", false)->parent(), nested);
    EXPECT_EQ(ProjectSystem::findFileChild(sources, "any.c"), nullptr);
}

} // namespace
