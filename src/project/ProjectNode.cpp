#include "project/ProjectNode.h"

#include "platform/FileSystem.h"

ProjectNode::ProjectNode(NodeKind kind)
    : m_kind(kind)
{
}

ProjectNode::~ProjectNode()
{
    // Children are deleted one after the other, so a long list of siblings
    // costs no stack; only the depth of the tree recurses.
    ProjectNode *child = m_firstChild;
    while (child) {
        ProjectNode *next = child->m_nextSibling;
        delete child;
        child = next;
    }
}

const QString *ProjectNode::findProperty(const QString &name) const
{
    const auto found = m_properties.constFind(name);
    return found == m_properties.cend() ? nullptr : &found.value();
}

void ProjectNode::setProperty(const QString &name, const QString &value, bool flag)
{
    m_properties.insert(name, value);
    m_propertyFlags.insert(name, flag);
    m_changeTimes.insert(name, QDateTime::currentDateTimeUtc());
    m_modified = true;
}

void ProjectNode::removeProperty(const QString &name)
{
    m_properties.remove(name);
    m_changeTimes.insert(name, QDateTime::currentDateTimeUtc());
    m_modified = true;
}

void ProjectNode::setFileName(const QString &name, bool flag)
{
    setProperty(QStringLiteral("file_name"), name, flag);
    m_locationValid = false;
}

void ProjectNode::addChild(ProjectNode *child)
{
    child->m_parent = this;
    child->m_nextSibling = nullptr;
    if (m_lastChild)
        m_lastChild->m_nextSibling = child;
    else
        m_firstChild = child;
    m_lastChild = child;
    if (child->m_kind == NodeKind::Configuration)
        m_configurationIndex.insert(child->nodeName(), child);
    m_modified = true;
}

QString ProjectNode::nodeName()
{
    if (const QString *name = findProperty(QStringLiteral("Name")); name && !name->isEmpty())
        return *name;
    if (hasProperty(QStringLiteral("file_name"))) {
        resolveFileInfo();
        return fileName();
    }
    return QStringLiteral("<NULL>");
}

ProjectNode *ProjectNode::ancestorOrSelf(NodeKind kind)
{
    ProjectNode *node = this;
    while (node && node->m_kind != kind)
        node = node->m_parent;
    return node;
}

void ProjectNode::setSolutionFile(const QString &absolutePath, const QDateTime &lastModified)
{
    m_filePath = absolutePath;
    m_lastModified = lastModified;
    m_locationValid = true;
}

QString ProjectNode::fileName() const
{
    return fileNameOf(m_filePath);
}

QString ProjectNode::fileDirectory() const
{
    return m_filePath.isEmpty() ? QString() : absoluteDirectory(m_filePath);
}
