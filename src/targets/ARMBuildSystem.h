#pragma once

#include "targets/GCCBuildSystem.h"

#include <QList>

// The build system of ARM targets: instruction set, architecture, core and
// floating point, the target interface, loader, debug handler and simulator,
// and the memory areas the runtime sets up.
class ARMBuildSystem : public GCCBuildSystem {
public:
    // The classes this layer defines, in definition order; each enumerator
    // names the class by its property name. Two classes are called
    // arm_linker_stack_size: ArmLinkerStackSize, the user/system mode stack,
    // and ArmLinkerMainStackSize, the main stack of cores that have one.
    enum ARMProperty {
        ArmInstructionSet,
        ArmArchitecture,
        ArmCoreType,
        ArmFpFormat,
        ArmFpuType,
        ArmFpAbi,
        ArmEndian,
        ArmLongCalls,
        ArmInterwork,
        ArmKeepAssembly,
        ArmModuleCallVias,
        ArmLibraryCheckMemorySegmentOverflow,
        ArmUseGccLibraries,
        ArmLibraryInstructionSet,
        TargetLoaderResetScript,
        ArmTargetDebugInterfaceType,
        ArmTargetInterfaceType,
        ArmTargetStopCpuUsingDbgrq,
        ArmTargetFlashLoaderFilePath,
        ArmTargetFlashLoaderType,
        ArmTargetLoaderParameter,
        ArmTargetLoaderFirstProgramSection,
        ArmTargetLoaderLastProgramSection,
        ArmTargetLoaderResetAfterDownload,
        ArmTargetLoaderCanEraseRange,
        ArmTargetLoaderCanEraseAll,
        ArmTargetLoaderCanLockRange,
        ArmTargetLoaderCanLockAll,
        ArmTargetLoaderCanUnlockRange,
        ArmTargetLoaderCanUnlockAll,
        ArmTargetLoaderCanOnlyVerifyWithDownload,
        ArmTargetLoaderCanOnlyDownloadAfterErase,
        ArmTargetLoaderCanPeek,
        ArmTargetLoaderApplicableLoaders,
        ArmTargetLoaderDefaultLoader,
        ArmTargetDebugHandlerFilePath,
        ArmTargetDebugHandlerLoadAddress,
        ArmTargetUseDebugHandler,
        ArmTargetMonitorModeDebug,
        ArmTargetMonitorModeMemory,
        ArmTargetCoprocessorExecuteAddress,
        ArmTargetReadOnlySoftwareBreakpoints,
        ArmTargetReadWriteSoftwareBreakpoints,
        ArmSimulatorMemorySimulationFilename,
        ArmSimulatorMemorySimulationParameter,
        ArmSimulatorMemorySimulationParameterMacros,
        ArmSimulatorRunTargetLoader,
        ArmLinkerStackSize,
        ArmLinkerIrqStackSize,
        ArmLinkerFiqStackSize,
        ArmLinkerSvcStackSize,
        ArmLinkerAbtStackSize,
        ArmLinkerUndStackSize,
        ArmLinkerHeapSize,
        ArmLinkerTreatWarningsAsErrors,
        ArmLinkerNoWarnOnMismatch,
        ArmLinkDebugioType,
        ArmLinkerGapFill,
        ArmLinkerMainStackSize,
        ArmLinkerProcessStackSize,
        ARMBuildSystemPropertyCount
    };

    // The GCC tool chain below "$(StudioDir)/gcc/bin" and the ARM classes.
    ARMBuildSystem();

    using GCCBuildSystem::propertyClass;
    // Reaches a class directly, without a look-up by name.
    PropertyClass *propertyClass(ARMProperty property) const { return m_classes.at(property); }

    // How command lines and library names are formed: 3 for this tool.
    int commandLineMode() const { return m_commandLineMode; }

    // Tree operations
    // Adds, for a project node, LibExt (the suffix of the run-time libraries
    // it links with) and LoaderType (the kind of its target loader).
    QMap<QString, QString> projectMacros(class ProjectNode *node, const QString &configuration) override;
    QString libraryExtension(ProjectNode *project, const QString &configuration) const;

private:
    QList<PropertyClass *> m_classes;
    int m_commandLineMode = 3;
};
