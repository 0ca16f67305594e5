#include "platform/FileSystem.h"

#include <QDir>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

QByteArray nativeName(const QString &name)
{
    return name.toLatin1();
}

QString nameFromNative(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes);
}

QString currentDirectory()
{
    QByteArray buffer(PATH_MAX, '\0');
    while (!getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE)
            return QStringLiteral(".");
        buffer.resize(buffer.size() * 2);
    }
    return nameFromNative(QByteArray(buffer.constData()));
}

QString absoluteFilePath(const QString &path)
{
    if (path.startsWith(u'/'))
        return QDir::cleanPath(path);
    return QDir::cleanPath(currentDirectory() + u'/' + path);
}

QString absoluteDirectory(const QString &path)
{
    const QString absolute = absoluteFilePath(path);
    const qsizetype slash = absolute.lastIndexOf(u'/');
    return slash <= 0 ? QStringLiteral("/") : absolute.left(slash);
}

QString fileNameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString canonicalPath(const QString &path)
{
    std::unique_ptr<char, decltype(&free)> resolved(realpath(nativeName(path).constData(), nullptr), &free);
    return resolved ? nameFromNative(QByteArray(resolved.get())) : QString();
}

bool pathExists(const QString &path)
{
    struct stat status;
    return stat(nativeName(path).constData(), &status) == 0;
}

bool sameFile(const QString &first, const QString &second)
{
    struct stat a, b;
    return stat(nativeName(first).constData(), &a) == 0 && stat(nativeName(second).constData(), &b) == 0
        && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::optional<FileStatus> fileStatus(const QString &path)
{
    struct stat status;
    if (stat(nativeName(path).constData(), &status) != 0)
        return std::nullopt;
    FileStatus result;
    result.size = status.st_size;
    result.modified = status.st_mtime;
    result.ownerWritable = (status.st_mode & S_IWUSR) != 0;
    result.directory = S_ISDIR(status.st_mode);
    return result;
}

std::optional<QList<DirectoryEntry>> listDirectory(const QString &path)
{
    const QByteArray directory = nativeName(path);
    struct CloseDirectory {
        void operator()(DIR *handle) const { closedir(handle); }
    };
    std::unique_ptr<DIR, CloseDirectory> handle(opendir(directory.constData()));
    if (!handle)
        return std::nullopt;
    QList<DirectoryEntry> entries;
    while (const dirent *entry = readdir(handle.get())) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        struct stat info;
        const bool known = ::stat(QByteArray(directory + '/' + name).constData(), &info) == 0;
        entries.append({nameFromNative(name), known && S_ISDIR(info.st_mode), known && S_ISREG(info.st_mode)});
    }
    return entries;
}

bool makeDirectories(const QString &path)
{
    return makePath(nativeName(absoluteFilePath(path)));
}

bool makePath(const QByteArray &directory)
{
    struct stat info;
    if (::stat(directory.constData(), &info) == 0)
        return S_ISDIR(info.st_mode);
    if (directory.isEmpty() || directory == "/")
        return false;
    const QByteArray parent = directory.left(directory.lastIndexOf('/'));
    if (!parent.isEmpty() && parent != directory && ::stat(parent.constData(), &info) != 0)
        makePath(parent);
    // Made by someone else meanwhile counts only when it is a directory.
    return ::mkdir(directory.constData(), 0777) == 0
        || (errno == EEXIST && ::stat(directory.constData(), &info) == 0 && S_ISDIR(info.st_mode));
}
