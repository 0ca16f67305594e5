// The macros that apply to one node of the loaded tree in one configuration:
// the global macros, the project's own macro definitions and the fixed
// entries that describe the node, its project, its solution and its build
// directories.

#include "project/BuildSystem.h"

#include "settings/GlobalMacros.h"
#include "macros/MacroDefinitions.h"
#include "macros/MacroExpansion.h"
#include "macros/MacroList.h"
#include "project/ProjectNode.h"
#include "project/ProjectSystem.h"
#include "properties/PropertyClass.h"
#include "properties/PropertyClassList.h"

#include <QDir>

namespace {

// The value of the first class of that name for node in configuration; null
// when no such class is defined.
QString lookUp(ProjectNode *node, const QString &configuration, const char *className)
{
    const PropertyClass *propertyClass = BuildSystem::findPropertyClass(QString::fromLatin1(className));
    return propertyClass ? ProjectSystem::getPropertyValue(node, propertyClass, configuration) : QString();
}

// The text before the first dot, and after it (empty when there is none).
QString beforeFirstDot(const QString &name)
{
    const qsizetype dot = name.indexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

QString afterFirstDot(const QString &name)
{
    const qsizetype dot = name.indexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot + 1);
}

void addSolutionMacros(ProjectNode *node, MacroMap &macros)
{
    const ProjectNode *solution = node->ancestorOrSelf(NodeKind::Solution);
    if (!solution || solution->filePath().isEmpty())
        return;
    const QString fileName = solution->fileName();
    macros.insert(QStringLiteral("SolutionDir"), solution->fileDirectory());
    macros.insert(QStringLiteral("SolutionName"), beforeFirstDot(fileName));
    macros.insert(QStringLiteral("SolutionFileName"), fileName);
    macros.insert(QStringLiteral("SolutionPath"), solution->filePath());
    macros.insert(QStringLiteral("SolutionExt"), afterFirstDot(fileName));
}

void addInputMacros(ProjectNode *file, MacroMap &macros)
{
    file->resolveFileInfo();
    const QString &held = file->localName();
    const qsizetype slash = held.lastIndexOf(u'/');
    const QString fileName = file->fileName();
    const qsizetype dot = fileName.lastIndexOf(u'.');
    macros.insert(QStringLiteral("InputDir"), slash < 0 ? QStringLiteral(".") : slash == 0 ? QStringLiteral("/") : held.left(slash));
    macros.insert(QStringLiteral("InputName"), dot < 0 ? fileName : fileName.left(dot));
    macros.insert(QStringLiteral("InputFileName"), fileName);
    macros.insert(QStringLiteral("InputExt"), dot < 0 ? QString() : fileName.mid(dot + 1));
    macros.insert(QStringLiteral("InputPath"), file->filePath());
    macros.insert(QStringLiteral("RelInputPath"), held);
}

// The expansion of a directory property, "." when that is empty (with
// orDot), against the macros assembled so far.
QString directoryMacro(ProjectNode *node, const QString &configuration, const char *className,
                       const MacroMap &macros, bool orDot)
{
    const QString expanded = expandMacros(lookUp(node, configuration, className), macros);
    return expanded.isEmpty() && orDot ? QStringLiteral(".") : expanded;
}

// The path that leads from root to directory, both absolute or both relative.
bool relativeDirectoryPath(const QString &root, const QString &directory, QString &result)
{
    const QString from = QDir::cleanPath(root);
    const QString to = QDir::cleanPath(directory);
    if (from.startsWith(u'/') != to.startsWith(u'/'))
        return false;
    const QStringList fromParts = from.split(u'/', Qt::SkipEmptyParts);
    const QStringList toParts = to.split(u'/', Qt::SkipEmptyParts);
    qsizetype common = 0;
    while (common < fromParts.size() && common < toParts.size() && fromParts[common] == toParts[common])
        ++common;
    // A ".." left in the root after the common part names a directory whose
    // name is unknown, so no path leads back from it.
    for (qsizetype i = common; i < fromParts.size(); ++i) {
        if (fromParts[i] == QLatin1String(".."))
            return false;
    }
    QStringList parts;
    for (qsizetype i = common; i < fromParts.size(); ++i)
        parts.append(QStringLiteral(".."));
    parts.append(toParts.mid(common));
    result = parts.isEmpty() ? QStringLiteral(".") : parts.join(u'/');
    return true;
}

} // namespace

MacroMap BuildSystem::projectMacros(ProjectNode *node, const QString &configuration)
{
    MacroMap macros = globalMacros(true);
    macros = overlayMacros(macros, parseMacroDefinitions(macroList(lookUp(node, configuration, "macros"), false)));

    macros.insert(QStringLiteral("ProjectNodeName"), node->nodeName());
    if (ProjectNode *project = node->ancestorOrSelf(NodeKind::Project)) {
        project->resolveFileInfo();
        macros.insert(QStringLiteral("ProjectDir"), project->projectDirectory());
        macros.insert(QStringLiteral("ProjectName"), project->nodeName());
    }
    macros.insert(QStringLiteral("Configuration"), configuration);
    macros.insert(QStringLiteral("Platform"), lookUp(node, configuration, "Platform").toLower());
    addSolutionMacros(node, macros);
    if (node->kind() == NodeKind::File)
        addInputMacros(node, macros);
    if (const ProjectSystem *system = projectSystem()) {
        macros.insert(QStringLiteral("OBJ"), system->objectFileExtension());
        macros.insert(QStringLiteral("EXE"), system->executableFileExtension());
        macros.insert(QStringLiteral("LIB"), system->libraryFileExtension());
    }
    macros.insert(QStringLiteral("PackageExt"), QStringLiteral("hzq"));

    macros.insert(QStringLiteral("IntDir"),
                  directoryMacro(node, configuration, "build_intermediate_directory", macros, true));
    const QString rootOutDir = directoryMacro(node, configuration, "build_root_output_directory", macros, false);
    macros.insert(QStringLiteral("RootOutDir"), rootOutDir);
    const QString outDir = directoryMacro(node, configuration, "build_output_directory", macros, true);
    macros.insert(QStringLiteral("OutDir"), outDir);
    QString relative;
    if (!rootOutDir.isEmpty() && relativeDirectoryPath(rootOutDir, outDir, relative))
        macros.insert(QStringLiteral("RootRelativeOutDir"), relative);

    addTargetMacros(node, configuration, macros);
    return macros;
}

void BuildSystem::addTargetMacros(ProjectNode *, const QString &, MacroMap &)
{
}
