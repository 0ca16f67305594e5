#pragma once

#include <QByteArray>
#include <QList>

// Plain package bytes built by hand in the tests, independently of the
// program's writer: the header (magic, entry count), one 1040-byte record
// per entry with its NUL-padded name and dense offsets, then the data of
// every entry in table order. All integers are 32-bit little-endian.
struct PlainEntry {
    QByteArray name;
    QByteArray data;
    quint32 readOnly = 0;
    quint32 time = 1294740900; // Tue Jan 11 10:15:00 2011 UTC
};

inline void appendWord(QByteArray &bytes, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes.append(char((value >> (8 * i)) & 0xff));
}

inline QByteArray plainPackage(const QList<PlainEntry> &entries)
{
    QByteArray bytes;
    appendWord(bytes, 0x4152C3C8);
    appendWord(bytes, quint32(entries.size()));
    quint32 offset = 8 + 1040 * quint32(entries.size());
    for (const PlainEntry &entry : entries) {
        bytes.append(entry.name + QByteArray(1024 - entry.name.size(), '\0'));
        appendWord(bytes, offset);
        appendWord(bytes, quint32(entry.data.size()));
        appendWord(bytes, entry.readOnly);
        appendWord(bytes, entry.time);
        offset += quint32(entry.data.size());
    }
    for (const PlainEntry &entry : entries)
        bytes.append(entry.data);
    return bytes;
}
