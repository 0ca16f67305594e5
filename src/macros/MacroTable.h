#pragma once

#include <QString>

#include "macros/MacroMap.h"
#include "macros/NormalizedPath.h"

// The process-wide table of system macros. It exists before the program's
// entry point runs, seeded with the date and time names (whose values are
// computed at every expansion) and the host description; start-up adds the
// installation, user and package directories. After start-up entries are
// only added or replaced.
class MacroTable {
public:
    static MacroTable &instance();

    const MacroMap &macros() const { return m_macros; }

    // Stores value under name, replacing an existing entry.
    void setMacro(const QString &name, const QString &value);
    // Stores the normalised text of path under name.
    void setPathMacro(const QString &name, const NormalizedPath &path);

    // The value stored under name in map, or a null string when absent.
    static QString lookup(const MacroMap &map, const QString &name);

private:
    MacroTable();
    MacroTable(const MacroTable &) = delete;
    MacroTable &operator=(const MacroTable &) = delete;

    MacroMap m_macros;
};
