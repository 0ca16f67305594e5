#pragma once

#include "project/BuildSystem.h"

#include <QList>

// The build system every target carries: compiler and preprocessor, linker
// and libraries, user build steps, externally built projects and the
// debugger, on top of the build, staging and combining properties.
class StandardBuildSystem : public BuildSystem {
public:
    // The classes this layer defines, in definition order; each enumerator
    // names the class by its property name.
    enum StandardProperty {
        LinkIncludeStandardLibraries,
        LinkStandardLibrariesDirectory,
        LinkUseMultiThreadedLibraries,
        LinkIOLibraryName,
        LinkSymbolDefinitions,
        LinkerKeepSymbols,
        CEnforceAnsiChecking,
        CUndefineAllPreprocessorDefinitions,
        CPreprocessorDefinitions,
        CPreprocessorUndefinitions,
        CIgnoreIncludes,
        CSystemIncludeDirectories,
        CUserIncludeDirectories,
        CAdditionalOptions,
        CAdditionalOptionsFromFile,
        COnlyAdditionalOptions,
        COnlyAdditionalOptionsFromFile,
        CppOnlyAdditionalOptions,
        CppOnlyAdditionalOptionsFromFile,
        CppEnableExceptions,
        CppEnableRtti,
        AsmAdditionalOptions,
        AsmAdditionalOptionsFromFile,
        DefaultCodeSection,
        DefaultDataSection,
        DefaultZeroedSection,
        DefaultConstSection,
        DefaultVectorSection,
        LinkerAdditionalFiles,
        LinkerAdditionalOptions,
        LinkerAdditionalOptionsFromFile,
        LinkerMemoryMapFile,
        LinkerMemoryMapMacros,
        LinkerSectionPlacementFile,
        LinkerSectionPlacementMacros,
        LinkerOutputFormat,
        LinkerMapFile,
        LinkerPrintfFmtLevel,
        LinkerPrintfWidthPrecisionSupported,
        LinkerPrintfFpEnabled,
        LinkerScanfFmtLevel,
        LinkerScanfFpEnabled,
        LinkerScanfCharacterGroupMatchingEnabled,
        CompilePreBuildCommand,
        CompilePreBuildCommandWd,
        CompilePostBuildCommand,
        CompilePostBuildCommandWd,
        LinkerPreBuildCommand,
        LinkerPreBuildCommandWd,
        LinkerPatchBuildCommand,
        LinkerPatchBuildCommandWd,
        LinkerPostBuildCommand,
        LinkerPostBuildCommandWd,
        LinkerKeepSymbolsRepeated,
        ExternalBuildFileName,
        ExternalBuildCommand,
        ExternalCleanCommand,
        ExternalStartAddress,
        ExternalLoadAddress,
        ExternalLoadFileType,
        ExternalDebugSymbolsFileName,
        ExternalDebugSymbolsLoadAddress,
        TargetResetScript,
        TargetAttachScript,
        TargetGoScript,
        TargetStopScript,
        TargetConnectScript,
        TargetDisconnectScript,
        TargetDebugBeginScript,
        TargetDebugEndScript,
        TargetExtrasScript,
        ArmLinkerJtagPadPreIr,
        ArmLinkerJtagPadPostIr,
        ArmLinkerJtagPadPreDr,
        ArmLinkerJtagPadPostDr,
        PropertyGroupsFilePath,
        BuildRemoveUnusedSymbols,
        DebugWorkingDirectory,
        DebugCommandArguments,
        DebugAdditionalLoadFile,
        DebugAdditionalLoadFileAddress,
        DebugAdditionalLoadFileType,
        DebugEntryPointSymbol,
        DebugStartupCompletionPoint,
        StandardBuildSystemPropertyCount
    };

    StandardBuildSystem();

    using BuildSystem::propertyClass;
    PropertyClass *propertyClass(StandardProperty property) const { return m_classes.at(property); }

private:
    QList<PropertyClass *> m_classes;
};
