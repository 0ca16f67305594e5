#include "driver/SolutionRoad.h"

#include "platform/Diagnostics.h"
#include "driver/ToolState.h"
#include "settings/EnvironmentSettings.h"
#include "platform/FileSystem.h"
#include "platform/HException.h"
#include "platform/WarningChannel.h"
#include "macros/MacroTable.h"
#include "macros/SystemDirectories.h"
#include "package/PackageEntry.h"
#include "project/SolutionLoadError.h"
#include "solution/SolutionPackager.h"
#include "targets/ARMBuildSystem.h"
#include "targets/ARMProjectSystem.h"

#include <QCoreApplication>

#include <clocale>
#include <cstdio>

namespace {

// The solution file's name up to its first ".".
QString baseName(const QString &solutionFile)
{
    const QString name = fileNameOf(solutionFile);
    return name.left(name.indexOf(u'.'));
}

// "<directory as written>/<base>_package.xml" when that file exists, else null.
QString descriptionFile(const QString &solutionFile)
{
    const qsizetype slash = solutionFile.lastIndexOf(u'/');
    const QString directory = slash < 0 ? QStringLiteral(".") : solutionFile.left(slash);
    const QString path = directory + u'/' + baseName(solutionFile) + QStringLiteral("_package.xml");
    return pathExists(path) ? path : QString();
}

// One line on standard error, without the program name: the subject and the
// detail made to be read after it. The reader's message of an XML syntax
// error is a text of its own, so it follows a colon, and the line is added.
void reportLoadError(const SolutionLoadError &failure)
{
    const QString message = failure.syntaxError
                                ? QStringLiteral("%1: %2 (line %3)").arg(failure.subject, failure.detail).arg(failure.line)
                                : failure.message();
    const QByteArray bytes = nativeName(message) + '\n';
    std::fflush(stdout);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

// One line on standard output for every file of the solution under -v: the
// packaged ones, and the ones left out with the reason.
void printPackagedFile(const PackagedFile &file)
{
    const QByteArray leavingOut = "leaving out " + nativeName(file.fileName) + ": ";
    QByteArray line;
    switch (file.outcome) {
    case PackagedFile::Added:
        line = "adding " + nativeName(file.entryName);
        break;
    case PackagedFile::MacroName:
        line = leavingOut + "its name holds a macro (it expands to " + nativeName(file.location) + ")";
        break;
    case PackagedFile::Unreadable:
        line = leavingOut + nativeName(file.location) + ' ' + file.reason;
        break;
    case PackagedFile::Unrelated:
        line = leavingOut + nativeName(file.location) + " shares no leading directory with " + nativeName(file.base);
        break;
    case PackagedFile::DuplicateName:
        line = leavingOut + "the package holds " + nativeName(file.entryName) + " already";
        break;
    case PackagedFile::LongName:
        line = leavingOut + "its name in the package would be " + QByteArray::number(nativeName(file.entryName).size()) +
               " bytes (" + PackageEntry::NameTooLong + ")";
        break;
    }
    line += '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
}

// The objects of the solution road live until the process ends, as the
// loaded tree refers to their property classes throughout.
ProjectSystem &prepareProjectModel(const QByteArray &programPath)
{
    static int argc = 1;
    static char *argv[] = {const_cast<char *>(programPath.constData()), nullptr};
    static auto *application = new QCoreApplication(argc, argv);
    Q_UNUSED(application);
    installWarningChannel();
    // The application takes the user's locale for the C library; system
    // error texts and the like stay in the C locale, as on the package road.
    std::setlocale(LC_ALL, "C");

    locateInstallation(runningProgramFile(nameFromNative(programPath)), 1);
    defineSystemMacros(installationDirectory());
    setupPackagesDirectory(QStringLiteral("$(StudioUserDir)/packages"));

    static auto *settings = new ARMLanternwickEnvironmentSettings;
    EnvironmentSettings::setCurrent(settings);
    settings->defineProperties();

    static auto *projectSystem = new ARMProjectSystem;
    static auto *buildSystem = new ARMBuildSystem;
    projectSystem->setBuildSystem(buildSystem);
    MacroTable::instance().setMacro(QStringLiteral("Platform"), QStringLiteral("arm"));
    return *projectSystem;
}

} // namespace

int runSolutionRoad(const ToolState &state, Diagnostics &diagnostics)
{
    const QString solutionFile = nameFromNative(state.packageName);
    const QString outputName = state.outputName.isNull() ? baseName(solutionFile) + QStringLiteral(".hzr")
                                                         : nameFromNative(state.outputName);
    if (sameFile(outputName, solutionFile))
        diagnostics.fatal("the packaged solution " + nativeName(outputName) + " would replace the solution file " +
                          state.packageName + "; nothing written (name the solution file right after -hzr)");

    ProjectNode *solution = nullptr;
    try {
        ProjectSystem &projectSystem = prepareProjectModel(state.programPath);
        projectSystem.loadSolution(absoluteFilePath(solutionFile));
        solution = projectSystem.solution();
    } catch (const HException &failure) {
        diagnostics.fatal(nativeName(failure.text()));
    } catch (const SolutionLoadError &failure) {
        reportLoadError(failure);
        return 1;
    }

    QByteArray error;
    const PackagingReport report = state.verbose ? PackagingReport(printPackagedFile) : PackagingReport();
    const bool written = writePackagedSolution(*solution, outputName, descriptionFile(solutionFile), error, report);
    std::fflush(stdout);
    if (!written)
        diagnostics.error(error);
    return 0;
}
