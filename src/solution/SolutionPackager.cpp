#include "solution/SolutionPackager.h"

#include "platform/FileHandle.h"
#include "platform/FileSystem.h"
#include "package/DiskFile.h"
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

// The data of small files is read when they are opened ahead, so each is
// opened once; this much of it may be held in memory at a time.
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

// A file of the solution on its way into the package: what became of it so
// far and, for a file still to add, its entry name as bytes and where it is
// among the files opened ahead (-1 when it was not).
struct PendingFile {
    PackagedFile file;
    QByteArray entryName;
    qsizetype opened = -1;
};

// Takes the name the file has relative to base; a file without one is left
// out as unrelated.
void placeFile(const QString &base, PendingFile &pending)
{
    PackagedFile &file = pending.file;
    file.base = base;
    if (!relativePath(base, file.location, file.entryName)) {
        file.outcome = PackagedFile::Unrelated;
        return;
    }
    pending.entryName = nativeName(file.entryName);
    if (!PackageEntry::nameFits(pending.entryName))
        file.outcome = PackagedFile::LongName;
}

// The file a node names. A name that holds "$" is left out; where it leads
// is found only when it is to be reported.
PendingFile nodeFile(const QString &base, ProjectNode &node, bool reported)
{
    PendingFile pending;
    PackagedFile &file = pending.file;
    file.fileName = node.getProperty(QStringLiteral("file_name"));
    if (file.fileName.contains(u'$')) {
        file.outcome = PackagedFile::MacroName;
        file.base = base;
        if (reported) {
            node.resolveFileInfo();
            file.location = node.filePath();
        }
        return pending;
    }
    node.resolveFileInfo();
    file.location = node.filePath();
    placeFile(base, pending);
    return pending;
}

// The files that node, its following siblings and, below solutions, projects
// and folders, their children name, in document order. The walk keeps its
// own stack so that deeply nested trees cannot exhaust the call stack.
QList<PendingFile> nodeFiles(const QString &base, ProjectNode *node, bool reported)
{
    QList<PendingFile> files;
    QList<ProjectNode *> resume;
    while (node || !resume.isEmpty()) {
        if (!node) {
            node = resume.takeLast();
            continue;
        }
        if (namesPackagedFile(node->kind()))
            files.append(nodeFile(base, *node, reported));
        if (holdsPackagedFiles(node->kind()) && node->firstChild()) {
            resume.append(node->nextSibling());
            node = node->firstChild();
        } else {
            node = node->nextSibling();
        }
    }
    return files;
}

// Opens, all at once, every file to add whose name neither names (the
// package's entries) nor a file before it holds. A later file of the same
// name is added only when the first one cannot be, and is opened then.
std::vector<DiskFile> openAhead(QList<PendingFile> &files, QSet<QByteArray> names)
{
    QList<QByteArray> paths;
    for (PendingFile &pending : files) {
        if (pending.file.outcome == PackagedFile::Added && takeName(names, pending.entryName)) {
            pending.opened = paths.size();
            paths.append(nativeName(pending.file.location));
        }
    }
    return openDiskFiles(paths, HeldDataBudget);
}

// Adds an opened file under entryName; a packaged solution records a file as
// read-only when its owner may not write it.
bool addOpenedFile(DiskFile file, const QByteArray &entryName, PackageArchive &package)
{
    QByteArray unused;
    mode_t mode = 0;
    if (!package.addDiskFile(entryName, std::move(file), unused, &mode))
        return false;
    package.entries().last().readOnly = (mode & S_IWUSR) ? 0 : 1;
    return true;
}

// Adds a file still to add, from opened when it was opened ahead, unless
// names must be unique and uniqueNames (the names of the package's entries)
// holds its name already; tells report what became of it.
void addFile(PendingFile &pending, DiskFile *opened, QSet<QByteArray> *uniqueNames, PackageArchive &package,
             const PackagingReport &report)
{
    PackagedFile &file = pending.file;
    if (file.outcome == PackagedFile::Added) {
        if (uniqueNames && !takeName(*uniqueNames, pending.entryName)) {
            file.outcome = PackagedFile::DuplicateName;
        } else if (opened ? !addOpenedFile(std::move(*opened), pending.entryName, package)
                          : !addFileToPackage(file.location, pending.entryName, package)) {
            file.outcome = PackagedFile::Unreadable;
            if (uniqueNames)
                uniqueNames->remove(pending.entryName);
        }
    }
    if (!report)
        return;
    if (file.outcome == PackagedFile::Unreadable)
        file.reason = unreadableReason(file.location);
    report(file);
}

} // namespace

bool addFileToPackage(const QString &diskPath, const QByteArray &entryName, PackageArchive &package)
{
    // One open and one status of the open file: a directory or any other
    // file that is not a regular one is refused there.
    FileOpener opener;
    HeldFileData nothingHeld;
    return addOpenedFile(openDiskFile(nativeName(diskPath), opener, nothingHeld), entryName, package);
}

bool writePackagedSolution(ProjectNode &root, const QString &outputName, const QString &descriptionPath,
                           QByteArray &error, const PackagingReport &report)
{
    PackageArchive package;
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
    QList<PendingFile> files = nodeFiles(base, root.firstChild(), bool(report));
    QSet<QByteArray> names;
    for (const PackageEntry &entry : package.entries())
        names.insert(entry.name);
    std::vector<DiskFile> opened = openAhead(files, names);
    for (PendingFile &pending : files)
        addFile(pending, pending.opened < 0 ? nullptr : &opened[size_t(pending.opened)], &names, package, report);
    if (!descriptionPath.isEmpty()) {
        PendingFile description;
        description.file.fileName = descriptionPath;
        description.file.location = absoluteFilePath(descriptionPath);
        placeFile(base, description);
        // The description file may repeat a name that the package holds.
        addFile(description, nullptr, nullptr, package, report);
    }
    return writeCompressedPackage(package, nativeName(outputName), error);
}
