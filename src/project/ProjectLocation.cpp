// Where the files of a project tree lie on disk: the directory of each
// project and the location of each file node, computed on first use.

#include "project/ProjectNode.h"

#include "platform/FileSystem.h"
#include "settings/GlobalMacros.h"
#include "macros/MacroExpansion.h"

namespace {

// The directory of the solution file that holds node, or the empty text for a
// node outside any loaded solution file.
QString solutionDirectory(ProjectNode *node)
{
    ProjectNode *solution = node ? node->ancestorOrSelf(NodeKind::Solution) : nullptr;
    return solution ? solution->fileDirectory() : QString();
}

QString ownCommonValue(const ProjectNode &node, const QString &name)
{
    const ProjectNode *common = node.findConfiguration(QStringLiteral("Common"));
    return common ? common->getProperty(name) : QString();
}

} // namespace

void ProjectNode::resolveFileInfo()
{
    if (m_locationValid)
        return;
    switch (m_kind) {
    case NodeKind::Solution:
        // A solution's location is recorded when its file is read.
        break;
    case NodeKind::Project:
        resolveProjectDirectory();
        break;
    default:
        resolveFileLocation();
        break;
    }
    m_locationValid = true;
}

void ProjectNode::resolveProjectDirectory()
{
    // The directory is taken as written: macros in it are not expanded.
    const QString directory = ownCommonValue(*this, QStringLiteral("project_directory"));
    if (directory.isEmpty())
        m_projectDirectory = solutionDirectory(m_parent);
    else if (directory.startsWith(u'/'))
        m_projectDirectory = absoluteFilePath(directory);
    else
        m_projectDirectory = absoluteFilePath(solutionDirectory(m_parent) + u'/' + directory);
}

void ProjectNode::resolveFileLocation()
{
    // A node outside any project takes the directory of its solution file.
    if (ProjectNode *project = m_parent ? m_parent->ancestorOrSelf(NodeKind::Project) : nullptr) {
        project->resolveFileInfo();
        m_projectDirectory = project->m_projectDirectory;
    } else {
        m_projectDirectory = solutionDirectory(m_parent);
    }

    QString name = getProperty(QStringLiteral("file_name"));
    // Text without a reference expands to itself; skipping the macro table
    // keeps resolving large trees cheap.
    if (name.contains(u'$'))
        name = expandMacros(name, globalMacros(true));
    if (name.startsWith(u'/')) {
        m_localName = absoluteFilePath(name);
        m_filePath = m_localName;
    } else {
        m_localName = name;
        m_filePath = absoluteFilePath(m_projectDirectory + u'/' + name);
    }
    const QString directory = absoluteDirectory(m_filePath);
    m_inProjectDirectory = directory == m_projectDirectory;
    m_underProjectDirectory = directory.startsWith(m_projectDirectory);
}
