#pragma once

#include <QByteArray>
#include <QList>

#include "TempDir.h"

#include <dirent.h>
#include <sys/stat.h>

#include <zlib.h>

#include <algorithm>

// Package bytes and file system checks shared by the command-line tests.
struct CliEntry {
    QByteArray name;
    QByteArray data;
    quint32 readOnly = 0;
    quint32 time = 1294740900; // Tue Jan 11 10:15:00 2011 UTC
};

inline QByteArray plainPackage(const QList<CliEntry> &entries)
{
    QByteArray bytes;
    const auto word = [&bytes](quint32 value) {
        for (int i = 0; i < 4; ++i)
            bytes.append(char((value >> (8 * i)) & 0xff));
    };
    word(0x4152C3C8);
    word(quint32(entries.size()));
    quint32 offset = 8 + 1040 * quint32(entries.size());
    for (const CliEntry &entry : entries) {
        bytes.append(entry.name + QByteArray(1024 - entry.name.size(), '\0'));
        word(offset);
        word(quint32(entry.data.size()));
        word(entry.readOnly);
        word(entry.time);
        offset += quint32(entry.data.size());
    }
    for (const CliEntry &entry : entries)
        bytes.append(entry.data);
    return bytes;
}

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
