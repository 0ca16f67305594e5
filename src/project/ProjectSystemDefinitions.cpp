// The general properties of solution, project, folder, file and configuration
// nodes.

#include "project/ProjectSystem.h"
#include "project/StandardDefinitions.h"

#include <QStringConverter>

namespace {

// "Default", the encoding the editor would pick, then every text encoding
// the toolkit can read and write.
QStringList fileCodecChoices()
{
    QStringList choices{QStringLiteral("Default")};
    for (int encoding = QStringConverter::Utf8; encoding < QStringConverter::System; ++encoding)
        choices.append(QString::fromLatin1(QStringConverter::nameForEncoding(QStringConverter::Encoding(encoding))));
    return choices;
}

} // namespace

QList<DefinitionRow> projectSystemDefinitions(const QStringList &projectTypes, const QStringList &fileTypeChoices)
{
    using PS = ProjectSystem;
    using enum PropertyClass::Type;
    const char *const info = "(Information)";
    return {
        // id                          name                          type         page       group             short title                    default       choices            description                                                                                                   range flags
        {PS::DateCreated,              "date_created",               String,      info,      info,             "Date Created",                {},           {},                "The date and time at which the file was created.",                                                           {},   ReadOnly},
        {PS::DateModified,             "date_modified",              String,      info,      info,             "Date Modified",               {},           {},                "The date and time at which the file was last modified.",                                                     {},   ReadOnly},
        {PS::PlatformName,             "Platform",                   String,      info,      info,             "Platform",                    {},           {},                "The target platform of the project.",                                                                        {},   ReadOnly},
        {PS::FullPath,                 "full_path",                  FileName,    info,      info,             "Full Path",                   {},           {},                "The absolute path of the file.",                                                                             {},   ReadOnly},
        {PS::RelativePath,             "relative_path",              FileName,    info,      info,             "Relative Path",               {},           {},                "The path of the file relative to the project directory.",                                                    {},   ReadOnly},
        {PS::NodeName,                 "Name",                       String,      "General", info,             "Name",                        {},           {},                "The name of the solution, project, folder or configuration.",                                               {},   ReadOnly},
        {PS::FileName,                 "file_name",                  FileName,    "General", "File Options",   "File Name",                   {},           {},                "The name of the file as it is stored in the project.",                                                       {},   ReadOnly},
        {PS::FileCodec,                "file_codec",                 Enumeration, "General", "File Options",   "File Encoding",               "Default",    fileCodecChoices(), "The text encoding of the file. Default uses the encoding chosen for the editor.",                             {},   NotPerConfiguration},
        {PS::FileOpenWith,             "file_open_with",             Enumeration, "General", "File Options",   "File Open Action",            "Default",    {"Default", "Text Editor", "Binary Editor", "Datasheet Viewer", "Web Browser", "Run File"}, "How the file is opened. Default opens the file according to its type.", {}, NotPerConfiguration},
        {PS::FileType,                 "file_type",                  Enumeration, "General", "File Options",   "File Type",                   "Default",    fileTypeChoices,   "The type of file. Default setting uses the file extension to determine file type.",                         {},   NotPerConfiguration},
        {PS::FileTag,                  "file_tag",                   Enumeration, "General", "File Options",   "Tag",                         "None",       {"None", "Red", "Orange", "Yellow", "Green", "Blue", "Purple", "Dark Red"}, "A colour tag that marks the file in the project explorer.", {}, NotPerConfiguration},
        {PS::FolderFilter,             "filter",                     StringList,  "General", "Folder Options", "Filter",                      {},           {},                "The file extensions that files added to the project are placed in this folder by.",                         {},   NotPerConfiguration},
        {PS::DynamicFolderPath,        "path",                       DirPath,     "General", "Folder Options", "Dynamic Folder Directory",    {},           {},                "The directory whose files a dynamic folder holds. This property will have macro expansion applied to it.",  {},   ReadOnly},
        {PS::DynamicFolderFilter,      "filter",                     String,      "General", "Folder Options", "Dynamic Folder Filter",       {},           {},                "The wildcard patterns of the file names that a dynamic folder holds.",                                       {},   ReadOnly},
        {PS::DynamicFolderRecurse,     "recurse",                    Boolean,     "General", "Folder Options", "Dynamic Folder Recurse",      "No",         {},                "Dynamic folder recurse into subdirectories.",                                                                {},   ReadOnly},
        {PS::ProjectType,              "project_type",               Enumeration, "Build",   "Build Options",  "Project Type",                "Executable", projectTypes,      "The type of project: what building it produces.",                                                           {},   NotPerConfiguration},
        {PS::ProjectName,              "name",                       String,      info,      info,             "Project Name",                {},           {},                "The name of the project.",                                                                                   {},   ReadOnly},
        {PS::ProjectDirectory,         "project_directory",          String,      "General", "Project Options", "Project Directory",          {},           {},                "The directory of the project, relative to the solution directory.",                                         {},   ReadOnly},
        {PS::FullProjectDirectory,     "full_project_directory",     DirPath,     info,      info,             "Full Project Directory",      {},           {},                "The absolute directory of the project.",                                                                     {},   ReadOnly},
        {PS::ProjectDependencies,      "project_dependencies",       StringList,  "General", "Project Options", "Project Dependencies",       {},           {},                "The projects that must be built before this project.",                                                      {},   DefaultFlags},
        {PS::ProjectMacros,            "macros",                     StringList,  "General", "Project Options", "Macros",                     {},           {},                "Macro definitions of the form name=value that are used to expand the properties of the project.",          {},   DefaultFlags},
        {PS::BatchBuildConfigurations, "batch_build_configurations", StringList,  "Build",   "General Options", "Batch Build Configurations", {},           {},                "The configurations that a batch build of the solution builds.",                                              {},   NotPerConfiguration},
        {PS::InheritedConfigurations,  "inherited_configurations",   StringList,  "Build",   "General Options", "Inherited Configurations",   {},           {},                "The list of configurations that are inherited by this configuration.",                                      {},   DefaultFlags},
        {PS::NumElements,              "num_elements",               Integer,     info,      info,             "Number of Elements",          {},           {},                "The number of files and folders that the node holds.",                                                       {},   ReadOnly},
    };
}
