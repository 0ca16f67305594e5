// Reading a solution file, and the files that it imports, into the project
// tree.

#include "project/ProjectSystem.h"

#include "project/LoadedSolution.h"

#include "platform/FileSystem.h"
#include "settings/GlobalMacros.h"
#include "macros/MacroExpansion.h"
#include "project/BuildSystem.h"
#include "project/LoadHandlers.h"
#include "project/ProjectNode.h"
#include "project/SolutionLoadError.h"
#include "xml/QXMLDocument.h"

#include <QDateTime>

#include <fcntl.h>
#include <sys/stat.h>
#include <memory>
#include <optional>
#include <unistd.h>

namespace {

// Deeper trees than this are refused rather than read with unbounded
// recursion.
constexpr int maximumDepth = 10000;

const QString &currentVersion()
{
    static const QString version = QStringLiteral("2");
    return version;
}

// The kind of node an element yields; nothing for a tag that names no kind
// (such elements are skipped with their content).
std::optional<NodeKind> kindOfTag(const char *tag)
{
    static const struct {
        const char *tag;
        NodeKind kind;
    } kinds[] = {
        {"solution", NodeKind::Solution}, {"configuration", NodeKind::Configuration}, {"project", NodeKind::Project},
        {"folder", NodeKind::Folder},     {"file", NodeKind::File},
    };
    for (const auto &entry : kinds) {
        if (qstrcmp(tag, entry.tag) == 0)
            return entry.kind;
    }
    return std::nullopt;
}

enum class Readable { No, SolutionFile, OtherKind };

// Whether a file opens for reading, and whether it is a regular file: only
// such a file can be a solution file, as a FIFO or a device would keep the
// reader waiting or feed it without end. Opening never waits, so a FIFO
// opens at once here; a directory, which the system would open, cannot be
// read as a file.
Readable readableAs(const QString &path)
{
    const int descriptor = ::open(nativeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return Readable::No;
    struct stat status;
    const bool known = ::fstat(descriptor, &status) == 0;
    ::close(descriptor);
    if (!known || S_ISDIR(status.st_mode))
        return Readable::No;
    return S_ISREG(status.st_mode) ? Readable::SolutionFile : Readable::OtherKind;
}

// The loading stack entry of one file, removed again however its reading
// ends. The file is also kept with its links resolved, so that an import
// that reaches a file being read by another spelling is caught too.
class LoadingStackEntry {
public:
    LoadingStackEntry(QStringList &paths, QStringList &files, const QString &path, const QString &file)
        : m_paths(paths), m_files(files)
    {
        m_paths.append(path);
        m_files.append(file);
    }
    ~LoadingStackEntry()
    {
        m_paths.removeLast();
        m_files.removeLast();
    }
    LoadingStackEntry(const LoadingStackEntry &) = delete;
    LoadingStackEntry &operator=(const LoadingStackEntry &) = delete;

private:
    QStringList &m_paths;
    QStringList &m_files;
};

} // namespace

void ProjectSystem::loadSolution(const QString &fileName, ProjectFileNotFoundErrorHandler *fileNotFoundHandler,
                                 TemplateNotFoundErrorHandler *templateHandler)
{
    resetSolution();
    LoadedSolution &state = loaded();
    try {
        state.solution.reset(loadSolutionFile(QString(), fileName, fileNotFoundHandler));
        if (!state.pendingTemplateProjects.isEmpty()) {
            completeTemplateProjects(state.pendingTemplateProjects, templateHandler);
            clearModified(state.solution.get(), true, true);
        }
    } catch (const SolutionLoadError &) {
        resetSolution();
        throw;
    }
    state.pendingTemplateProjects.clear();
    rebuildIndexes();
    if (!state.pendingDynamicFolders.isEmpty()) {
        for (ProjectNode *folder : std::as_const(state.pendingDynamicFolders))
            populateDynamicFolder(folder);
        state.pendingDynamicFolders.clear();
        clearModified(state.solution.get(), true, true);
    }
    emit solutionLoaded();
}

ProjectNode *ProjectSystem::loadSolutionFile(const QString &baseDir, const QString &fileName,
                                             ProjectFileNotFoundErrorHandler *fileNotFoundHandler)
{
    // A relative name is first tried from the current directory, then next
    // to the importing file; the file read is always the one next to it.
    QString current = fileName;
    if (!pathExists(current) && !baseDir.isEmpty())
        current = baseDir + u'/' + fileName;
    if (!pathExists(current) && !(fileNotFoundHandler && fileNotFoundHandler->fileNotFound(current)))
        throw SolutionLoadError{current, false, QStringLiteral(" does not exist")};
    const Readable readable = readableAs(current);
    if (readable == Readable::No)
        throw SolutionLoadError{current, false, QStringLiteral(" cannot access")};
    if (readable == Readable::OtherKind)
        throw SolutionLoadError{current, false, QStringLiteral(" not a solution file")};

    const QString path = absoluteFilePath(fileName.startsWith(u'/') || baseDir.isEmpty() ? fileName
                                                                                        : baseDir + u'/' + fileName);
    const QString file = canonicalPath(path);
    if (loaded().loadingStack.contains(path) || loaded().loadingFiles.contains(file))
        throw SolutionLoadError{path, false, QStringLiteral(" solution already loaded")};

    QXMLDocument document(false);
    if (!document.loadFile(path))
        throw SolutionLoadError{current, true, QString::fromLatin1(document.errorMessage()), document.errorLine()};
    if (qstrcmp(document.doctype(), "Lanternwick_Project_File") != 0)
        throw SolutionLoadError{current, false, QStringLiteral(" not a solution file")};
    // The tree below a file hangs from its solution node: that node gives
    // projects and files their directory and receives the configurations
    // that templates add, so a file rooted in anything else is refused.
    if (!document.root() || !document.root()->hasName("solution"))
        throw SolutionLoadError{current, false, QStringLiteral(" holds no solution")};

    std::unique_ptr<ProjectNode> node;
    {
        LoadingStackEntry entry(loaded().loadingStack, loaded().loadingFiles, path, file);
        node.reset(readNode(absoluteDirectory(path), document.root(), fileNotFoundHandler));
    }
    const auto status = fileStatus(path);
    node->setSolutionFile(path, status ? QDateTime::fromSecsSinceEpoch(status->modified) : QDateTime());

    if (node->getProperty(QStringLiteral("version")) != currentVersion()) {
        upgradeSolution(node.get());
        node->setProperty(QStringLiteral("version"), currentVersion());
        clearModified(node.get(), true, true);
    }
    return node.release();
}

ProjectNode *ProjectSystem::readNode(const QString &baseDir, const XMLElement *element,
                                     ProjectFileNotFoundErrorHandler *fileNotFoundHandler)
{
    return readNode(baseDir, element, fileNotFoundHandler, 0);
}

ProjectNode *ProjectSystem::readNode(const QString &baseDir, const XMLElement *element,
                                     ProjectFileNotFoundErrorHandler *fileNotFoundHandler, int depth)
{
    if (depth > maximumDepth)
        throw SolutionLoadError{loaded().loadingStack.last(), false, QStringLiteral(" is nested too deeply")};

    if (element->hasName("import")) {
        const QString written = QString::fromLatin1(element->attribute("file_name"));
        std::unique_ptr<ProjectNode> node(
            loadSolutionFile(baseDir, expandMacros(written, globalMacros(true)), fileNotFoundHandler));
        node->storeProperty(QStringLiteral("file_name"), written);
        node->setImported(true);
        node->setModified(false);
        return node.release();
    }

    const std::optional<NodeKind> kind = kindOfTag(element->name());
    if (!kind)
        return nullptr;
    auto node = std::make_unique<ProjectNode>(*kind);
    for (const XMLAttribute *attribute = element->attributes(); attribute; attribute = attribute->next)
        node->storeProperty(QString::fromLatin1(attribute->name), QString::fromLatin1(attribute->value));
    if (element->hasAttribute("template_name"))
        loaded().pendingTemplateProjects.append(node.get());
    else if (element->hasAttribute("path"))
        loaded().pendingDynamicFolders.append(node.get());

    for (const XMLElement *child = element->firstChildElement(); child; child = child->nextSiblingElement()) {
        if (ProjectNode *childNode = readNode(baseDir, child, fileNotFoundHandler, depth + 1))
            node->addChild(childNode);
    }
    node->setModified(false);
    return node.release();
}
