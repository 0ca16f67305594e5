#pragma once

#include "properties/PropertyClassList.h"
#include "project/DefinitionSet.h"

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
    // The loaded solution. Nodes are named with elaborated type specifiers;
    // project/ProjectNode.h, project/LoadHandlers.h and xml/XMLNode.h give
    // their definitions.

    // Loads a whole solution, replacing any loaded one, and emits
    // solutionLoaded(). Throws SolutionLoadError.
    void loadSolution(const QString &fileName, class ProjectFileNotFoundErrorHandler *fileNotFoundHandler = nullptr,
                      class TemplateNotFoundErrorHandler *templateHandler = nullptr);
    // Reads one solution file (the top one with an empty baseDir, or an
    // imported one) and answers its root, which the caller then owns.
    class ProjectNode *loadSolutionFile(const QString &baseDir, const QString &fileName,
                                        ProjectFileNotFoundErrorHandler *fileNotFoundHandler);
    // Converts one element and its content; null for an element of unknown
    // tag, which is skipped with everything inside it.
    ProjectNode *readNode(const QString &baseDir, const class XMLElement *element,
                          ProjectFileNotFoundErrorHandler *fileNotFoundHandler);
    // Applied to the root of every solution file written by an older version.
    virtual void upgradeSolution(ProjectNode *node);

    // The root of the loaded solution (null before loading), the keys of its
    // projects and of its solution files, sorted, and a solution file by key.
    ProjectNode *solution() const;
    const QStringList &projectNames() const;
    const QStringList &solutionNames() const;
    ProjectNode *findSolution(const QString &key) const;

    // The build system whose project macros expand template items; it also
    // learns this project system's file extensions. Not owned.
    void setBuildSystem(class BuildSystem *buildSystem);
    BuildSystem *buildSystem() const { return m_buildSystem; }

    static ProjectNode *addConfiguration(ProjectNode *node, const QString &name, bool flag);
    static void setConfigurationValue(ProjectNode *node, const QString &propertyName, const QString &configName,
                                      const QString &value, bool flag);
    // Adds node's own value in configName to value (joined with ";" when
    // value is not empty); false when node has none.
    static bool getConfigurationValue(ProjectNode *node, const QString &configName, const QString &propertyName,
                                      QString &value, class ValueTrace *trace = nullptr);
    // Node's own value in configName, or the null text.
    static QString getOwnPropertyValue(ProjectNode *node, const PropertyClass *propertyClass,
                                       const QString &configName);
    // The value for node in configName: the nearest node wins; at a node the
    // named configuration, then the ones it inherits, then "Common";
    // StringList values of every level are joined; else the default.
    static QString getPropertyValue(ProjectNode *node, const PropertyClass *propertyClass, const QString &configName,
                                    ValueTrace *trace = nullptr);
    static void setInheritedConfigurations(ProjectNode *node, const QString &configName, const QStringList &list);
    static void rebuildInheritedConfigurations(ProjectNode *solution);
    void rebuildIndexes();
    static void clearModified(ProjectNode *node, bool includeImported, bool clearChangeTimes);
    // Adds the files of a dynamic folder's directory to it.
    void populateDynamicFolder(ProjectNode *folder);
    // A new file node under parent; a project or solution puts it into the
    // first folder that collects its extension.
    ProjectNode *addFileNode(ProjectNode *parent, const QString &fileName, bool flag);
    static ProjectNode *findFileChild(const ProjectNode *folder, const QString &fileName);

signals:
    void solutionLoaded();

private:
    struct LoadedSolution;
    struct LoadedSolutionDeleter {
        void operator()(LoadedSolution *loaded) const;
    };
    LoadedSolution &loaded() const;
    void resetSolution();
    // Completes each project from the template it names, in reading order.
    void completeTemplateProjects(const QList<ProjectNode *> &projects, TemplateNotFoundErrorHandler *handler);
    ProjectNode *readNode(const QString &baseDir, const XMLElement *element,
                          ProjectFileNotFoundErrorHandler *fileNotFoundHandler, int depth);
    QStringList folderFilterList(ProjectNode *folder) const;

    mutable std::unique_ptr<LoadedSolution, LoadedSolutionDeleter> m_loaded;
    BuildSystem *m_buildSystem = nullptr;

private:
    QStringList m_projectTypes;
    QStringList m_fileTypes;
    DefinitionSet m_definitions;
    QList<PropertyClass *> m_classes;
};
