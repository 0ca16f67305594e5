#pragma once

#include <QMap>
#include <QString>

#include "macros/NormalizedPath.h"
#include "settings/SettingsFile.h"

// The settings of one settings file, held in memory with what changed since
// the file was read. sync() brings file and memory together; a file that
// another process rewrote meanwhile keeps that process's entries.
class SettingsStore {
public:
    enum State { Unchanged = 0, Changed = 1, Removed = 2 };
    struct Entry {
        QString text;
        State state = Unchanged;
    };

    // Remembers the file and loads it.
    void setFile(const NormalizedPath &path);

    // Reads the file into a fresh map of unchanged entries. False (and the
    // map as it was) when the file cannot be read or is not XML.
    bool load();

    // The entry's text when present and not removed, otherwise fallback.
    QString lookup(const QString &name, const QString &fallback) const;
    void set(const QString &name, const QString &text);
    void remove(const QString &name);

    // Writes changes when the file is as it was; reloads it when another
    // process changed it and this one has no changes; otherwise merges
    // these changes into the file's new contents and writes the result.
    void sync();

    bool isDirty() const { return m_dirty; }
    const QMap<QString, Entry> &entries() const { return m_entries; }

private:
    // Writes the map through "<file>.new", keeping the old file as
    // "<file>.bak"; false when the file stays as it was.
    bool write();

    NormalizedPath m_file;
    QMap<QString, Entry> m_entries;
    qint64 m_modified = -1;  // nanoseconds since 1970, -1 while there is no file
    bool m_dirty = false;
};
