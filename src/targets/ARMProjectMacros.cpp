// The ARM project macros: the suffix that names the run-time libraries a
// project links with, and the kind of loader that programs its target.

#include "targets/ARMBuildSystem.h"

#include "macros/MacroMap.h"
#include "project/ProjectNode.h"
#include "project/ProjectSystem.h"
#include "properties/PropertyClass.h"
#include "properties/PropertyClassList.h"

namespace {

QString lookUp(ProjectNode *node, const QString &configuration, const char *className)
{
    const PropertyClass *propertyClass = PropertyClassList::global().find(QString::fromLatin1(className));
    return propertyClass ? ProjectSystem::getPropertyValue(node, propertyClass, configuration) : QString();
}

// Architecture names and the part of the library suffix they give.
// architecture   suffix
const struct {
    const char *architecture;
    const char *suffix;
} architectureSuffixes[] = {
    {"ARM4T", "v4t"},
    {"v4T",   "v4t"},
    {"v5T",   "v4t"},
    {"v5TE",  "v5te"},
    {"v6",    "v6"},
    {"v6T2",  "v6t2"},
    {"v6M",   "v6m"},
    {"v7M",   "v7m"},
};

// Loader types and the loader kind they give; any other type gives none.
// loader type                   kind
const struct {
    const char *loaderType;
    const char *kind;
} loaderKinds[] = {
    {"Comms Channel Loader",      "dcc"},
    {"Fast Comms Channel Loader", "dcc"},
    {"RAM Loader",                "ram"},
    {"KESTRA RPC Loader",         "rpc"},
};

QString architectureSuffix(const QString &architecture)
{
    for (const auto &row : architectureSuffixes) {
        if (architecture == QLatin1String(row.architecture))
            return QString::fromLatin1(row.suffix);
    }
    return QString();
}

QString loaderKind(const QString &loaderType)
{
    for (const auto &row : loaderKinds) {
        if (loaderType == QLatin1String(row.loaderType))
            return QString::fromLatin1(row.kind);
    }
    return QString();
}

} // namespace

QString ARMBuildSystem::libraryExtension(ProjectNode *project, const QString &configuration) const
{
    const auto yes = QLatin1String("Yes");
    const int mode = commandLineMode();
    QString suffix = QStringLiteral("_") + architectureSuffix(lookUp(project, configuration, "arm_architecture"));
    if (lookUp(project, configuration, "arm_fp_abi") == QLatin1String("SoftFP"))
        suffix += QLatin1String("_vfp");
    // An executable is linked with libraries built for the library
    // instruction set; everything else is built for its own.
    const bool executable = lookUp(project, configuration, "project_type") == QLatin1String("Executable");
    const bool arm = lookUp(project, configuration, executable ? "arm_library_instruction_set" : "arm_instruction_set")
        == QLatin1String("ARM");
    suffix += arm ? QLatin1String("_a") : QLatin1String("_t");
    if (mode == 0 && arm)
        suffix += lookUp(project, configuration, "arm_interwork") == yes ? QLatin1String("_i") : QLatin1String("_ni");
    suffix += lookUp(project, configuration, "arm_endian") == QLatin1String("Little") ? QLatin1String("_le")
                                                                                      : QLatin1String("_be");
    if (mode <= 2 && lookUp(project, configuration, "link_use_multi_threaded_libraries") == yes)
        suffix += QLatin1String("_mt");
    return suffix;
}

MacroMap ARMBuildSystem::projectMacros(ProjectNode *node, const QString &configuration)
{
    MacroMap macros = GCCBuildSystem::projectMacros(node, configuration);
    if (node->kind() == NodeKind::Project) {
        macros.insert(QStringLiteral("LibExt"), libraryExtension(node, configuration));
        macros.insert(QStringLiteral("LoaderType"),
                      loaderKind(lookUp(node, configuration, "arm_target_flash_loader_type")));
    }
    return macros;
}
