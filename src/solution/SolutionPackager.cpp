#include "solution/SolutionPackager.h"

#include "environment/FileSystem.h"
#include "package/PackageArchive.h"
#include "package/PackageWriter.h"
#include "project/ProjectNode.h"
#include "solution/RelativePath.h"

#include <QList>
#include <QSet>

namespace {

bool namesPackagedFile(NodeKind kind)
{
    return kind == NodeKind::File || kind == NodeKind::Solution;
}

bool holdsPackagedFiles(NodeKind kind)
{
    return kind == NodeKind::Solution || kind == NodeKind::Project || kind == NodeKind::Folder;
}

// Adds the file a node names when it lies at a name relative to base that the
// package does not hold yet; names holds the names of the package's entries.
void collectNodeFile(const QString &base, ProjectNode &node, PackageArchive &package, QSet<QByteArray> &names)
{
    if (node.getProperty(QStringLiteral("file_name")).contains(u'$'))
        return;
    node.resolveFileInfo();
    QString name;
    if (!relativePath(base, node.filePath(), name))
        return;
    const QByteArray entryName = nativeName(name);
    if (!names.contains(entryName) && addFileToPackage(node.filePath(), name, package))
        names.insert(entryName);
}

// Visits node, its following siblings and, below solutions, projects and
// folders, their children, in document order. The walk keeps its own stack
// so that deeply nested trees cannot exhaust the call stack.
void collectNodeFiles(const QString &base, ProjectNode *node, PackageArchive &package)
{
    QSet<QByteArray> names;
    for (const PackageEntry &entry : package.entries())
        names.insert(entry.name);
    QList<ProjectNode *> resume;
    while (node || !resume.isEmpty()) {
        if (!node) {
            node = resume.takeLast();
            continue;
        }
        if (namesPackagedFile(node->kind()))
            collectNodeFile(base, *node, package, names);
        if (holdsPackagedFiles(node->kind()) && node->firstChild()) {
            resume.append(node->nextSibling());
            node = node->firstChild();
        } else {
            node = node->nextSibling();
        }
    }
}

} // namespace

bool addFileToPackage(const QString &diskPath, const QString &entryName, PackageArchive &package)
{
    const std::optional<FileStatus> status = fileStatus(diskPath);
    if (!status || status->directory)
        return false;
    QByteArray unused;
    if (!package.addDiskFile(nativeName(entryName), nativeName(diskPath), unused))
        return false;
    // A packaged solution records a file as read-only when its owner may not write it.
    package.entries().last().readOnly = status->ownerWritable ? 0 : 1;
    return true;
}

bool writePackagedSolution(ProjectNode &root, const QString &outputName, const QString &descriptionPath,
                           QByteArray &error)
{
    PackageArchive package;
    addFileToPackage(root.filePath(), fileNameOf(root.filePath()), package);
    const QString base = absoluteDirectory(root.filePath());
    collectNodeFiles(base, root.firstChild(), package);
    QString name;
    if (!descriptionPath.isEmpty() && relativePath(base, descriptionPath, name))
        addFileToPackage(descriptionPath, name, package);
    return writeCompressedPackage(package, nativeName(outputName), error);
}
