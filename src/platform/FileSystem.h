#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// File names are bytes. Throughout the tool a file name is held as a QString
// whose characters are the name's bytes (Latin-1), so any name — UTF-8 or
// not — survives the trip through text and back. The toolkit's own file
// classes would re-encode such a string as UTF-8 and miss the file, so every
// file system access that takes such a name goes through these functions.

// The bytes the file system uses for a name, and back.
QByteArray nativeName(const QString &name);
QString nameFromNative(const QByteArray &bytes);

// The process's current directory.
QString currentDirectory();
// The absolute form of a path: relative paths are taken from the current
// directory, "." and ".." parts and repeated separators are resolved as text
// (symbolic links are not followed).
QString absoluteFilePath(const QString &path);
// The directory part of absoluteFilePath(path).
QString absoluteDirectory(const QString &path);
// The last component of a path (the whole text when it has no "/").
QString fileNameOf(const QString &path);
// The path with every symbolic link resolved, or a null string when it does
// not exist.
QString canonicalPath(const QString &path);

bool pathExists(const QString &path);
// Whether two names reach the same existing file (through links too).
bool sameFile(const QString &first, const QString &second);

struct FileStatus {
    qint64 size = 0;
    qint64 modified = 0;     // seconds since 1970
    bool ownerWritable = false;
    bool directory = false;
};
// The status of a file (following links), or nothing when it cannot be read.
std::optional<FileStatus> fileStatus(const QString &path);

struct DirectoryEntry {
    QString name;
    bool directory = false; // a directory, or a link to one
    bool file = false;      // a plain file, or a link to one
};
// The entries of a directory except "." and "..", in the order the file
// system gives them; nothing when the directory cannot be read. A link
// that leads nowhere is neither a directory nor a file.
std::optional<QList<DirectoryEntry>> listDirectory(const QString &path);

// Creates a directory and any missing parents; true when it exists afterwards.
bool makeDirectories(const QString &path);
// The same for an absolute path given as the bytes the file system uses:
// each missing parent is made first, following links.
bool makePath(const QByteArray &directory);
