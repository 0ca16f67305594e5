#include "project/ProjectSystem.h"

#include "project/StandardDefinitions.h"

namespace {

// The choices of file_type: "Default", which lets the file's extension decide,
// then the file types, formed as one ":"-separated text split again.
QStringList fileTypeChoices(const QStringList &fileTypes)
{
    return (QStringList{QStringLiteral("Default")} + fileTypes).join(u':').split(u':');
}

} // namespace

ProjectSystem::ProjectSystem(const QStringList &projectTypes, const QStringList &fileTypes)
    : m_projectTypes(projectTypes), m_fileTypes(fileTypes)
{
    m_classes = m_definitions.define(projectSystemDefinitions(projectTypes, fileTypeChoices(fileTypes)));
}

ProjectSystem::~ProjectSystem() = default;

QString ProjectSystem::objectFileExtension() const
{
    return QStringLiteral(".o");
}

QString ProjectSystem::executableFileExtension() const
{
    return QString();
}

QString ProjectSystem::libraryFileExtension() const
{
    return QStringLiteral(".a");
}
