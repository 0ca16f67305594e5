#include "driver/HarArgParse.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>

#include "driver/Banner.h"
#include "platform/Diagnostics.h"
#include "driver/ToolState.h"

namespace {

struct CommandOption {
    const char *option;
    PackageCommand command;
};

// option  command
const CommandOption CommandOptions[] = {
    {"-a", PackageCommand::Delete},
    {"-c", PackageCommand::Create},
    {"-d", PackageCommand::Delete},
    {"-r", PackageCommand::Replace},
    {"-t", PackageCommand::List},
    {"-x", PackageCommand::Extract},
};

enum class EntryKind { Other, File, Directory };

struct Entry {
    EntryKind kind = EntryKind::Other;
    HarArgParse::FileIdentity identity{};
};

Entry entryAt(const QByteArray &path)
{
    struct stat info;
    if (::stat(path.constData(), &info) != 0)
        return {};
    const EntryKind kind = S_ISDIR(info.st_mode) ? EntryKind::Directory
                           : S_ISREG(info.st_mode) ? EntryKind::File
                                                   : EntryKind::Other;
    return {kind, {info.st_dev, info.st_ino}};
}

EntryKind kindOf(const QByteArray &path)
{
    return entryAt(path).kind;
}

// The directory part of a path ("." when it has none) and its last component.
QByteArray directoryPart(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return ".";
    QByteArray directory = path.left(slash);
    while (directory.endsWith('/'))
        directory.chop(1);
    return directory.isEmpty() ? QByteArray("/") : directory;
}

QByteArray joinPath(const QByteArray &directory, const QByteArray &name)
{
    return directory.endsWith('/') ? directory + name : directory + '/' + name;
}

// The non-hidden names in a directory, in name order ignoring case.
QList<QByteArray> visibleNames(const QByteArray &directory)
{
    QList<QByteArray> names;
    if (DIR *dir = ::opendir(directory.constData())) {
        while (const dirent *entry = ::readdir(dir)) {
            if (entry->d_name[0] != '.')
                names.append(QByteArray(entry->d_name));
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end(), [](const QByteArray &a, const QByteArray &b) {
        const int folded = qstricmp(a.constData(), b.constData());
        return folded != 0 ? folded < 0 : a < b;
    });
    return names;
}

} // namespace

HarArgParse::HarArgParse(ToolState &state, Diagnostics &diagnostics) : ArgParse(diagnostics), m_state(state)
{
}

void HarArgParse::registerToolOptions()
{
    for (const CommandOption &entry : CommandOptions) {
        const PackageCommand command = entry.command;
        OptionDefinition definition;
        definition.isAction = true;
        definition.action = [this, command](const QByteArray &, const QByteArray *) { m_state.command = command; };
        addOption(entry.option, definition);
    }
    OptionDefinition solution;
    solution.flagTarget = &m_state.solutionMode;
    addOption("-hzr", solution);
    OptionDefinition version;
    version.isAction = true;
    version.action = [](const QByteArray &, const QByteArray *) { printBanner(stdout); };
    addOption("-V", version);
    OptionDefinition verbose;
    verbose.flagTarget = &m_state.verbose;
    addOption("-v", verbose);
    OptionDefinition preserve;
    preserve.isAction = true;
    preserve.action = [this](const QByteArray &, const QByteArray *) {
        m_state.extractPaths = ExtractPaths::Preserved;
    };
    addOption("-P", preserve);
}

void HarArgParse::registerInformationOptions()
{
    OptionDefinition help;
    help.isAction = true;
    help.action = [](const QByteArray &, const QByteArray *) {
        printUsage(stdout);
        std::exit(0);
    };
    addOption("--help", help);
    OptionDefinition version;
    version.isAction = true;
    version.action = [](const QByteArray &, const QByteArray *) {
        printBanner(stdout);
        std::exit(0);
    };
    addOption("--version", version);
}

void HarArgParse::handleArgument(const QByteArray &argument)
{
    if (m_state.solutionMode || m_state.command == PackageCommand::Extract) {
        (m_state.packageName.isNull() ? m_state.packageName : m_state.outputName) = argument;
    } else if (m_state.packageName.isNull()) {
        m_state.packageName = argument;
        m_state.outputName = argument;
    } else {
        addFiles(argument);
    }
}

void HarArgParse::addFiles(const QByteArray &argument)
{
    const Entry entry = entryAt(argument);
    switch (entry.kind) {
    case EntryKind::Directory: {
        QByteArray directory = argument;
        while (directory.size() > 1 && directory.endsWith('/'))
            directory.chop(1);
        walkDirectory(directory, entry.identity);
        return;
    }
    case EntryKind::File:
        m_state.fileList.append(joinPath(directoryPart(argument), argument.mid(argument.lastIndexOf('/') + 1)));
        return;
    case EntryKind::Other:
        break;
    }
    const QByteArray directory = directoryPart(argument);
    if (kindOf(directory) != EntryKind::Directory) {
        diagnostics().error("can't open " + directory);
        std::fflush(stdout);
        std::exit(0);
    }
    const QByteArray pattern = argument.mid(argument.lastIndexOf('/') + 1);
    for (const QByteArray &name : visibleNames(directory)) {
        const QByteArray path = joinPath(directory, name);
        if (::fnmatch(pattern.constData(), name.constData(), 0) == 0 && kindOf(path) == EntryKind::File)
            m_state.fileList.append(path);
    }
}

void HarArgParse::walkDirectory(const QByteArray &directory, FileIdentity identity)
{
    if (std::find(m_walking.begin(), m_walking.end(), identity) != m_walking.end())
        return;
    m_walking.push_back(identity);
    for (const QByteArray &name : visibleNames(directory)) {
        const QByteArray path = joinPath(directory, name);
        const Entry entry = entryAt(path);
        switch (entry.kind) {
        case EntryKind::Directory:
            walkDirectory(path, entry.identity);
            break;
        case EntryKind::File:
            m_state.fileList.append(path);
            break;
        case EntryKind::Other:
            break;
        }
    }
    m_walking.pop_back();
}
