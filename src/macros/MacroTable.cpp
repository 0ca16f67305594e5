#include "macros/MacroTable.h"

namespace {

struct SeedEntry {
    const char *name;
    const char *value;
};

// The eight date and time values are placeholders: expansion computes them.
const SeedEntry seedEntries[] = {
    {"Date", ""},
    {"DateYear", ""},
    {"DateMonth", ""},
    {"DateDay", ""},
    {"Time", ""},
    {"TimeHour", ""},
    {"TimeMinute", ""},
    {"TimeSecond", ""},
    {"HostArch", "x86"},
    {"HostOS", "linux"},
    {"HostEXE", ""},
    {"HostDLL", ".so"},
};

// Builds the table during static initialisation, before the entry point.
const MacroTable &builtAtStart = MacroTable::instance();

} // namespace

MacroTable::MacroTable()
{
    for (const SeedEntry &entry : seedEntries)
        m_macros.insert(QString::fromLatin1(entry.name), QString::fromLatin1(entry.value));
}

MacroTable &MacroTable::instance()
{
    static MacroTable table;
    return table;
}

void MacroTable::setMacro(const QString &name, const QString &value)
{
    m_macros.insert(name, value);
}

void MacroTable::setPathMacro(const QString &name, const NormalizedPath &path)
{
    setMacro(name, path.text());
}

QString MacroTable::lookup(const MacroMap &map, const QString &name)
{
    const auto found = map.constFind(name);
    return found == map.constEnd() ? QString() : found.value();
}
