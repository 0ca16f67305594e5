#include "solution/SolutionPackager.h"

#include "platform/FileHandle.h"
#include "platform/FileSystem.h"
#include "package/PackageArchive.h"
#include "package/PackageWriter.h"
#include "project/ProjectNode.h"
#include "solution/RelativePath.h"

#include <QList>
#include <QSet>

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

namespace {

// The data of small files is read when they are added, so each is opened
// once; this much of it may be held in memory at a time.
constexpr qint64 HeldDataBudget = 32 << 20;

bool namesPackagedFile(NodeKind kind)
{
    return kind == NodeKind::File || kind == NodeKind::Solution;
}

bool holdsPackagedFiles(NodeKind kind)
{
    return kind == NodeKind::Solution || kind == NodeKind::Project || kind == NodeKind::Folder;
}

// Why a file could not be added to the package, in words to follow its path.
QByteArray unreadableReason(const QString &path)
{
    struct stat info;
    if (::stat(nativeName(path).constData(), &info) != 0)
        return errno == ENOENT ? QByteArray("does not exist") : "cannot be read: " + errorText(errno);
    if (S_ISDIR(info.st_mode))
        return "is a directory";
    if (!S_ISREG(info.st_mode))
        return "is no regular file";
    const FileHandle file(::open(nativeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    return file.isOpen() ? QByteArray("cannot be read") : "cannot be read: " + errorText(errno);
}

// Adds name to names unless they hold it already; false then. One look-up
// serves the test and the insertion.
bool takeName(QSet<QByteArray> &names, const QByteArray &name)
{
    const qsizetype count = names.size();
    names.insert(name);
    return names.size() != count;
}

// Adds one file under its name relative to base, unless names must be unique
// and uniqueNames (the names of the package's entries) holds it already, and
// tells report what became of it.
void addRelativeFile(const QString &base, PackagedFile &file, QSet<QByteArray> *uniqueNames, PackageArchive &package,
                     const PackagingReport &report)
{
    file.base = base;
    if (!relativePath(base, file.location, file.entryName)) {
        file.outcome = PackagedFile::Unrelated;
    } else {
        const QByteArray entryName = nativeName(file.entryName);
        if (uniqueNames && !takeName(*uniqueNames, entryName)) {
            file.outcome = PackagedFile::DuplicateName;
        } else if (!addFileToPackage(file.location, entryName, package)) {
            file.outcome = PackagedFile::Unreadable;
            if (uniqueNames)
                uniqueNames->remove(entryName);
        }
    }
    if (!report)
        return;
    if (file.outcome == PackagedFile::Unreadable)
        file.reason = unreadableReason(file.location);
    report(file);
}

// Adds the file a node names when it lies at a name relative to base that the
// package does not hold yet; names holds the names of the package's entries.
void collectNodeFile(const QString &base, ProjectNode &node, PackageArchive &package, QSet<QByteArray> &names,
                     const PackagingReport &report)
{
    PackagedFile file;
    file.fileName = node.getProperty(QStringLiteral("file_name"));
    if (file.fileName.contains(u'$')) {
        if (report) {
            node.resolveFileInfo();
            file.outcome = PackagedFile::MacroName;
            file.location = node.filePath();
            file.base = base;
            report(file);
        }
        return;
    }
    node.resolveFileInfo();
    file.location = node.filePath();
    addRelativeFile(base, file, &names, package, report);
}

// Visits node, its following siblings and, below solutions, projects and
// folders, their children, in document order. The walk keeps its own stack
// so that deeply nested trees cannot exhaust the call stack.
void collectNodeFiles(const QString &base, ProjectNode *node, PackageArchive &package, const PackagingReport &report)
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
            collectNodeFile(base, *node, package, names, report);
        if (holdsPackagedFiles(node->kind()) && node->firstChild()) {
            resume.append(node->nextSibling());
            node = node->firstChild();
        } else {
            node = node->nextSibling();
        }
    }
}

} // namespace

bool addFileToPackage(const QString &diskPath, const QByteArray &entryName, PackageArchive &package)
{
    // One open and one status of the open file: a directory or any other
    // file that is not a regular one is refused there.
    QByteArray unused;
    mode_t mode = 0;
    if (!package.addDiskFile(entryName, nativeName(diskPath), unused, &mode))
        return false;
    // A packaged solution records a file as read-only when its owner may not write it.
    package.entries().last().readOnly = (mode & S_IWUSR) ? 0 : 1;
    return true;
}

bool writePackagedSolution(ProjectNode &root, const QString &outputName, const QString &descriptionPath,
                           QByteArray &error, const PackagingReport &report)
{
    PackageArchive package;
    package.holdSmallFiles(HeldDataBudget);
    const QString base = absoluteDirectory(root.filePath());
    PackagedFile solution;
    solution.fileName = root.filePath();
    solution.location = root.filePath();
    solution.entryName = fileNameOf(root.filePath());
    solution.base = base;
    if (!addFileToPackage(root.filePath(), nativeName(solution.entryName), package)) {
        solution.outcome = PackagedFile::Unreadable;
        solution.reason = unreadableReason(root.filePath());
    }
    if (report)
        report(solution);
    collectNodeFiles(base, root.firstChild(), package, report);
    if (!descriptionPath.isEmpty()) {
        PackagedFile description;
        description.fileName = descriptionPath;
        description.location = absoluteFilePath(descriptionPath);
        // The description file may repeat a name that the package holds.
        addRelativeFile(base, description, nullptr, package, report);
    }
    return writeCompressedPackage(package, nativeName(outputName), error);
}
