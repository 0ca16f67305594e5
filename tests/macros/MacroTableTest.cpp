#include <gtest/gtest.h>

#include <QDate>

#include "macros/MacroExpansion.h"
#include "macros/MacroTable.h"

TEST(MacroTable, isSeededWithHostAndDateTimeNames)
{
    const MacroMap &macros = MacroTable::instance().macros();
    // The date and time names are stored empty and computed when expanded.
    const struct { const char *name; const char *value; } seeds[] = {
        {"HostArch", "x86"}, {"HostOS", "linux"}, {"HostEXE", ""}, {"HostDLL", ".so"}, {"Date", ""}, {"DateYear", ""},
        {"DateMonth", ""}, {"DateDay", ""}, {"Time", ""}, {"TimeHour", ""}, {"TimeMinute", ""}, {"TimeSecond", ""},
    };
    for (const auto &seed : seeds) {
        const QString value = MacroTable::lookup(macros, QString::fromLatin1(seed.name));
        EXPECT_FALSE(value.isNull()) << seed.name;
        EXPECT_EQ(value, QString::fromLatin1(seed.value)) << seed.name;
    }
    EXPECT_TRUE(MacroTable::lookup(macros, QStringLiteral("NoSuchMacro")).isNull());
    EXPECT_EQ(expandMacros(QStringLiteral("$(HostOS)-$(DateYear)"), macros),
              QStringLiteral("linux-") + QDate::currentDate().toString(QStringLiteral("yyyy")));
}
