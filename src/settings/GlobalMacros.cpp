#include "settings/GlobalMacros.h"

#include "settings/EnvironmentPropertyValue.h"
#include "settings/EnvironmentSettings.h"
#include "macros/MacroDefinitions.h"
#include "macros/MacroTable.h"

namespace {

EnvironmentPropertyValue *globalMacrosSetting()
{
    EnvironmentSettings *settings = EnvironmentSettings::current();
    return settings ? settings->setting(QStringLiteral("Environment/Macros/Global Macros")) : nullptr;
}

MacroMap definedGlobalMacros()
{
    const EnvironmentPropertyValue *setting = globalMacrosSetting();
    return setting ? parseMacroDefinitions(setting->stringList(false)) : MacroMap();
}

} // namespace

MacroMap globalMacros(bool includeSystem)
{
    const MacroMap start = includeSystem ? MacroTable::instance().macros() : MacroMap();
    return overlayMacros(start, definedGlobalMacros());
}

QString globalMacro(const QString &name)
{
    return globalMacros(true).value(name, QString(QLatin1String("")));
}

void setGlobalMacro(const QString &name, const QString &value)
{
    EnvironmentPropertyValue *setting = globalMacrosSetting();
    if (!setting)
        return;
    MacroMap macros = parseMacroDefinitions(setting->stringList(false));
    if (value.isEmpty())
        macros.remove(name);
    else
        macros.insert(name, value);
    setting->setValue(macroDefinitionsFromMap(macros));
}
