#pragma once

#include <QByteArray>
#include <QList>

#include "PlainPackage.h"
#include "TempDir.h"

#include <dirent.h>
#include <sys/stat.h>

#include <zlib.h>

#include <algorithm>

// File system checks and the zlib expansion shared by the command-line tests,
// beside the plain package encoder they share with the package tests.

inline mode_t modeOf(const QByteArray &path)
{
    struct stat info;
    return ::stat(path.constData(), &info) == 0 ? info.st_mode & 07777 : mode_t(-1);
}

inline qint64 mtimeOf(const QByteArray &path)
{
    struct stat info;
    return ::stat(path.constData(), &info) == 0 ? qint64(info.st_mtime) : -1;
}

// The plain form of a compressed package, expanded with zlib itself; empty when
// the file is not a compressed package.
inline QByteArray expandedPackage(const QByteArray &file)
{
    if (file.size() < 12 || !file.startsWith(QByteArray("\x7A\xF4\x31\xB2\x01\x00\x00\x00", 8)))
        return {};
    const uLong length = uLong(quint8(file[8])) << 24 | uLong(quint8(file[9])) << 16 | uLong(quint8(file[10])) << 8
        | quint8(file[11]);
    QByteArray plain(qsizetype(length), '\0');
    uLongf size = length;
    if (uncompress(reinterpret_cast<Bytef *>(plain.data()), &size, reinterpret_cast<const Bytef *>(file.constData() + 12),
                   uLong(file.size() - 12)) != Z_OK || size != length)
        return {};
    return plain;
}
