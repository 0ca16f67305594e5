#pragma once

#include "properties/PropertyClassList.h"
#include "project/DefinitionSet.h"

#include <QList>
#include <QString>

class PropertyClass;

// The build system: owner of the build property classes that projects and
// their files may carry and of the macros that building a project expands
// its properties with. This layer defines the build, staging and combining
// properties; derived layers add the compiler, linker and target ones.
class BuildSystem {
public:
    // The classes this layer defines, in definition order; each enumerator
    // names the class by its property name.
    enum BuildProperty {
        BuildTreatWarningsAsErrors,
        BuildSuppressWarnings,
        BuildIntermediateDirectory,
        BuildOutputDirectory,
        BuildRootOutputDirectory,
        BuildObjectFileName,
        BuildExecutableFileName,   // "build_output_file_name" of an executable
        BuildLibraryFileName,      // "build_output_file_name" of a library
        BuildQuietly,
        BuildAction,
        BuildDebugInformation,
        BuildExcludeFromBuild,
        BuildAlwaysRebuild,
        StageOutputFilePath,
        StageCommand,
        StageCommandWorkingDirectory,
        StageSetReadOnly,
        StagePostBuildCommand,
        StagePostBuildCommandWorkingDirectory,
        CombineOutputFilePath,
        CombineCommand,
        CombineCommandWorkingDirectory,
        CombineSetReadOnly,
        BuildSystemPropertyCount
    };

    BuildSystem();
    virtual ~BuildSystem();

    BuildSystem(const BuildSystem &) = delete;
    BuildSystem &operator=(const BuildSystem &) = delete;

    // Every property class of this build system, in creation order across
    // all layers.
    const PropertyClassList &propertyClasses() const { return m_definitions.classes(); }
    // The first class with the name in the process-wide class list, or null.
    static PropertyClass *findPropertyClass(const QString &name);
    PropertyClass *propertyClass(BuildProperty property) const { return m_classes.at(property); }

    // Tree operations
    // The macros that apply to a node of the loaded tree in a configuration:
    // the global macros, the project's macros property, the fixed entries
    // that describe the node, its project, solution and build directories,
    // and last the target's own (addTargetMacros). The map is the one of
    // macros/MacroMap.h; nodes are those of project/ProjectNode.h.
    virtual QMap<QString, QString> projectMacros(class ProjectNode *node, const QString &configuration);
    // Adds the target's macros to macros; this layer adds none.
    virtual void addTargetMacros(ProjectNode *node, const QString &configuration, QMap<QString, QString> &macros);
    // The project system that gives the object, executable and library file
    // extensions; set by ProjectSystem::setBuildSystem. Not owned.
    void setProjectSystem(const class ProjectSystem *projectSystem) { m_projectSystem = projectSystem; }
    const ProjectSystem *projectSystem() const { return m_projectSystem; }

private:
    const ProjectSystem *m_projectSystem = nullptr;

protected:
    // Creates a derived layer's classes, after those of the layers below it.
    QList<PropertyClass *> define(const QList<DefinitionRow> &rows) { return m_definitions.define(rows); }

private:
    DefinitionSet m_definitions;
    QList<PropertyClass *> m_classes;
};
