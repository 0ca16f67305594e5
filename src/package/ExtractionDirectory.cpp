#include "package/ExtractionDirectory.h"

#include <QList>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/FileSystem.h"

namespace {

constexpr int DirectoryFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;

QByteArray absolutePath(const QByteArray &path)
{
    if (path.startsWith('/'))
        return path;
    char *cwd = ::getcwd(nullptr, 0);
    const QByteArray absolute = QByteArray(cwd ? cwd : ".") + '/' + path;
    std::free(cwd);
    return absolute;
}

bool isSymbolicLink(int directoryFd, const QByteArray &name)
{
    struct stat info;
    return ::fstatat(directoryFd, name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(info.st_mode);
}

// Opens the directory name below an open directory, making it when it is
// missing; never through a symbolic link.
FileHandle openOrMakeDirectory(int parentFd, const QByteArray &name)
{
    FileHandle directory(::openat(parentFd, name.constData(), DirectoryFlags | O_NOFOLLOW));
    if (!directory.isOpen() && errno == ENOENT
        && (::mkdirat(parentFd, name.constData(), 0777) == 0 || errno == EEXIST))
        directory = FileHandle(::openat(parentFd, name.constData(), DirectoryFlags | O_NOFOLLOW));
    return directory;
}

// Whether the last component of a name names a directory rather than a file.
bool namesADirectory(const QByteArray &leaf)
{
    return leaf.isEmpty() || leaf == "." || leaf == "..";
}

// Whether a name's ".." components climb above the directory it is joined
// to, read as a path: empty and "." components stay where they are.
bool climbsAbove(const QByteArray &name)
{
    int depth = 0;
    for (const QByteArray &part : name.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        depth += part == ".." ? -1 : 1;
        if (depth < 0)
            return true;
    }
    return false;
}

} // namespace

void EntryFile::keep()
{
    m_cleanup.forget();
}

void EntryFile::discard()
{
    m_file.close();
    if (m_directory.isOpen())
        ::unlinkat(m_directory.fd(), m_name.constData(), 0);
    m_cleanup.forget();
}

ExtractionDirectory::ExtractionDirectory(const QByteArray &path, ExtractPaths paths) : m_path(path), m_paths(paths)
{
}

ExtractionDirectory::Outcome ExtractionDirectory::create(const QByteArray &entryName, EntryFile &file,
                                                          QByteArray &reason)
{
    if (m_paths == ExtractPaths::Preserved)
        return createPreserved(entryName, file);
    return createConfined(entryName, file, reason);
}

bool ExtractionDirectory::openTop()
{
    if (!m_top.isOpen()) {
        makePath(absolutePath(m_path));
        m_top = FileHandle(::open(m_path.constData(), DirectoryFlags));
    }
    return m_top.isOpen();
}

ExtractionDirectory::Outcome ExtractionDirectory::createConfined(const QByteArray &entryName, EntryFile &file,
                                                                 QByteArray &reason)
{
    if (climbsAbove(entryName)) {
        reason = "the name leads outside the output directory (-P allows that)";
        return Outcome::Refused;
    }
    if (!openTop())
        return Outcome::Failed;
    const QList<QByteArray> parts = entryName.split('/');
    if (namesADirectory(parts.last()))
        return Outcome::Failed;
    FileHandle parent;
    const Outcome walked = openParent(entryName, parts, parent, reason);
    if (walked != Outcome::Created)
        return walked;
    // O_EXCL makes a new file, never one reached through a link that came
    // back in the meantime.
    return createIn(std::move(parent), parts.last(), O_EXCL | O_NOFOLLOW, file);
}

ExtractionDirectory::Outcome ExtractionDirectory::openParent(const QByteArray &entryName,
                                                             const QList<QByteArray> &parts, FileHandle &parent,
                                                             QByteArray &reason)
{
    // The directories opened below the top, innermost last; as the name
    // never climbs above the top, a ".." always has one to leave.
    std::vector<FileHandle> opened;
    qsizetype walked = 0; // bytes of the name up to the end of the component opened
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        const QByteArray &part = parts[i];
        walked += part.size() + 1;
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            opened.pop_back();
            continue;
        }
        const int parentFd = opened.empty() ? m_top.fd() : opened.back().fd();
        FileHandle directory = openOrMakeDirectory(parentFd, part);
        if (!directory.isOpen()) {
            if (!isSymbolicLink(parentFd, part))
                return Outcome::Failed;
            reason = m_path + '/' + entryName.left(walked - 1) + " is a symbolic link, not followed (-P follows links)";
            return Outcome::Refused;
        }
        opened.push_back(std::move(directory));
    }
    parent = opened.empty() ? FileHandle(::fcntl(m_top.fd(), F_DUPFD_CLOEXEC, 0)) : std::move(opened.back());
    return parent.isOpen() ? Outcome::Created : Outcome::Failed;
}

ExtractionDirectory::Outcome ExtractionDirectory::createPreserved(const QByteArray &entryName, EntryFile &file)
{
    const QByteArray absolute = absolutePath(m_path + '/' + entryName);
    const qsizetype slash = absolute.lastIndexOf('/');
    const QByteArray directory = slash == 0 ? QByteArray("/") : absolute.left(slash);
    makePath(directory);
    FileHandle parent(::open(directory.constData(), DirectoryFlags));
    if (!parent.isOpen())
        return Outcome::Failed;
    return createIn(std::move(parent), absolute.mid(slash + 1), O_TRUNC, file);
}

ExtractionDirectory::Outcome ExtractionDirectory::createIn(FileHandle directory, const QByteArray &name, int flags,
                                                           EntryFile &file)
{
    ::unlinkat(directory.fd(), name.constData(), 0); // nothing there, or a directory, fails the open below
    const SignalsHeld held;
    FileHandle created(::openat(directory.fd(), name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC | flags, 0600));
    if (!created.isOpen())
        return Outcome::Failed;
    file.m_file = std::move(created);
    file.m_directory = std::move(directory);
    file.m_name = name;
    file.m_cleanup.watch(file.m_directory.fd(), file.m_name);
    return Outcome::Created;
}
