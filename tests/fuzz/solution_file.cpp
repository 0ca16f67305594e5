// Loading a solution file with the tool's project model, as the solution
// road does: the input is the file "fuzz.hzp" of the scratch directory, and
// projects may name the installation's templates.

#include "FuzzSupport.h"
#include "settings/EnvironmentSettings.h"
#include "macros/MacroTable.h"
#include "macros/SystemDirectories.h"
#include "project/SolutionLoadError.h"
#include "targets/ARMBuildSystem.h"
#include "targets/ARMProjectSystem.h"

namespace {

ProjectSystem *projectSystem = nullptr;

} // namespace

void prepareFuzzTarget()
{
    defineSystemMacros(QStringLiteral(MKPKG_SOURCE_DIR "/data"));
    setupPackagesDirectory(QStringLiteral("$(StudioUserDir)/packages"));
    auto *settings = new ARMLanternwickEnvironmentSettings;
    EnvironmentSettings::setCurrent(settings);
    settings->defineProperties();
    projectSystem = new ARMProjectSystem;
    projectSystem->setBuildSystem(new ARMBuildSystem);
    MacroTable::instance().setMacro(QStringLiteral("Platform"), QStringLiteral("arm"));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    writeScratchFile("fuzz.hzp", data, size);
    InScratchDirectory scope;
    try {
        projectSystem->loadSolution(scratch().qpath() + QStringLiteral("/fuzz.hzp"));
    } catch (const SolutionLoadError &) {
    }
    return 0;
}
