// File nodes: finding and adding them, and dynamic folders, whose files are
// the ones found in a directory when the solution is loaded.

#include "project/ProjectSystem.h"

#include "platform/FileSystem.h"
#include "settings/GlobalMacros.h"
#include "macros/MacroExpansion.h"
#include "project/ProjectNode.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace {

// Directory entries in name order ignoring case; names that differ only in
// case keep a fixed order among themselves.
bool namesInOrder(const DirectoryEntry &a, const DirectoryEntry &b)
{
    const int folded = a.name.compare(b.name, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a.name < b.name;
}

// The wildcard patterns of a dynamic folder's filter: several patterns
// separated by ';' or blanks. No pattern at all lets every file through.
QList<QRegularExpression> namePatterns(const QString &filter)
{
    static const QRegularExpression separators(QStringLiteral("[;\\s]+"));
    QList<QRegularExpression> patterns;
    for (const QString &pattern : filter.split(separators, Qt::SkipEmptyParts))
        patterns.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern)));
    return patterns;
}

bool matchesAny(const QList<QRegularExpression> &patterns, const QString &name)
{
    if (patterns.isEmpty())
        return true;
    return std::any_of(patterns.cbegin(), patterns.cend(),
                       [&](const QRegularExpression &pattern) { return pattern.match(name).hasMatch(); });
}

struct DirectoryScan {
    ProjectSystem &system;
    ProjectNode *folder;
    QList<QRegularExpression> patterns;
    bool recurse;
    QSet<QString> present;   // file names the folder already holds
    QStringList open;        // canonical paths of the directories being scanned

    void notePresentFiles()
    {
        for (const ProjectNode *child = folder->firstChild(); child; child = child->nextSibling()) {
            if (child->kind() == NodeKind::File)
                present.insert(child->getProperty(QStringLiteral("file_name")));
        }
    }

    void scan(const QString &directory, const QString &prefix)
    {
        // A directory linked back into one that is still being scanned
        // would repeat without end; a directory reached twice by separate
        // links is listed under both names.
        const QString canonical = canonicalPath(directory);
        if (canonical.isNull() || open.contains(canonical))
            return;
        auto entries = listDirectory(directory);
        if (!entries)
            return;
        // Hidden entries are left out, as in any directory listing of the tool.
        entries->removeIf([](const DirectoryEntry &entry) { return entry.name.startsWith(u'.'); });
        std::sort(entries->begin(), entries->end(), namesInOrder);
        for (const DirectoryEntry &entry : *entries) {
            if (!entry.file || !matchesAny(patterns, entry.name))
                continue;
            const QString name = prefix + u'/' + entry.name;
            if (!present.contains(name)) {
                present.insert(name);
                system.addFileNode(folder, name, false);
            }
        }
        if (!recurse)
            return;
        open.append(canonical);
        for (const DirectoryEntry &entry : *entries) {
            if (entry.directory)
                scan(directory + u'/' + entry.name, prefix + u'/' + entry.name);
        }
        open.removeLast();
    }
};

// The last extension of a file name, lower-cased; empty when there is none.
QString lowerExtension(const QString &fileName)
{
    const QString name = fileNameOf(fileName);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot + 1).toLower();
}

} // namespace

ProjectNode *ProjectSystem::findFileChild(const ProjectNode *folder, const QString &fileName)
{
    static const QString key = QStringLiteral("file_name");
    for (ProjectNode *child = folder->firstChild(); child; child = child->nextSibling()) {
        if (child->kind() != NodeKind::File)
            continue;
        const QString *name = child->findProperty(key);
        if (name && *name == fileName)
            return child;
    }
    return nullptr;
}

QStringList ProjectSystem::folderFilterList(ProjectNode *folder) const
{
    static const QRegularExpression separators(QStringLiteral("[,;]"));
    QString filter = folder->getProperty(QStringLiteral("filter"));
    if (filter.isEmpty())
        filter = getPropertyValue(folder, propertyClass(FolderFilter), QStringLiteral("Common"));
    // The parts are compared as written with the file's lower-cased
    // extension, so "C" or " h" collect nothing.
    return filter.split(separators, Qt::SkipEmptyParts);
}

ProjectNode *ProjectSystem::addFileNode(ProjectNode *parent, const QString &fileName, bool flag)
{
    auto *file = new ProjectNode(NodeKind::File);
    file->setCreatedFlag(flag);
    ProjectNode *home = parent;
    if (parent->kind() != NodeKind::Folder) {
        const QString extension = lowerExtension(fileName);
        for (ProjectNode *child = parent->firstChild(); child && !extension.isEmpty(); child = child->nextSibling()) {
            if (child->kind() == NodeKind::Folder && folderFilterList(child).contains(extension)) {
                home = child;
                break;
            }
        }
    }
    home->addChild(file);
    file->setFileName(fileName, flag);
    return file;
}

void ProjectSystem::populateDynamicFolder(ProjectNode *folder)
{
    const QString path = folder->getProperty(QStringLiteral("path"));
    QString directory;
    if (path.startsWith(u'$')) {
        directory = expandMacros(path, globalMacros(true));
    } else {
        // Outside any project there is no project directory: the path is
        // then taken from the root directory.
        ProjectNode *project = folder->ancestorOrSelf(NodeKind::Project);
        if (project)
            project->resolveFileInfo();
        directory = (project ? project->projectDirectory() : QString()) + u'/' + path;
    }
    DirectoryScan scan{*this, folder, namePatterns(folder->getProperty(QStringLiteral("filter"))),
                       folder->getProperty(QStringLiteral("recurse")) == QLatin1String("Yes"), {}, {}};
    scan.notePresentFiles();
    scan.scan(directory, path);
}
