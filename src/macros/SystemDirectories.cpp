#include "macros/SystemDirectories.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileHandle.h"
#include "platform/FileSystem.h"
#include "platform/HException.h"
#include "platform/SignalCleanup.h"
#include "macros/MacroExpansion.h"
#include "macros/MacroTable.h"
#include "macros/NormalizedPath.h"

namespace {

struct Locations {
    QString program;
    QString installation;
    QString rootUser;
};

Locations &locations()
{
    static Locations recorded;
    return recorded;
}

// An environment variable as a name (bytes kept as they are), or a null
// string when it is not set.
QString environmentVariable(const char *name)
{
    const char *value = getenv(name);
    return value ? nameFromNative(QByteArray(value)) : QString();
}

QString canonicalOrAbsolute(const QString &path)
{
    const QString canonical = canonicalPath(path);
    return canonical.isNull() ? absoluteFilePath(path) : canonical;
}

const char userProjectTemplates[] =
    "<!DOCTYPE Project_Templates_File>\n"
    "<projects>\n"
    "  <include filename=\"$(StudioDir)/targets/project_templates.xml\" no_root=\"1\" />\n"
    "</projects>\n";

const char userFrequencies[] =
    "<envelope>\n"
    "  <include filename=\"$(StudioDir)/targets/frequencies.xml\" />\n"
    "</envelope>\n";

// Creates the file with the given contents unless it exists; an existing
// file is never opened for writing. A link to a file that does not exist
// counts as no file: the file is created where it points. A file that
// cannot be created or written completely is removed again and reported.
// Stopping signals wait until the file is whole, so no later run finds it
// cut short.
void createUnlessPresent(const QString &path, const QByteArray &contents)
{
    QByteArray name = nativeName(path);
    const SignalsHeld held;
    int descriptor = open(name.constData(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (descriptor < 0 && errno == EEXIST) {
        struct stat info;
        if (stat(name.constData(), &info) == 0)
            return;
        descriptor = open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (descriptor >= 0) {
            // What to remove should the writing fail: the file, not the link.
            if (char *const created = realpath(name.constData(), nullptr)) {
                name = created;
                free(created);
            }
        }
    }
    if (descriptor < 0)
        throw HException(QStringLiteral("cannot create ") + path);
    const bool complete = writeFully(descriptor, contents.constData(), contents.size());
    const bool closed = close(descriptor) == 0;
    if (!complete || !closed) {
        unlink(name.constData());
        throw HException(QStringLiteral("cannot create ") + path);
    }
}

} // namespace

void locateInstallation(const QString &programName, int levels)
{
    Locations &recorded = locations();
    recorded.program = canonicalOrAbsolute(absoluteDirectory(programName));
    QString installation = recorded.program;
    for (int level = 0; level < levels; ++level)
        installation += QStringLiteral("/..");
    recorded.installation = canonicalOrAbsolute(installation);
}

QString runningProgramFile(const QString &startedAs)
{
    QByteArray target(4096, Qt::Uninitialized);
    const ssize_t length = readlink("/proc/self/exe", target.data(), size_t(target.size()));
    if (length <= 0 || length >= target.size())
        return startedAs;
    target.truncate(length);
    // A program file replaced while it runs reads as "<path> (deleted)".
    if (access(target.constData(), X_OK) != 0)
        return startedAs;
    return nameFromNative(target);
}

QString installationDirectory()
{
    return locations().installation;
}

QString programDirectory()
{
    return locations().program;
}

QString homeDirectory()
{
    return environmentVariable("HOME");
}

QString rootUserDirectoryFor(const QString &rootVariable, const QString &home)
{
    if (!rootVariable.isNull())
        return rootVariable;
    QString directory = home + QStringLiteral("/.") + QStringLiteral("Tallowmere Instruments").toLower();
    directory.replace(u' ', u'_');
    return directory;
}

QString rootUserDirectory()
{
    QString &remembered = locations().rootUser;
    if (remembered.isEmpty())
        remembered = rootUserDirectoryFor(environmentVariable("FERNHOLLOW_ROOT_USER_DIR"), homeDirectory());
    return remembered;
}

void defineSystemMacros(const QString &installationDirectory)
{
    MacroTable &table = MacroTable::instance();
    table.setMacro(QStringLiteral("StudioMajorVersion"), QString::number(2));
    table.setMacro(QStringLiteral("StudioMinorVersion"), QString::number(0));
    table.setMacro(QStringLiteral("StudioRevision"), QString::number(9));
    table.setMacro(QStringLiteral("StudioName"), QStringLiteral("Lanternwick for ARM"));
    const QString home = homeDirectory();
    table.setPathMacro(QStringLiteral("StudioDir"), NormalizedPath(installationDirectory));
    table.setPathMacro(QStringLiteral("StudioUserDir"),
                       NormalizedPath(rootUserDirectory() + u'/' + QStringLiteral("Fernhollow for ARM")));
    table.setPathMacro(QStringLiteral("HomeDir"), NormalizedPath(home));
    table.setPathMacro(QStringLiteral("DesktopDir"), NormalizedPath(home + QStringLiteral("/Desktop")));
    table.setPathMacro(QStringLiteral("DocumentsDir"), NormalizedPath(home + QStringLiteral("/Documents")));
}

void setupPackagesDirectory(const QString &text)
{
    MacroTable &table = MacroTable::instance();
    const MacroMap macros = table.macros();
    const NormalizedPath packages(expandMacros(text, macros));
    const NormalizedPath targets = packages + QStringLiteral("/targets");
    const NormalizedPath samples = packages + QStringLiteral("/samples");
    table.setPathMacro(QStringLiteral("PackagesDir"), packages);
    table.setPathMacro(QStringLiteral("TargetsDir"), targets);
    table.setPathMacro(QStringLiteral("SamplesDir"), samples);
    if (!targets.exists())
        makeDirectories(targets.text());
    createUnlessPresent(targets.text() + QStringLiteral("/project_templates.xml"), userProjectTemplates);
    createUnlessPresent(targets.text() + QStringLiteral("/frequencies.xml"), userFrequencies);
}
