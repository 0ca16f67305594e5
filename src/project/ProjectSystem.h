#pragma once

#include "properties/PropertyClassList.h"
#include "targets/DefinitionSet.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class PropertyClass;

// The project system: the project types and file types that a solution is
// read against and the general property classes of solution, project,
// folder, file and configuration nodes, together with the loaded project
// tree and its operations. Derived layers supply the type lists and the
// target-specific parts.
class ProjectSystem : public QObject {
    Q_OBJECT

public:
    // The classes this layer defines, in definition order; each enumerator
    // names the class by its property name.
    enum Property {
        DateCreated,
        DateModified,
        PlatformName,
        FullPath,
        RelativePath,
        NodeName,              // "Name"
        FileName,
        FileCodec,
        FileOpenWith,
        FileType,
        FileTag,
        FolderFilter,          // "filter", the extensions a folder collects
        DynamicFolderPath,     // "path"
        DynamicFolderFilter,   // "filter", the file names a dynamic folder holds
        DynamicFolderRecurse,  // "recurse"
        ProjectType,
        ProjectName,           // "name"
        ProjectDirectory,
        FullProjectDirectory,
        ProjectDependencies,
        ProjectMacros,         // "macros"
        BatchBuildConfigurations,
        InheritedConfigurations,
        NumElements,
        ProjectSystemPropertyCount
    };

    // Defines the general property classes: project_type chooses among
    // projectTypes and file_type among "Default" and fileTypes.
    ProjectSystem(const QStringList &projectTypes, const QStringList &fileTypes);
    ~ProjectSystem() override;

    const QStringList &projectTypes() const { return m_projectTypes; }
    const QStringList &fileTypes() const { return m_fileTypes; }

    // Every property class of this system, in creation order.
    const PropertyClassList &propertyClasses() const { return m_definitions.classes(); }
    // The first class of this system with the name, or null.
    PropertyClass *findPropertyClass(const QString &name) const { return propertyClasses().find(name); }
    PropertyClass *propertyClass(Property property) const { return m_classes.at(property); }

    // File name extensions of the files a build produces: object files,
    // executables and libraries.
    virtual QString objectFileExtension() const;
    virtual QString executableFileExtension() const;
    virtual QString libraryFileExtension() const;

    // Tree operations

private:
    QStringList m_projectTypes;
    QStringList m_fileTypes;
    DefinitionSet m_definitions;
    QList<PropertyClass *> m_classes;
};
